// The zip layer on its own: records, deflate round trips, damaged and crafted archives, limits, encryption.
#include "TestSupport.h"
#include "ZipTestUtil.h"

#include <gtest/gtest.h>

#include <zlib.h>

using namespace ColdrithTest;

namespace {
int CauseOf(const std::string& archive)
{
    try {
        ReadAll(archive);
    } catch (const CZipException& e) {
        return e.m_iCause;
    } catch (const std::exception&) {
        return -1;  // refused without a layer exception (for example an entry that could not be opened)
    }
    return 0;
}
}  // namespace

TEST(ZipArchive, RoundTripsSizesAndLevels)
{
    CScratchDir dir(L"roundtrip");
    const size_t sizes[] = {0, 1, 16383, 16384, 16385, 65534, 65535, 65536, 65537};
    const int levels[] = {0, 1, -1, 9};
    for (int level : levels) {
        std::vector<TestEntry> entries;
        for (size_t size : sizes)
            entries.push_back({L"r" + std::to_wstring(size), RandomBytes(size, static_cast<uint32_t>(size)), level});
        entries.push_back({L"random1M", RandomBytes(1 << 20, 7), level});
        entries.push_back({L"text3M", TextBytes(3 << 20), level});
        entries.push_back({L"sub/", std::string(), level, true});
        SCOPED_TRACE(level);
        std::string archive = BuildArchive(dir / L"a.zip", entries, 3000);
        std::vector<std::string> back = ReadAll(archive);
        ASSERT_EQ(back.size(), entries.size());
        for (size_t i = 0; i < entries.size(); ++i) EXPECT_TRUE(back[i] == entries[i].data) << "entry " << i;

        CZipMemFile file(archive.data(), archive.size());
        CZipArchive zip;
        zip.Open(file);
        CZipFileHeader h;
        ASSERT_TRUE(zip.GetEntryInfo(h, 0));
        EXPECT_EQ(h.m_uMethod, level == 0 ? 0 : 8);
        EXPECT_EQ(h.m_uFlag, level == 1 ? 6 : level == 9 ? 2 : 0);
        EXPECT_EQ(h.m_uVersionNeeded, 20);
        ASSERT_TRUE(zip.GetEntryInfo(h, static_cast<uint16_t>(entries.size() - 1)));
        EXPECT_EQ(h.m_uMethod, 0) << "folders are stored";
        EXPECT_TRUE(h.IsDirectory());
    }
}

