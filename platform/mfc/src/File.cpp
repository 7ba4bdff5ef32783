// Exceptions, CFile, CStdioFile and CFileFind.
#include "ThreadState.h"

#include "QMfcFile.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CFileFind, CObject)

BOOL CException::GetErrorMessage(LPWSTR buffer, UINT max, PUINT helpContext) const
{
    if (helpContext) *helpContext = 0;
    if (buffer && max) lstrcpynW(buffer, L"An unknown error occurred.", (int)max);
    return FALSE;
}

int CException::ReportError(UINT type, UINT) const
{
    wchar_t text[512] = {};
    GetErrorMessage(text, 512);
    return AfxMessageBox(text, type);
}

int CFileException::OsErrorToException(LONG osError)
{
    switch (osError) {
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED: return accessDenied;
    case ERROR_INVALID_HANDLE: return fileNotFound;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG osError, LPCWSTR fileName)
{
    if (osError == 0) return;
    throw new CFileException(OsErrorToException(osError), osError, fileName);
}

BOOL CFileException::GetErrorMessage(LPWSTR buffer, UINT max, PUINT helpContext) const
{
    if (helpContext) *helpContext = 0;
    if (!buffer || !max) return FALSE;
    wchar_t sys[256] = {};
    if (m_lOsError > 0)
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, (DWORD)m_lOsError, 0, sys, 256,
                       NULL);
    CString text;
    text.Format(L"%s%s%s", (LPCWSTR)m_strFileName, m_strFileName.IsEmpty() ? L"" : L": ",
                sys[0] ? sys : L"A file error occurred.");
    lstrcpynW(buffer, text, (int)max);
    return TRUE;
}

CFile::CFile(LPCWSTR fileName, UINT openFlags) : m_hFile(INVALID_HANDLE_VALUE)
{
    CFileException e;
    if (!Open(fileName, openFlags, &e)) throw new CFileException(e.m_cause, e.m_lOsError, fileName);
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) Close();
}

BOOL CFile::Open(LPCWSTR fileName, UINT flags, CFileException* error)
{
    if (m_hFile != INVALID_HANDLE_VALUE) Close();
    DWORD access = 0;
    switch (flags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD share = 0;
    switch (flags & 0x70) {
    case shareCompat:
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    default: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    }
    DWORD create = OPEN_EXISTING;
    if (flags & modeCreate) create = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    DWORD attrs = FILE_ATTRIBUTE_NORMAL;
    if (flags & osNoBuffer) attrs |= FILE_FLAG_NO_BUFFERING;
    if (flags & osWriteThrough) attrs |= FILE_FLAG_WRITE_THROUGH;
    if (flags & osRandomAccess) attrs |= FILE_FLAG_RANDOM_ACCESS;
    if (flags & osSequentialScan) attrs |= FILE_FLAG_SEQUENTIAL_SCAN;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, (flags & modeNoInherit) ? FALSE : TRUE};
    HANDLE h = CreateFileW(fileName, access, share, &sa, create, attrs, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) {
            LONG err = (LONG)GetLastError();
            error->m_lOsError = err;
            error->m_cause = CFileException::OsErrorToException(err);
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    m_hFile = h;
    m_strFileName = fileName;
    return TRUE;
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        BOOL ok = CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        if (!ok) CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    }
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD read = 0;
    if (count == 0) return 0;
    if (!ReadFile(m_hFile, buffer, count, &read, NULL))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    DWORD written = 0;
    if (count == 0) return;
    if (!WriteFile(m_hFile, buffer, count, &written, NULL))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    if (written != count) throw new CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER dist, pos;
    dist.QuadPart = offset;
    if (!SetFilePointerEx(m_hFile, dist, &pos, from)) CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero, pos;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size)) CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (ULONGLONG)size.QuadPart;
}

void CFile::SetLength(ULONGLONG length)
{
    ULONGLONG pos = GetPosition();
    Seek((LONGLONG)length, begin);
    if (!SetEndOfFile(m_hFile)) CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    if (pos < length) Seek((LONGLONG)pos, begin);
}

void CFile::Flush()
{
    if (m_hFile != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

CString CFile::GetFileName() const
{
    int slash = m_strFileName.ReverseFind(L'\\');
    int fwd = m_strFileName.ReverseFind(L'/');
    if (fwd > slash) slash = fwd;
    return m_strFileName.Mid(slash + 1);
}

void CFile::Remove(LPCWSTR fileName)
{
    if (!DeleteFileW(fileName)) CFileException::ThrowOsError((LONG)GetLastError(), fileName);
}

void CFile::Rename(LPCWSTR oldName, LPCWSTR newName)
{
    if (!MoveFileW(oldName, newName)) CFileException::ThrowOsError((LONG)GetLastError(), oldName);
}

BOOL CStdioFile::Open(LPCWSTR fileName, UINT flags, CFileException* error)
{
    m_buffer.clear();
    m_bufferPos = 0;
    m_eof = false;
    m_encoding = 0;
    m_binary = (flags & typeBinary) != 0;
    return CFile::Open(fileName, flags & ~(UINT)(typeText | typeBinary), error);
}

bool CStdioFile::FillBuffer()
{
    if (m_eof) return false;
    char chunk[4096];
    UINT n = ReadRaw(chunk, sizeof(chunk));
    if (n == 0) {
        m_eof = true;
        return false;
    }
    if (m_bufferPos > 0) {
        m_buffer.erase(0, m_bufferPos);
        m_bufferPos = 0;
    }
    m_buffer.append(chunk, n);
    return true;
}

namespace {
CString DecodeBytes(const std::string& bytes)
{
    if (bytes.empty()) return CString();
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(), NULL, 0);
    UINT cp = n > 0 ? CP_UTF8 : CP_ACP;
    if (n <= 0) n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)bytes.size(), NULL, 0);
    CString out;
    MultiByteToWideChar(cp, 0, bytes.data(), (int)bytes.size(), out.GetBufferSetLength(n), n);
    out.ReleaseBuffer(n);
    return out;
}
}  // namespace

