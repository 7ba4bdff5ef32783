// The lookup's request: the system text for each kind of system, trimming, and the query built from the typed
// extension.
#include <gtest/gtest.h>

#include <Common.h>

#include "FileExtRequest.h"

using namespace fileext;

TEST(FileExtRequest, SystemTextForEachKind)
{
    const struct {
        int kind;
        bool is64;
        const wchar_t* text;
    } cases[] = {{SB_OS_WIN7, true, L"win764"},
                 {SB_OS_WIN7, false, L"win732"},
                 {SB_OS_VISTA, true, L"vista64"},
                 {SB_OS_VISTA, false, L"vista32"},
                 {SB_OS_XP, true, L"xp64"},
                 {SB_OS_XP, false, L"xp32"},
                 {0, false, L"xp32"}};
    for (const auto& c : cases) EXPECT_EQ(c.text, SystemText(c.kind, c.is64)) << c.kind << " " << c.is64;
}

TEST(FileExtRequest, TheTypedTextIsTrimmedAndTravelsEncoded)
{
    EXPECT_EQ(L"mp3", Trim(L"  mp3 \t"));
    EXPECT_EQ(L"a b", Trim(L"\r\na b\n"));
    EXPECT_EQ(L"", Trim(L" \t "));
    const std::wstring base = L"http://127.0.0.1:8080/";
    const std::wstring query =
        L"http://127.0.0.1:8080/fileexapi.php?os=win764&verify=qk*Rwmt51907&action=fileext&file=";
    const struct {
        const wchar_t* typed;
        const wchar_t* file;
    } cases[] = {{L"mp3", L"mp3"},
                 {L".doc", L".doc"},
                 {L"a&b#c", L"a%26b%23c"},
                 {L"x y+z%", L"x%20y%2Bz%25"},
                 {L"\u00e9", L"%C3%A9"}};
    for (const auto& c : cases) EXPECT_EQ(query + c.file, LookupUrl(base, L"win764", c.typed)) << c.typed;
}
