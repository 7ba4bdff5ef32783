// Names read from archives before they reach the file system; names stored from paths.
#include "zip/ZipEntryName.h"

#include <gtest/gtest.h>

using namespace Zip;

TEST(ZipEntryName, SafeLeafNames)
{
    struct Case {
        std::wstring stored;
        const wchar_t* leaf;  // nullptr: refused
    };
    const Case cases[] = {
        {L"Data\\a.txt", L"a.txt"},
        {L"Data/sub/", L"sub"},
        {L"./x/./y.bin", L"y.bin"},
        {L"caf\x00e9 \x0444.txt", L"caf\x00e9 \x0444.txt"},
        {L"con.d/ok", nullptr},  // a device name anywhere in the path
        {L"..", nullptr},
        {L"../evil.txt", nullptr},
        {L"x/../../y", nullptr},
        {L"a\\..\\b", nullptr},
        {L"/etc/passwd", nullptr},
        {L"\\Windows\\win.ini", nullptr},
        {L"\\\\server\\share\\x", nullptr},
        {L"C:\\x.txt", nullptr},
        {L"C:x.txt", nullptr},
        {L"a:b", nullptr},  // alternate data stream
        {L"NUL", nullptr},
        {L"nul.txt", nullptr},
        {L"Com1", nullptr},
        {L"LPT9.log", nullptr},
        {L"CON .txt", nullptr},
        {L"aux.", nullptr},
        {L"q?x", nullptr},
        {L"a*b", nullptr},
        {L"a<b>", nullptr},
        {L"pipe|x", nullptr},
        {L"quote\"", nullptr},
        {L"trailing.", nullptr},
        {L"trailing ", nullptr},
        {L"ctrl\x0001", nullptr},
        {std::wstring(L"nul\0byte", 8), nullptr},
        {L"", nullptr},
        {L"/", nullptr},
        {L"./", nullptr},
        {L"COM\x00B9", nullptr},  // superscript digits name the same devices
        {L"lpt\x00B2.txt", nullptr},
        {L"Com\x00B3 .log", nullptr},
        {L"dir/LPT\x00B9", nullptr},
        {L"COM\x00B9\x00B9", L"COM\x00B9\x00B9"},
        {L"COM\x2074", L"COM\x2074"},  // superscript four is no device
        {L"COM10", L"COM10"},
        {L"console", L"console"},
        {L"...hidden", L"...hidden"},
    };
    for (const auto& c : cases) {
        std::wstring leaf, reason;
        bool ok = SafeLeafName(c.stored, leaf, reason);
        EXPECT_EQ(ok, c.leaf != nullptr) << "name #" << (&c - cases);
        if (c.leaf)
            EXPECT_EQ(leaf, c.leaf);
        else
            EXPECT_FALSE(reason.empty());
    }
}

TEST(ZipEntryName, SafeRelativePathsKeepTheFolders)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Data/a.txt", L"Data\\a.txt"}, {L"./Data//s/./c", L"Data\\s\\c"}, {L"Data\\sub\\", L"Data\\sub"},
        {L"Data/x/../../y", nullptr},    {L"Data/nul/y", nullptr},          {L"Data/a:b/c", nullptr},
        {L"/Data/a", nullptr},
    };
    for (const auto& c : cases) {
        std::wstring relative, reason;
        EXPECT_EQ(SafeRelativePath(c.first, relative, reason), c.second != nullptr) << c.first;
        EXPECT_EQ(relative, c.second ? c.second : L"") << c.first;
    }
}

TEST(ZipEntryName, StoredPathFromFullPath)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\Data\\a.txt", L"Data\\a.txt"},
        {L"C:\\\\Data\\sub", L"Data\\sub"},
        {L"\\\\srv\\share\\x", L"srv\\share\\x"},
        {L"\\\\?\\C:\\long\\p", L"long\\p"},
        {L"\\\\?\\UNC\\srv\\s\\f", L"srv\\s\\f"},
        {L"rel\\f", L"rel\\f"},
        {L"C:\\", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(StoredPathFromFull(c.first), c.second) << "path #" << (&c - cases);
    EXPECT_EQ(LastComponent(L"Data\\s\\"), L"s");
    EXPECT_EQ(LastComponent(L"Data/s/c"), L"c");
    EXPECT_EQ(LastComponent(L"a"), L"a");
}