BOOL CStdioFile::ReadString(CString& line)
{
    line.Empty();
    if (m_encoding == 0) {
        while (m_buffer.size() - m_bufferPos < 3 && FillBuffer()) {}
        const std::string rest = m_buffer.substr(m_bufferPos);
        if (rest.size() >= 2 && (BYTE)rest[0] == 0xFF && (BYTE)rest[1] == 0xFE) {
            m_encoding = 2;
            m_bufferPos += 2;
        } else {
            m_encoding = 1;
            if (rest.size() >= 3 && (BYTE)rest[0] == 0xEF && (BYTE)rest[1] == 0xBB && (BYTE)rest[2] == 0xBF)
                m_bufferPos += 3;
        }
    }
    const size_t unit = m_encoding == 2 ? 2 : 1;
    for (;;) {
        // Look for the end of the line in whole characters.
        size_t found = std::string::npos;
        for (size_t i = m_bufferPos; i + unit <= m_buffer.size(); i += unit) {
            if (m_buffer[i] == '\n' && (unit == 1 || m_buffer[i + 1] == 0)) {
                found = i;
                break;
            }
        }
        if (found != std::string::npos || !FillBuffer()) {
            size_t end = found != std::string::npos ? found : m_buffer.size();
            if (found == std::string::npos && end == m_bufferPos) return FALSE;  // nothing left
            std::string raw = m_buffer.substr(m_bufferPos, end - m_bufferPos);
            m_bufferPos = found != std::string::npos ? found + unit : m_buffer.size();
            if (unit == 2) {
                raw.resize(raw.size() & ~(size_t)1);
                line = CString((const wchar_t*)raw.data(), (int)(raw.size() / 2));
            } else {
                line = DecodeBytes(raw);
            }
            line.TrimRight(L"\r");
            return TRUE;
        }
    }
}

void CStdioFile::WriteString(LPCWSTR text)
{
    CString t(text);
    if (!m_binary) {
        t.Replace(L"\r\n", L"\n");
        t.Replace(L"\n", L"\r\n");
    }
    CStringA bytes(t);
    Write(bytes.GetString(), (UINT)bytes.GetLength());
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    UINT fromBuffer = 0;
    size_t avail = m_buffer.size() - m_bufferPos;
    if (avail) {
        fromBuffer = (UINT)(avail < count ? avail : count);
        memcpy(buffer, m_buffer.data() + m_bufferPos, fromBuffer);
        m_bufferPos += fromBuffer;
    }
    if (fromBuffer == count) return count;
    return fromBuffer + ReadRaw((char*)buffer + fromBuffer, count - fromBuffer);
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from)
{
    if (from == current) offset -= (LONGLONG)(m_buffer.size() - m_bufferPos);
    m_buffer.clear();
    m_bufferPos = 0;
    m_eof = false;
    return CFile::Seek(offset, from);
}

ULONGLONG CStdioFile::GetPosition() const { return CFile::GetPosition() - (m_buffer.size() - m_bufferPos); }

CFileFind::CFileFind() : m_hFind(INVALID_HANDLE_VALUE), m_current(), m_next(), m_hasNext(FALSE) {}

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_hasNext = FALSE;
}

BOOL CFileFind::FindFile(LPCWSTR pattern, DWORD)
{
    Close();
    CString p(pattern ? pattern : L"*.*");
    m_hFind = FindFirstFileW(p, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE) return FALSE;
    m_hasNext = TRUE;
    int slash = p.ReverseFind(L'\\');
    int fwd = p.ReverseFind(L'/');
    if (fwd > slash) slash = fwd;
    m_root = slash >= 0 ? p.Left(slash) : CString();
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hasNext) return FALSE;
    m_current = m_next;
    m_hasNext = ::FindNextFileW(m_hFind, &m_next);
    return m_hasNext;
}

CString CFileFind::GetFileName() const { return CString(m_current.cFileName); }

CString CFileFind::GetFilePath() const
{
    if (m_root.IsEmpty()) return GetFileName();
    return m_root + L"\\" + GetFileName();
}

CString CFileFind::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

ULONGLONG CFileFind::GetLength() const { return ((ULONGLONG)m_current.nFileSizeHigh << 32) | m_current.nFileSizeLow; }

BOOL CFileFind::GetLastWriteTime(FILETIME* ft) const
{
    *ft = m_current.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::IsDots() const
{
    const wchar_t* n = m_current.cFileName;
    return IsDirectory() && n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
}
