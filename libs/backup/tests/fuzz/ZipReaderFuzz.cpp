// Fuzz target: an archive in memory goes through the end-record search, the directory parse, the local
// header checks, name checks and the inflate loop with CRC and size checks.
#include "ZipArchive.h"
#include "ZipEntryName.h"
#include "ZipMemFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CZipMemFile file(data, size);
    CZipArchive zip;
    try {
        zip.Open(file);
    } catch (const CZipException&) {
        return 0;
    }
    if (size & 1) zip.SetPassword("pw");
    std::vector<char> buffer(16384);
    uint64_t budget = 64u << 20;  // output cap per input, so a bomb costs time only once
    for (uint16_t i = 0; i < zip.GetCount() && i < 256; ++i) {
        CZipFileHeader header;
        zip.GetEntryInfo(header, i);
        std::wstring leaf, reason;
        Zip::SafeLeafName(header.GetFileName(), leaf, reason);
        header.GetSystemAttr();
        try {
            if (!zip.BeginEntryRead(i)) continue;
            uint64_t produced = 0;
            for (;;) {
                uint32_t n = zip.ReadEntryData(buffer.data(), static_cast<uint32_t>(buffer.size()));
                produced += n;
                if (n < buffer.size() || produced >= budget) break;
            }
            budget -= produced < budget ? produced : budget;
            if (produced > header.m_uUncomprSize) __builtin_trap();  // never more than the declared size
            zip.EndEntryRead();
        } catch (const CZipException&) {
            zip.AbortEntry();
        }
        if (budget == 0) break;
    }
    zip.Close();
    return 0;
}
