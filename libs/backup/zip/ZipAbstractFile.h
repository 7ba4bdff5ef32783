// The file the storage reads and writes: a real file on Windows, memory in tests and fuzzing.
#pragma once

#include "ZipApi.h"

#include <cstdint>

class ZIP_API CZipAbstractFile {
public:
    enum { begin = 0, current = 1, end = 2 };

    virtual ~CZipAbstractFile() {}
    // Reads up to len bytes; returns what came (0 at the end). Errors throw CZipException.
    virtual uint32_t Read(void* buffer, uint32_t len) = 0;
    virtual void Write(const void* buffer, uint32_t len) = 0;
    virtual uint64_t Seek(int64_t offset, int from) = 0;
    virtual uint64_t GetPosition() = 0;
    virtual uint64_t GetLength() = 0;
    virtual void SetLength(uint64_t length) = 0;
    virtual void Flush() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};