TEST(ZipArchive, DeflateMatchesZlibRawStream)
{
    // Same zlib, same parameters: the entry's bytes equal a raw deflate stream made directly.
    CScratchDir dir(L"exact");
    std::string data = TextBytes(200000) + RandomBytes(50000, 3);
    std::string archive = BuildArchive(dir / L"a.zip", {{L"x", data, 9}}, 777);
    z_stream s = {};
    deflateInit2(&s, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string expected(deflateBound(&s, static_cast<uLong>(data.size())), '\0');
    s.next_in = reinterpret_cast<Bytef*>(&data[0]);
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = reinterpret_cast<Bytef*>(&expected[0]);
    s.avail_out = static_cast<uInt>(expected.size());
    ASSERT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
    expected.resize(s.total_out);
    deflateEnd(&s);
    EXPECT_EQ(Get32(archive, 18), expected.size());
    EXPECT_TRUE(archive.compare(30 + 1, expected.size(), expected) == 0);
}

TEST(ZipArchive, RecordsAndEndRecordSearch)
{
    CScratchDir dir(L"records");
    std::string plain = BuildArchive(dir / L"a.zip", {{L"Data\\sub\\a.txt", "hello", -1}});
    // The name goes to the archive with forward slashes and comes back with backslashes.
    EXPECT_NE(plain.find("Data/sub/a.txt"), std::string::npos);
    {
        CZipMemFile file(plain.data(), plain.size());
        CZipArchive zip;
        zip.Open(file);
        CZipFileHeader h;
        zip.GetEntryInfo(h, 0);
        EXPECT_EQ(h.GetFileName(), L"Data\\sub\\a.txt");
        EXPECT_EQ(h.m_uExternalAttr, 0x20u) << "no source file: archive attribute";
        EXPECT_EQ(h.m_uVersionMadeBy, 20);
    }

    auto withComment = [&](const std::string& comment) {
        std::string a = plain;
        Put16(a, EndRecordOffset(a) + 20, static_cast<uint16_t>(comment.size()));
        return a + comment;
    };
    EXPECT_EQ(CauseOf(withComment(std::string(65535, 'c'))), 0) << "largest comment";
    EXPECT_EQ(CauseOf(withComment("xx PK\x05\x06 inside the comment")), 0);
    EXPECT_EQ(CauseOf(std::string(1000, 'S') + plain), 0) << "data in front (self-extractor)";

    EXPECT_EQ(CauseOf(plain.substr(0, 21)), CZipException::cdirNotFound);
    EXPECT_EQ(CauseOf("PK\x05\x06"), CZipException::cdirNotFound);
    EXPECT_EQ(CauseOf(std::string(70000, 'x')), CZipException::cdirNotFound);
    EXPECT_EQ(CauseOf(std::string()), CZipException::cdirNotFound);
}

TEST(ZipArchive, DamagedAndCraftedArchivesAreRefused)
{
    CScratchDir dir(L"hostile");
    std::string text = TextBytes(100000);
    std::string deflated = BuildArchive(dir / L"d.zip", {{L"a.txt", text, 6}});
    std::string stored = BuildArchive(dir / L"s.zip", {{L"a.txt", text, 0}});
    std::string two = BuildArchive(dir / L"t.zip", {{L"a", "first entry", 0}, {L"b", "second entry", 0}});
    size_t cd = CentralHeaderOffset(deflated), cdStored = CentralHeaderOffset(stored);
    size_t dataAt = 30 + 5;

    struct Case {
        const char* what;
        std::string archive;
        std::vector<int> causes;  // any of these
    };
    std::vector<Case> cases;
    auto mutate = [](std::string a, const std::function<void(std::string&)>& f) {
        f(a);
        return a;
    };

    cases.push_back({"flipped deflate byte",
                     mutate(deflated, [&](std::string& a) { a[dataAt + 500] ^= 0x55; }),
                     {CZipException::badCrc, CZipException::dataError, CZipException::badZipFile}});
    cases.push_back({"wrong CRC",
                     mutate(deflated,
                            [&](std::string& a) {
                                Put32(a, 14, 1);
                                Put32(a, cd + 16, 1);
                            }),
                     {CZipException::badCrc}});
    cases.push_back({"truncated file",
                     deflated.substr(0, deflated.size() / 2),
                     {CZipException::cdirNotFound, CZipException::badZipFile}});
    cases.push_back({"truncated compressed data (sizes agree)",
                     mutate(deflated,
                            [&](std::string& a) {
                                uint32_t c = Get32(a, 18) / 2;
                                Put32(a, 18, c);
                                Put32(a, cd + 20, c);
                            }),
                     {CZipException::badZipFile, CZipException::dataError}});
    cases.push_back({"larger declared size",
                     mutate(deflated,
                            [&](std::string& a) {
                                Put32(a, 22, Get32(a, 22) + 10);
                                Put32(a, cd + 24, Get32(a, cd + 24) + 10);
                            }),
                     {CZipException::badZipFile}});
    cases.push_back({"smaller declared size",
                     mutate(deflated,
                            [&](std::string& a) {
                                Put32(a, 22, Get32(a, 22) - 10);
                                Put32(a, cd + 24, Get32(a, cd + 24) - 10);
                            }),
                     {CZipException::badZipFile}});
    cases.push_back({"stored with differing sizes",
                     mutate(stored,
                            [&](std::string& a) {
                                Put32(a, 22, 5);
                                Put32(a, cdStored + 24, 5);
                            }),
                     {CZipException::badZipFile}});
    cases.push_back({"local method differs",
                     mutate(deflated, [&](std::string& a) { Put16(a, 8, 0); }),
                     {CZipException::badZipFile}});
    cases.push_back({"local name length differs",
                     mutate(deflated, [&](std::string& a) { Put16(a, 26, 4); }),
                     {CZipException::badZipFile}});
    cases.push_back({"local CRC differs without descriptor",
                     mutate(deflated, [&](std::string& a) { Put32(a, 14, 7); }),
                     {CZipException::badZipFile}});
    for (uint16_t method : {12, 14, 99})
        cases.push_back({"unsupported method",
                         mutate(deflated,
                                [&](std::string& a) {
                                    Put16(a, 8, method);
                                    Put16(a, cd + 10, method);
                                }),
                         {CZipException::badZipFile}});
    cases.push_back({"huge compressed size",
                     mutate(deflated,
                            [&](std::string& a) {
                                Put32(a, 18, 0xFFFFFF00u);
                                Put32(a, cd + 20, 0xFFFFFF00u);
                            }),
                     {CZipException::badZipFile}});
    cases.push_back({"huge uncompressed size",
                     mutate(deflated,
                            [&](std::string& a) {
                                Put32(a, 22, 0xFFFFFF00u);
                                Put32(a, cd + 24, 0xFFFFFF00u);
                            }),
                     {CZipException::badZipFile}});
    cases.push_back({"local offset past the end",
                     mutate(deflated, [&](std::string& a) { Put32(a, cd + 42, 0x7FFFFFF0); }),
                     {CZipException::badZipFile}});
    cases.push_back({"overlapping entries",
                     mutate(two, [&](std::string& a) { Put32(a, CentralHeaderOffset(a, 1) + 42, 0); }),
                     {CZipException::badZipFile}});
    cases.push_back({"directory offset wraps",
                     mutate(deflated, [&](std::string& a) { Put32(a, EndRecordOffset(a) + 16, 0xFFFFFFF0u); }),
                     {CZipException::badZipFile}});
    cases.push_back({"entry count larger than the directory",
                     mutate(deflated,
                            [&](std::string& a) {
                                Put16(a, EndRecordOffset(a) + 8, 5);
                                Put16(a, EndRecordOffset(a) + 10, 5);
                            }),
                     {CZipException::badZipFile}});
    cases.push_back({"Zip64 locator",
                     mutate(deflated,
                            [&](std::string& a) {
                                size_t end = EndRecordOffset(a);
                                std::string locator("PK\x06\x07", 4);
                                locator += std::string(16, '\0');
                                a.insert(end, locator);
                            }),
                     {CZipException::badZipFile}});
    cases.push_back({"name runs past the directory",
                     mutate(deflated, [&](std::string& a) { Put16(a, cd + 28, 60000); }),
                     {CZipException::badZipFile}});

    for (const auto& c : cases) {
        int cause = CauseOf(c.archive);
        bool expected = false;
        for (int want : c.causes) expected = expected || cause == want;
        EXPECT_TRUE(expected) << c.what << ": cause " << cause;
    }
}

TEST(ZipArchive, NamesOutsideTheOemCodePageUseUtf8)
{
    struct Case {
        const wchar_t* name;
        bool utf8;
    };
    const Case cases[] = {{L"plain.txt", false},
                          {L"caf\x00e9.txt", false},
                          {L"\x0444\x0430\x0439\x043b", true},
                          {L"\x6587\x4ef6.txt", true}};
    CScratchDir dir(L"names");
    for (const auto& c : cases) {
        CZipFileHeader h;
        h.SetFileName(c.name);
        EXPECT_EQ(h.IsUtf8Name(), c.utf8) << h.m_pszFileName.GetSize();
        std::string archive = BuildArchive(dir / L"n.zip", {{c.name, "x", -1}});
        CZipMemFile file(archive.data(), archive.size());
        CZipArchive zip;
        zip.Open(file);
        CZipFileHeader back;
        zip.GetEntryInfo(back, 0);
        EXPECT_EQ(back.GetFileName(), c.name);
        EXPECT_EQ((back.m_uFlag & 0x800) != 0, c.utf8);

        // Any name beyond ASCII also carries the Info-ZIP Unicode Path field (0x7075, version 1, CRC-32 of the
        // stored name, the UTF-8 name), the same in the local and the central record; a plain name carries none.
        bool ascii = std::wstring(c.name).find_first_not_of(L"abcdefghijklmnopqrstuvwxyz.") == std::wstring::npos;
        size_t central = CentralHeaderOffset(archive);
        uint16_t nameLen = Get16(archive, 26), extraLen = Get16(archive, 28);
        ASSERT_EQ(Get16(archive, central + 30), extraLen) << "central and local extra fields differ";
        std::string stored = archive.substr(30, nameLen), extra = archive.substr(30 + nameLen, extraLen);
        EXPECT_EQ(archive.substr(central + 46 + nameLen, extraLen), extra);
        if (ascii) {
            EXPECT_EQ(extraLen, 0);
            continue;
        }
        int n = WideCharToMultiByte(CP_UTF8, 0, c.name, -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<size_t>(n - 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, c.name, -1, &utf8[0], n, nullptr, nullptr);
        ASSERT_EQ(extra.size(), 9 + utf8.size());
        EXPECT_EQ(Get16(extra, 0), 0x7075);
        EXPECT_EQ(Get16(extra, 2), 5 + utf8.size());
        EXPECT_EQ(extra[4], 1);
        EXPECT_EQ(Get32(extra, 5), crc32(0, reinterpret_cast<const Bytef*>(stored.data()), nameLen));
        EXPECT_EQ(extra.substr(9), utf8);
    }

    // Names beyond the Basic Multilingual Plane go as four-byte UTF-8, in the name and in the field.
    CZipFileHeader emoji;
    emoji.SetFileName(L"smile \xD83D\xDE00.txt");
    EXPECT_EQ(std::string(emoji.m_pszFileName.GetBuffer(), emoji.m_pszFileName.GetSize()),
              "smile \xF0\x9F\x98\x80.txt");
    std::string utf8;
    ASSERT_TRUE(emoji.GetUnicodePathExtra(utf8));
    EXPECT_EQ(utf8, "smile \xF0\x9F\x98\x80.txt");
    // Renaming replaces the field rather than adding a second one, and keeps other tools' fields.
    std::string other(
        "\x0a\x00\x04\x00"
        "ABCD",
        8);
    emoji.m_pExtraField.Assign(
        (other + std::string(emoji.m_pExtraField.GetBuffer(), emoji.m_pExtraField.GetSize())).data(),
        static_cast<uint32_t>(other.size() + emoji.m_pExtraField.GetSize()));
    emoji.SetFileName(L"caf\x00e9");
    ASSERT_TRUE(emoji.GetUnicodePathExtra(utf8));
    EXPECT_EQ(utf8, "caf\xC3\xA9");
    EXPECT_EQ(emoji.m_pExtraField.GetSize(), other.size() + 9 + utf8.size());
    EXPECT_EQ(std::string(emoji.m_pExtraField.GetBuffer(), other.size()), other);
    emoji.SetFileName(L"plain");
    EXPECT_EQ(emoji.m_pExtraField.GetSize(), other.size());
}

TEST(ZipArchive, ExternalAttributesOfOtherToolsAreMasked)
{
    struct Case {
        uint16_t madeBy;
        uint32_t attrs;
        const char* name;
        uint32_t expected;
    };
    const Case cases[] = {
        {20, 0x23, "f", 0x23},                                // DOS: read-only and archive kept
        {20, 0x37, "f", 0x37},                                // DOS directory bit: a folder
        {(3 << 8) | 30, (0100644u << 16) | 0x01, "f", 0x01},  // Unix: mode ignored, DOS byte kept
        {(3 << 8) | 20, 0100644u << 16, "f", 0},              // Unix mode only
        {(3 << 8) | 30, (040755u << 16) | 0x10, "d/", 0x10},
        {(19 << 8) | 20, 0xFFFFFFFFu, "f", 0},  // an unknown host: nothing applied
        {(19 << 8) | 20, 0, "d/", 0x10},
    };
    for (const auto& c : cases) {
        CZipFileHeader h;
        h.m_uVersionMadeBy = c.madeBy;
        h.m_uExternalAttr = c.attrs;
        h.m_pszFileName.Assign(c.name, static_cast<uint32_t>(strlen(c.name)));
        EXPECT_EQ(h.GetSystemAttr(), c.expected) << c.name << " " << std::hex << c.attrs;
    }
}

TEST(ZipArchive, SixtyFiveThousandFiveHundredThirtySixthEntryIsRefused)
{
    CScratchDir dir(L"limit");
    std::wstring path = dir / L"many.zip";
    {
        CZipArchive zip;
        zip.Open(path, CZipArchive::zipCreate);
        for (int i = 0; i < 65535; ++i) {
            CZipFileHeader h;
            h.SetFileName(std::to_wstring(i));
            ASSERT_TRUE(zip.BeginEntryWrite(h, 0)) << i;
            zip.EndEntryWrite();
        }
        CZipFileHeader h;
        h.SetFileName(L"one too many");
        EXPECT_FALSE(zip.BeginEntryWrite(h, 0));
        EXPECT_FALSE(zip.CanAddEntry(0, 4));
        zip.Close();
    }
    CZipArchive zip;
    zip.Open(path, CZipArchive::zipOpenReadOnly);
    EXPECT_EQ(zip.GetCount(), 65535);
    EXPECT_EQ(ReadEntry(zip, 65534), "");
    CZipFileHeader last;
    zip.GetEntryInfo(last, 65534);
    EXPECT_EQ(last.GetFileName(), L"65534");
}

TEST(ZipArchive, SizeLimitsOfTheFormat)
{
    CScratchDir dir(L"limits");
    CZipArchive zip;
    zip.Open(dir / L"l.zip", CZipArchive::zipCreate);
    EXPECT_TRUE(zip.CanAddEntry(100u << 20, 10));
    EXPECT_FALSE(zip.CanAddEntry(0xFFFFFFFFull, 10)) << "a 4 GiB entry needs Zip64";
    EXPECT_FALSE(zip.CanAddEntry(0xFFFF0000ull, 10)) << "worst-case deflate output passes 4 GiB";
    CZipFileHeader h;
    std::string longName(70000, 'n');
    h.m_pszFileName.Assign(longName.data(), static_cast<uint32_t>(longName.size()));
    try {
        zip.BeginEntryWrite(h, 0);
        ADD_FAILURE() << "a name over 65535 bytes was accepted";
    } catch (const CZipException& e) {
        EXPECT_EQ(e.m_iCause, CZipException::tooLongData);
    }
    zip.Close();
    EXPECT_EQ(ReadAll(ReadBytes(dir / L"l.zip")).size(), 0u) << "the archive stays valid";
}

// The room an addition checks against the format's limits includes the directory still to be written: the size
// planned for it must be the size written, after entries read from the file, added and dropped.
TEST(ZipArchive, PlannedDirectoryIsTheOneWritten)
{
    CScratchDir dir(L"dirsize");
    std::wstring path = dir / L"d.zip";
    BuildArchive(path, {{L"kept", "first", -1}});
    CZipArchive zip;
    zip.Open(path, CZipArchive::zipOpen);
    const std::wstring names[] = {L"two", L"dropped", L"caf\x00e9"};
    for (const std::wstring& name : names) {
        CZipFileHeader h;
        h.SetFileName(name);
        ASSERT_TRUE(zip.BeginEntryWrite(h, -1));
        zip.WriteEntryData("data", 4);
        if (name == L"dropped")
            zip.AbortEntry();
        else
            zip.EndEntryWrite();
    }
    const uint64_t entriesEnd = zip.m_storage.GetPosition();
    const uint64_t planned = zip.m_centralDir.GetWrittenSize();
    zip.Close();
    const std::string archive = ReadBytes(path);
    EXPECT_EQ(archive.size(), entriesEnd + planned);
    EXPECT_EQ(ReadAll(archive), (std::vector<std::string>{"first", "data", "data"}));
}

TEST(ZipArchive, EncryptedEntries)
{
    CScratchDir dir(L"crypt");
    std::string data = TextBytes(50000);
    {
        CZipArchive zip;
        zip.Open(dir / L"c.zip", CZipArchive::zipCreate);
        zip.SetPassword("secret");
        CZipFileHeader h;
        h.SetFileName(L"c.txt");
        h.m_uModTime = 0x1234;
        ASSERT_TRUE(zip.BeginEntryWrite(h, 6));
        zip.WriteEntryData(data.data(), static_cast<uint32_t>(data.size()));
        zip.EndEntryWrite();
        zip.Close();
    }
    std::string archive = ReadBytes(dir / L"c.zip");
    EXPECT_EQ(archive.find("backup"), std::string::npos) << "nothing readable in the clear";
    struct Case {
        const char* password;
        int outcome;  // 1 read, 0 refused, else the cause
    };
    const Case cases[] = {{"secret", 1}, {nullptr, 0}, {"wrong", CZipException::badPassword}};
    for (const auto& c : cases) {
        CZipMemFile file(archive.data(), archive.size());
        CZipArchive zip;
        zip.Open(file);
        zip.SetPassword(c.password);
        try {
            if (c.outcome == 0)
                EXPECT_FALSE(zip.BeginEntryRead(0));
            else
                EXPECT_EQ(ReadEntry(zip, 0), data);
        } catch (const CZipException& e) {
            EXPECT_EQ(e.m_iCause, c.outcome);
        }
    }
}

TEST(ZipArchive, AddingToAnOpenedArchiveKeepsItsEntries)
{
    CScratchDir dir(L"append");
    std::wstring path = dir / L"a.zip";
    BuildArchive(path, {{L"one", "first", -1}});
    {
        CZipArchive zip;
        zip.Open(path, CZipArchive::zipOpen);
        CZipFileHeader h;
        h.SetFileName(L"two");
        ASSERT_TRUE(zip.BeginEntryWrite(h, -1));
        zip.WriteEntryData("second", 6);
        zip.EndEntryWrite();
        zip.Close();
    }
    std::vector<std::string> back = ReadAll(ReadBytes(path));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], "first");
    EXPECT_EQ(back[1], "second");
}

