// A growable in-memory file.
#pragma once

#include "ZipApi.h"

#include "ZipAbstractFile.h"

#include <cstddef>
#include <vector>

class ZIP_API CZipMemFile : public CZipAbstractFile {
public:
    CZipMemFile() {}
    CZipMemFile(const void* data, size_t size);

    uint32_t Read(void* buffer, uint32_t len) override;
    void Write(const void* buffer, uint32_t len) override;
    uint64_t Seek(int64_t offset, int from) override;
    uint64_t GetPosition() override { return m_uPos; }
    uint64_t GetLength() override { return m_data.size(); }
    void SetLength(uint64_t length) override;
    void Flush() override {}
    void Close() override { m_bOpen = false; }
    bool IsOpen() const override { return m_bOpen; }

    const std::vector<unsigned char>& Data() const { return m_data; }

private:
    std::vector<unsigned char> m_data;
    uint64_t m_uPos = 0;
    bool m_bOpen = true;
};
