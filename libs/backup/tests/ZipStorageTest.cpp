// The archive file behind the layer: the write buffer and archives split into volumes.
#include "TestSupport.h"
#include "ZipTestUtil.h"

#include <gtest/gtest.h>

using namespace ColdrithTest;

TEST(ZipStorage, PiecewiseWritesGiveTheSameFile)
{
    CScratchDir dir(L"storage");
    std::string data = RandomBytes(200000, 9);
    auto write = [&](const std::wstring& path, size_t piece) {
        CZipStorage storage;
        storage.Open(path, CZipStorage::openCreate, 0);
        for (size_t at = 0; at < data.size(); at += piece)
            storage.Write(data.data() + at, static_cast<uint32_t>(std::min(piece, data.size() - at)), false);
        storage.Close(false);
        return ReadBytes(path);
    };
    std::string once = write(dir / L"once", data.size());
    EXPECT_EQ(once, data);
    EXPECT_EQ(write(dir / L"bytes", 1), once);
    EXPECT_EQ(write(dir / L"odd", 65537), once);
}

TEST(ZipStorage, SizeSplitVolumesRoundTrip)
{
    CScratchDir dir(L"split");
    std::wstring path = dir / L"A.zip";
    std::vector<TestEntry> entries = {{L"one.txt", TextBytes(300), 0},
                                      {L"two.bin", RandomBytes(700, 2), 6},
                                      {L"dir/", "", 0, true},
                                      {L"three", TextBytes(5000), 9}};
    {
        CZipArchive zip;
        zip.Open(path, CZipArchive::zipCreateSpan, 100);
        for (const auto& e : entries) {
            CZipFileHeader h;
            h.SetFileName(e.name);
            if (e.folder) h.m_uExternalAttr = 0x10;
            ASSERT_TRUE(zip.BeginEntryWrite(h, e.level));
            zip.WriteEntryData(e.data.data(), static_cast<uint32_t>(e.data.size()));
            zip.EndEntryWrite();
        }
        zip.Close();
    }
    EXPECT_TRUE(Exists(dir / L"A.000"));
    EXPECT_TRUE(Exists(dir / L"A.001"));
    EXPECT_TRUE(Exists(path)) << "the last volume is renamed to .zip";
    EXPECT_EQ(ReadBytes(dir / L"A.000").substr(0, 4), std::string("PK\x07\x08", 4));

    // No record straddles two volumes: every central header starts and ends on one volume.
    for (int v = 0; Exists(dir / (L"A.00" + std::to_wstring(v))) && v < 10; ++v)
        EXPECT_LE(ReadBytes(dir / (L"A.00" + std::to_wstring(v))).size(), 100u);

    CZipArchive zip;
    zip.Open(path, CZipArchive::zipOpenReadOnly, 1);
    ASSERT_EQ(zip.GetCount(), entries.size());
    for (uint16_t i = 0; i < entries.size(); ++i) {
        CZipFileHeader h;
        zip.GetEntryInfo(h, i);
        EXPECT_EQ(h.GetFileName(), entries[i].name == L"dir/" ? L"dir\\" : entries[i].name);
        if (!entries[i].folder) {
            EXPECT_EQ(ReadEntry(zip, i, 333), entries[i].data) << i;
        }
    }
    CZipFileHeader h;
    h.SetFileName(L"late");
    EXPECT_FALSE(zip.BeginEntryWrite(h, 0)) << "a split archive that was opened takes no new entries";
}

TEST(ZipStorage, SplitArchiveOnOneVolumeBecomesAPlainArchive)
{
    CScratchDir dir(L"onevol");
    std::wstring path = dir / L"B.zip";
    {
        CZipArchive zip;
        zip.Open(path, CZipArchive::zipCreateSpan, 1 << 20);
        for (int i = 0; i < 3; ++i) {
            CZipFileHeader h;
            h.SetFileName(L"f" + std::to_wstring(i));
            ASSERT_TRUE(zip.BeginEntryWrite(h, i == 1 ? 0 : 6));
            std::string data = TextBytes(1000 * (i + 1));
            zip.WriteEntryData(data.data(), static_cast<uint32_t>(data.size()));
            zip.EndEntryWrite();
        }
        zip.Close();
    }
    EXPECT_FALSE(Exists(dir / L"B.000"));
    std::string archive = ReadBytes(path);
    EXPECT_EQ(archive.substr(0, 4), std::string("PK\x03\x04", 4)) << "no span marker";
    EXPECT_EQ(archive.find(std::string("PK\x07\x08", 4)), std::string::npos) << "no data descriptors";
    EXPECT_EQ(Get16(archive, 6) & 8, 0) << "flag bit 3 cleared";
    std::vector<std::string> back = ReadAll(archive);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[2], TextBytes(3000));
}

TEST(ZipStorage, TooManyVolumes)
{
    CScratchDir dir(L"toomany");
    CZipArchive zip;
    zip.Open(dir / L"C.zip", CZipArchive::zipCreateSpan, 64);
    CZipFileHeader h;
    h.SetFileName(L"big");
    ASSERT_TRUE(zip.BeginEntryWrite(h, 0));
    std::string data = RandomBytes(70000, 4);
    try {
        zip.WriteEntryData(data.data(), static_cast<uint32_t>(data.size()));
        zip.EndEntryWrite();
        zip.Close();
        ADD_FAILURE() << "more than 999 volumes were written";
    } catch (const CZipException& e) {
        EXPECT_EQ(e.m_iCause, CZipException::tooManyVolumes);
        zip.Close(true);
    }
}

namespace {
struct SpanLog {
    std::vector<int> codes;
    bool answer = true;
};

bool SpanCallback(int disk, int code, void* data)
{
    SpanLog* log = static_cast<SpanLog*>(data);
    log->codes.push_back(disk * 1000 + code);
    return log->answer;
}
}  // namespace

TEST(ZipStorage, DiskSpanningNeedsACallbackAndARemovableDrive)
{
    CScratchDir dir(L"span");
    struct Case {
        bool callback;
        int cause;
    };
    for (const Case& c : {Case{false, CZipException::noCallback}, Case{true, CZipException::nonRemovable}}) {
        SpanLog log;
        CZipArchive zip;
        if (c.callback) zip.SetSpanCallback(&SpanCallback, &log);
        try {
            zip.Open(dir / L"D.zip", CZipArchive::zipCreateSpan, 0);
            ADD_FAILURE() << "spanning started";
        } catch (const CZipException& e) {
            EXPECT_EQ(e.m_iCause, c.cause);
        }
    }
}