TEST(ZipArchive, FindFastIndex)
{
    CScratchDir dir(L"find");
    std::string archive = BuildArchive(dir / L"f.zip", {{L"m", "", 0}, {L"a", "", 0}, {L"z\\y", "", 0}});
    CZipMemFile file(archive.data(), archive.size());
    CZipArchive zip;
    zip.Open(file);
    zip.EnableFindFast(true);
    EXPECT_EQ(zip.FindEntry(L"a"), 1);
    EXPECT_EQ(zip.FindEntry(L"z\\y"), 2);
    EXPECT_EQ(zip.FindEntry(L"q"), -1);
}

TEST(ZipArchive, NamesFromOtherToolsDecodeAsTheyMeantThem)
{
    auto header = [](uint16_t madeBy, const std::string& name, const std::string& extra = std::string()) {
        CZipFileHeader h;
        h.m_uVersionMadeBy = madeBy;
        h.m_pszFileName.Assign(name.data(), static_cast<uint32_t>(name.size()));
        h.m_pExtraField.Assign(extra.data(), static_cast<uint32_t>(extra.size()));
        return h;
    };
    auto unicodePath = [](const std::string& stored, const std::string& utf8, uint32_t crcDelta = 0) {
        std::string field("\x75\x70", 2);
        field += std::string(2, '\0');
        Put16(field, 2, static_cast<uint16_t>(5 + utf8.size()));
        field += '\x01';
        field += std::string(4, '\0');
        Put32(field, 5,
              static_cast<uint32_t>(
                  crc32(0, reinterpret_cast<const Bytef*>(stored.data()), static_cast<uInt>(stored.size()))) +
                  crcDelta);
        return field + utf8;
    };
    const std::string utf8Cafe = "caf\xc3\xa9.txt";
    // Unix tools write UTF-8 without the flag: read as UTF-8. The same bytes from a DOS host are OEM.
    EXPECT_EQ(header(3 << 8 | 30, utf8Cafe).GetFileName(), L"caf\x00e9.txt");
    EXPECT_EQ(header(20, utf8Cafe).GetFileName(), L"caf\x251c\x2310.txt");
    EXPECT_EQ(header(3 << 8 | 30, "caf\x82.txt").GetFileName(), L"caf\x00e9.txt") << "not UTF-8: OEM";
    // An Info-ZIP Unicode Path field counts only when it was made for the stored name.
    EXPECT_EQ(header(20, "cafe.txt", unicodePath("cafe.txt", utf8Cafe)).GetFileName(), L"caf\x00e9.txt");
    EXPECT_EQ(header(20, "cafe.txt", unicodePath("cafe.txt", utf8Cafe, 1)).GetFileName(), L"cafe.txt");
}
