// Building and reading archives in tests.
#pragma once

#include "zip/ZipArchive.h"
#include "zip/ZipMemFile.h"

#include <string>
#include <vector>

namespace ColdrithTest {
struct TestEntry {
    std::wstring name;
    std::string data;
    int level = -1;
    bool folder = false;
};

// Writes the entries through the layer into a file and returns the archive's bytes.
std::string BuildArchive(const std::wstring& path, const std::vector<TestEntry>& entries, size_t chunk = 4096);
// Reads entry i of an archive held in memory.
std::string ReadEntry(CZipArchive& zip, uint16_t index, size_t chunk = 65536);
// Opens bytes in memory and reads every entry; rethrows the layer's exception.
std::vector<std::string> ReadAll(const std::string& archive);

// Offsets inside an archive written by BuildArchive with one entry: local header at 0, central header found
// by signature.
size_t CentralHeaderOffset(const std::string& archive, size_t nth = 0);
size_t EndRecordOffset(const std::string& archive);
void Put16(std::string& s, size_t at, uint16_t v);
void Put32(std::string& s, size_t at, uint32_t v);
uint16_t Get16(const std::string& s, size_t at);
uint32_t Get32(const std::string& s, size_t at);
}  // namespace ColdrithTest
