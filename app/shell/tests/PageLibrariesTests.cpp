// Whether the libraries a page calls can be loaded, looked up before the page is built.
#include <gtest/gtest.h>

#include "PageLibraries.h"

TEST(PageLibraries, NamesTheFirstLibraryThatIsNeitherLoadedNorFound)
{
    // Common.dll is loaded by this program, Moravin.dll lies beside it unloaded; Absent.dll is nowhere.
    struct Case {
        const wchar_t* libraries;
        const wchar_t* missing;
    } cases[] = {
        {L"", L""},
        {L"Common.dll", L""},
        {L"Moravin.dll", L""},
        {L"Common.dll|Moravin.dll", L""},
        {L"Absent.dll", L"Absent.dll"},
        {L"Common.dll|Absent.dll|Other.dll", L"Absent.dll"},
        {L"Other.dll|Absent.dll", L"Other.dll"},
        {L"Common.dll||Absent.dll", L"Absent.dll"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.missing), Shell::FirstMissingLibrary(c.libraries)) << c.libraries;
    EXPECT_EQ(std::wstring(), Shell::FirstMissingLibrary(nullptr));
}
