#include "ZipBigFile.h"

#include "ZipException.h"
#include "ZipPlatform.h"

CZipBigFile::~CZipBigFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
}

void CZipBigFile::ThrowLastError(const char* what) const
{
    throw CZipException(CZipException::fileError, m_szPath, what, GetLastError());
}

void CZipBigFile::Open(const std::wstring& path, int mode)
{
    if (path.empty()) throw CZipException(CZipException::fileError, path, "empty file path", ERROR_INVALID_PARAMETER);
    m_szPath = path;
    DWORD access = GENERIC_READ, disposition = OPEN_EXISTING;
    if (mode == Zip::openReadWrite)
        access |= GENERIC_WRITE;
    else if (mode == Zip::openCreate || mode == Zip::openCreateNew) {
        access |= GENERIC_WRITE;
        disposition = mode == Zip::openCreate ? CREATE_ALWAYS : CREATE_NEW;
    }
    m_hFile = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) ThrowLastError("cannot open file");
    m_uPosition = 0;
}

bool CZipBigFile::SetLastWriteTime(const FILETIME& modified)
{
    return SetFileTime(m_hFile, nullptr, nullptr, &modified) != FALSE;
}

uint32_t CZipBigFile::Read(void* buffer, uint32_t len)
{
    DWORD got = 0;
    if (!ReadFile(m_hFile, buffer, len, &got, nullptr)) ThrowLastError("read failed");
    m_uPosition += got;
    return got;
}

void CZipBigFile::Write(const void* buffer, uint32_t len)
{
    DWORD done = 0;
    if (!WriteFile(m_hFile, buffer, len, &done, nullptr) || done != len) ThrowLastError("write failed");
    m_uPosition += done;
}

uint64_t CZipBigFile::Seek(int64_t offset, int from)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    DWORD method = from == begin ? FILE_BEGIN : from == current ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(m_hFile, distance, &result, method)) ThrowLastError("seek failed");
    m_uPosition = static_cast<uint64_t>(result.QuadPart);
    return m_uPosition;
}

uint64_t CZipBigFile::GetPosition()
{
    // Kept by this object, which alone moves the handle's position: asking the system is a call into it, and
    // the archive asks a few times for every entry.
    return m_uPosition;
}

uint64_t CZipBigFile::GetLength()
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size)) ThrowLastError("cannot read the file size");
    return static_cast<uint64_t>(size.QuadPart);
}

void CZipBigFile::SetLength(uint64_t length)
{
    uint64_t pos = GetPosition();
    Seek(static_cast<int64_t>(length), begin);
    if (!SetEndOfFile(m_hFile)) ThrowLastError("cannot set the file size");
    Seek(static_cast<int64_t>(pos < length ? pos : length), begin);
}

void CZipBigFile::Flush()
{
    if (!FlushFileBuffers(m_hFile)) ThrowLastError("flush failed");
}

void CZipBigFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        HANDLE h = m_hFile;
        m_hFile = INVALID_HANDLE_VALUE;
        if (!CloseHandle(h)) ThrowLastError("close failed");
    }
}
