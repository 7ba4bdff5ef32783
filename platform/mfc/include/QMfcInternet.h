// CInternetSession over WinINet. OpenURL returns a CStdioFile (delete it after Close) whose ReadString gives one
// line at a time (UTF-8 when valid, else the ANSI code page; CR removed); for http and https URLs it is a
// CHttpFile, which also tells the server's status code. A failed open throws CInternetException* (the catcher
// calls Delete()). Read gives the raw bytes.
#pragma once

#include <wininet.h>

#include "QMfcFile.h"

class CInternetException : public CException {
    DECLARE_DYNAMIC(CInternetException)
public:
    explicit CInternetException(DWORD error) : m_dwError(error), m_dwContext(0) {}
    DWORD m_dwError;
    DWORD_PTR m_dwContext;
    BOOL GetErrorMessage(LPWSTR buffer, UINT max, PUINT helpContext = NULL) const override;
};

// A file read from an URL.
class CInternetFile : public CStdioFile {
    DECLARE_DYNAMIC(CInternetFile)
public:
    explicit CInternetFile(HINTERNET handle, LPCWSTR url);
    ~CInternetFile() override;
    void Close() override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void*, UINT) override;
    ULONGLONG Seek(LONGLONG, UINT) override;
    ULONGLONG GetPosition() const override { return m_read; }
    ULONGLONG GetLength() const override;
    HINTERNET m_hInternet;

protected:
    UINT ReadRaw(void* buffer, UINT count) override;
    ULONGLONG m_read = 0;
};

// A file read over HTTP or HTTPS.
class CHttpFile : public CInternetFile {
    DECLARE_DYNAMIC(CHttpFile)
public:
    CHttpFile(HINTERNET handle, LPCWSTR url) : CInternetFile(handle, url) {}
    // The status code of the answer (200, 404, ...); FALSE when it cannot be read.
    BOOL QueryInfoStatusCode(DWORD& status) const;
};

class CInternetSession : public CObject {
    DECLARE_DYNAMIC(CInternetSession)
public:
    explicit CInternetSession(LPCWSTR agent = NULL, DWORD_PTR context = 1,
                              DWORD accessType = PRE_CONFIG_INTERNET_ACCESS, LPCWSTR proxyName = NULL,
                              LPCWSTR proxyBypass = NULL, DWORD flags = 0);
    virtual ~CInternetSession();
    operator HINTERNET() const { return m_hSession; }
    CStdioFile* OpenURL(LPCWSTR url, DWORD_PTR context = 1, DWORD flags = INTERNET_FLAG_TRANSFER_ASCII,
                        LPCWSTR headers = NULL, DWORD headersLength = 0);
    BOOL SetOption(DWORD option, DWORD value) { return InternetSetOptionW(m_hSession, option, &value, sizeof(value)); }
    void Close();

protected:
    HINTERNET m_hSession;
};
