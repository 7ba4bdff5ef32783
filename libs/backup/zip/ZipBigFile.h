// The archive file on Windows: 64-bit seeks, deny-write sharing, errors thrown with the system's code.
#pragma once

#include "ZipAbstractFile.h"

#include <windows.h>

#include <string>

class ZIP_API CZipBigFile : public CZipAbstractFile {
public:
    CZipBigFile() {}
    ~CZipBigFile() override;
    CZipBigFile(const CZipBigFile&) = delete;  // one owner of the file handle
    CZipBigFile& operator=(const CZipBigFile&) = delete;

    // mode: a Zip::OpenMode value. Throws CZipException (fileError) on failure.
    void Open(const std::wstring& path, int mode);
    uint32_t Read(void* buffer, uint32_t len) override;
    void Write(const void* buffer, uint32_t len) override;
    uint64_t Seek(int64_t offset, int from) override;
    uint64_t GetPosition() override;
    uint64_t GetLength() override;
    void SetLength(uint64_t length) override;
    void Flush() override;
    void Close() override;
    bool IsOpen() const override { return m_hFile != INVALID_HANDLE_VALUE; }
    const std::wstring& GetFilePath() const { return m_szPath; }
    // Last write time, set on the open handle (so no second open of the file by name).
    bool SetLastWriteTime(const FILETIME& modified);

private:
    [[noreturn]] void ThrowLastError(const char* what) const;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::wstring m_szPath;
    uint64_t m_uPosition = 0;  // the handle's file position
};
