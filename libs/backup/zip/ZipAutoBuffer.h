// Owned byte buffer used for names, extra fields, comments and I/O chunks.
#pragma once

#include "ZipApi.h"

#include <cstddef>
#include <cstdint>

class ZIP_API CZipAutoBuffer {
public:
    CZipAutoBuffer() {}
    explicit CZipAutoBuffer(uint32_t size, bool zero = false) { Allocate(size, zero); }
    CZipAutoBuffer(const CZipAutoBuffer& other);
    CZipAutoBuffer& operator=(const CZipAutoBuffer& other);
    virtual ~CZipAutoBuffer() { Release(); }

    // Keeps the memory when the size is unchanged (zeroing it if asked).
    char* Allocate(uint32_t size, bool zero = false);
    void Release();
    void Assign(const void* data, uint32_t size);

    char* GetBuffer() const { return m_pBuffer; }
    uint32_t GetSize() const { return m_iSize; }
    bool IsAllocated() const { return m_pBuffer != nullptr; }
    operator char*() const { return m_pBuffer; }

private:
    char* m_pBuffer = nullptr;
    uint32_t m_iSize = 0;
};
