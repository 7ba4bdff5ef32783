// ANSI/wide conversion (including from several threads) and the string array.
#include "TestSupport.h"

#include <cstring>

using namespace common_test;

namespace {

TEST(TextConversion, RoundTripsThroughTheAnsiCodePage)
{
    struct Case {
        const wchar_t* wide;
    } cases[] = {{L"hello"}, {L""}, {L"C:\\Program Files\\Quorvel\\download/"}, {L"Gr\u00FC\u00DFe \u00E9t\u00E9"}};
    for (const Case& c : cases) {
        char* narrow = SBWCharToChar(c.wide);
        ASSERT_NE(nullptr, narrow);
        EXPECT_EQ(wcslen(c.wide), strlen(narrow));  // single-byte code page here
        EXPECT_STREQ(c.wide, SBCharToWChar(narrow));
        delete[] narrow;
    }
    char* empty = SBWCharToChar(nullptr);
    ASSERT_NE(nullptr, empty);
    EXPECT_STREQ("", empty);
    SBFreeCharBuffer(empty);
    SBFreeCharBuffer(nullptr);
    EXPECT_STREQ(L"", SBCharToWChar(nullptr));
}

struct ThreadWork {
    const char* narrow;
    const wchar_t* wide;
    HANDLE start;
    int failures;
};

DWORD WINAPI ConvertMany(void* param)
{
    ThreadWork* work = static_cast<ThreadWork*>(param);
    WaitForSingleObject(work->start, INFINITE);
    for (int i = 0; i < 20000; ++i) {
        const wchar_t* wide = SBCharToWChar(work->narrow);
        char* narrow = SBWCharToChar(work->wide);
        // Compare after both calls: another thread's conversion must not have touched this thread's text.
        if (wcscmp(wide, work->wide) != 0 || strcmp(narrow, work->narrow) != 0) ++work->failures;
        delete[] narrow;
    }
    return 0;
}

TEST(TextConversion, EachThreadHasItsOwnWideBuffer)
{
    HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ThreadWork works[] = {
        {"first thread text", L"first thread text", start, 0},
        {"2nd", L"2nd", start, 0},
        {"a somewhat longer third text so the buffers differ in size",
         L"a somewhat longer third text so the buffers differ in size", start, 0},
    };
    HANDLE threads[3];
    for (int i = 0; i < 3; ++i) threads[i] = CreateThread(nullptr, 0, ConvertMany, &works[i], 0, nullptr);
    const wchar_t* mine = SBCharToWChar("main");
    SetEvent(start);
    WaitForMultipleObjects(3, threads, TRUE, INFINITE);
    for (int i = 0; i < 3; ++i) {
        CloseHandle(threads[i]);
        EXPECT_EQ(0, works[i].failures) << i;
    }
    CloseHandle(start);
    EXPECT_STREQ(L"main", mine);  // untouched by the other threads
}

TEST(StringArray, AddGetClear)
{
    CSBStringArrayW* list = new CSBStringArrayW();
    list->AddString(L"first");
    list->AddString(nullptr);
    list->AddString(std::wstring(1500, L'x').c_str());
    ASSERT_EQ(3, list->GetCount());

    wchar_t buffer[1024];
    struct Case {
        int index;
        bool ok;
        std::wstring text;
    } cases[] = {
        {0, true, L"first"}, {1, true, L""}, {2, true, std::wstring(1023, L'x')}, {3, false, L""}, {-1, false, L""},
    };
    for (const Case& c : cases) {
        buffer[0] = L'#';
        EXPECT_EQ(c.ok, list->GetString(c.index, buffer, 1024)) << c.index;
        EXPECT_EQ(c.text, buffer) << c.index;
    }
    EXPECT_EQ(std::wstring(1500, L'x'), list->GetString(2));
    EXPECT_EQ(L"", list->GetString(7));
    EXPECT_FALSE(list->GetString(0, nullptr, 10));
    list->Clear();
    EXPECT_EQ(0, list->GetCount());
    delete list;  // through the virtual destructor, in the test program's module
}

}  // namespace
