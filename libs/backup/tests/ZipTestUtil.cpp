#include "ZipTestUtil.h"

#include "TestSupport.h"

#include <algorithm>
#include <stdexcept>

namespace ColdrithTest {
std::string BuildArchive(const std::wstring& path, const std::vector<TestEntry>& entries, size_t chunk)
{
    {
        CZipArchive zip;
        zip.Open(path, CZipArchive::zipCreate);
        for (const auto& e : entries) {
            CZipFileHeader h;
            h.SetFileName(e.name);
            if (e.folder) h.m_uExternalAttr = 0x10;
            if (!zip.BeginEntryWrite(h, e.level)) throw std::runtime_error("BeginEntryWrite refused");
            for (size_t at = 0; at < e.data.size(); at += chunk)
                zip.WriteEntryData(e.data.data() + at, static_cast<uint32_t>(std::min(chunk, e.data.size() - at)));
            zip.EndEntryWrite();
        }
        zip.Close();
    }
    return ReadBytes(path);
}

std::string ReadEntry(CZipArchive& zip, uint16_t index, size_t chunk)
{
    std::string out;
    if (!zip.BeginEntryRead(index)) throw std::runtime_error("BeginEntryRead refused");
    std::vector<char> buf(chunk);
    for (;;) {
        uint32_t n = zip.ReadEntryData(buf.data(), static_cast<uint32_t>(chunk));
        out.append(buf.data(), n);
        if (n < chunk) break;
    }
    if (zip.EndEntryRead() != 1) throw std::runtime_error("EndEntryRead did not finish the entry");
    return out;
}

std::vector<std::string> ReadAll(const std::string& archive)
{
    CZipMemFile file(archive.data(), archive.size());
    CZipArchive zip;
    zip.Open(file);
    std::vector<std::string> out;
    for (uint16_t i = 0; i < zip.GetCount(); ++i) {
        if (zip.IsEntryDirectory(i))
            out.push_back(std::string());
        else
            out.push_back(ReadEntry(zip, i));
    }
    zip.Close();
    return out;
}

size_t CentralHeaderOffset(const std::string& archive, size_t nth)
{
    size_t at = 0;
    for (size_t k = 0;; ++k) {
        at = archive.find(std::string("PK\x01\x02", 4), at);
        if (at == std::string::npos || k == nth) return at;
        ++at;
    }
}

size_t EndRecordOffset(const std::string& archive) { return archive.rfind(std::string("PK\x05\x06", 4)); }

void Put16(std::string& s, size_t at, uint16_t v)
{
    s[at] = static_cast<char>(v);
    s[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& s, size_t at, uint32_t v)
{
    Put16(s, at, static_cast<uint16_t>(v));
    Put16(s, at + 2, static_cast<uint16_t>(v >> 16));
}

uint16_t Get16(const std::string& s, size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
}

uint32_t Get32(const std::string& s, size_t at)
{
    return Get16(s, at) | (static_cast<uint32_t>(Get16(s, at + 2)) << 16);
}
}  // namespace ColdrithTest
