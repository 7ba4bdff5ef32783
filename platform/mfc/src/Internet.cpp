// CInternetSession and the file it opens.
#include "ThreadState.h"

#include "QMfcInternet.h"

IMPLEMENT_DYNAMIC(CInternetException, CException)
IMPLEMENT_DYNAMIC(CInternetFile, CStdioFile)
IMPLEMENT_DYNAMIC(CHttpFile, CInternetFile)
IMPLEMENT_DYNAMIC(CInternetSession, CObject)

BOOL CInternetException::GetErrorMessage(LPWSTR buffer, UINT max, PUINT helpContext) const
{
    if (helpContext) *helpContext = 0;
    if (!buffer || !max) return FALSE;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                             GetModuleHandleW(L"wininet.dll"), m_dwError, 0, buffer, max, NULL);
    if (!n) _snwprintf(buffer, max, L"Internet error %lu", (unsigned long)m_dwError);
    buffer[max - 1] = 0;
    return TRUE;
}

CInternetFile::CInternetFile(HINTERNET handle, LPCWSTR url) : m_hInternet(handle)
{
    m_strFileName = url;
    m_encoding = 0;
}

CInternetFile::~CInternetFile() { Close(); }

void CInternetFile::Close()
{
    if (m_hInternet) InternetCloseHandle(m_hInternet);
    m_hInternet = NULL;
}

UINT CInternetFile::ReadRaw(void* buffer, UINT count)
{
    DWORD read = 0;
    if (!m_hInternet || !InternetReadFile(m_hInternet, buffer, count, &read)) {
        if (m_hInternet) throw new CInternetException(GetLastError());
        return 0;
    }
    m_read += read;
    return read;
}

UINT CInternetFile::Read(void* buffer, UINT count) { return CStdioFile::Read(buffer, count); }

void CInternetFile::Write(const void*, UINT) { throw new CInternetException(ERROR_NOT_SUPPORTED); }

ULONGLONG CInternetFile::Seek(LONGLONG, UINT) { throw new CInternetException(ERROR_NOT_SUPPORTED); }

ULONGLONG CInternetFile::GetLength() const
{
    wchar_t buf[32] = {};
    DWORD size = sizeof(buf);
    if (m_hInternet && HttpQueryInfoW(m_hInternet, HTTP_QUERY_CONTENT_LENGTH, buf, &size, NULL)) return _wtoi64(buf);
    return 0;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& status) const
{
    status = 0;
    DWORD size = sizeof(status);
    return m_hInternet &&
           HttpQueryInfoW(m_hInternet, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, NULL);
}

CInternetSession::CInternetSession(LPCWSTR agent, DWORD_PTR, DWORD accessType, LPCWSTR proxyName, LPCWSTR proxyBypass,
                                   DWORD flags)
{
    CString name(agent);
    if (name.IsEmpty()) name = AfxGetApp() && AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : L"QMfc";
    m_hSession = InternetOpenW(name, accessType, proxyName, proxyBypass, flags);
}

CInternetSession::~CInternetSession() { Close(); }

void CInternetSession::Close()
{
    if (m_hSession) InternetCloseHandle(m_hSession);
    m_hSession = NULL;
}

CStdioFile* CInternetSession::OpenURL(LPCWSTR url, DWORD_PTR context, DWORD flags, LPCWSTR headers, DWORD headersLength)
{
    if (!m_hSession) throw new CInternetException(ERROR_INVALID_HANDLE);
    HINTERNET h = InternetOpenUrlW(m_hSession, url, headers, headers ? headersLength : 0,
                                   flags | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD, context);
    if (!h) throw new CInternetException(GetLastError());
    if (_wcsnicmp(url, L"http://", 7) == 0 || _wcsnicmp(url, L"https://", 8) == 0) return new CHttpFile(h, url);
    return new CInternetFile(h, url);
}
