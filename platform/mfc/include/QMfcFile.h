// Exceptions, files and file search.
// - Exceptions are thrown as heap pointers (throw new CFileException(...)); the catcher calls e->Delete().
// - CFile: Read/Write/Seek/SetLength throw CFileException* on failure; Open reports through its result (and the
//   optional CFileException). Seek and lengths are 64-bit.
// - CStdioFile::ReadString returns one line without its CR/LF; bytes are read as UTF-8 when they are valid
//   UTF-8, else in the ANSI code page (a UTF-16LE file with a BOM is read as UTF-16).
// - CFileFind follows MFC: FindFile, then "while (more) { more = FindNextFile(); use the current entry }".
#pragma once

#include <windows.h>

#include <string>

#include "QMfcObject.h"
#include "QMfcString.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException() {}
    // Frees a heap exception (what catchers call).
    void Delete() { delete this; }
    virtual BOOL GetErrorMessage(LPWSTR buffer, UINT max, PUINT helpContext = NULL) const;
    virtual int ReportError(UINT type = MB_OK, UINT messageId = 0) const;
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    explicit CFileException(int cause = none, LONG osError = -1, LPCWSTR fileName = NULL)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
    {
    }
    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
    static int OsErrorToException(LONG osError);
    static void ThrowOsError(LONG osError, LPCWSTR fileName = NULL);
    BOOL GetErrorMessage(LPWSTR buffer, UINT max, PUINT helpContext = NULL) const override;
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    HANDLE m_hFile;

    CFile() : m_hFile(INVALID_HANDLE_VALUE) {}
    explicit CFile(HANDLE h) : m_hFile(h) {}
    CFile(LPCWSTR fileName, UINT openFlags);  // throws CFileException* when the file cannot be opened
    virtual ~CFile();

    operator HANDLE() const { return m_hFile; }
    virtual BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = NULL);
    virtual void Close();
    virtual void Abort();
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG length);
    virtual void Flush();
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;

    static void Remove(LPCWSTR fileName);
    static void Rename(LPCWSTR oldName, LPCWSTR newName);

protected:
    CString m_strFileName;
    BOOL m_bCloseOnDelete = TRUE;

private:
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
};

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile() {}
    CStdioFile(LPCWSTR fileName, UINT openFlags) : CFile(fileName, openFlags) {}
    // FALSE at the end of the file (nothing read).
    virtual BOOL ReadString(CString& line);
    // Writes the text in the ANSI code page; "\n" becomes "\r\n" in text mode (the default).
    virtual void WriteString(LPCWSTR text);
    BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = NULL) override;
    UINT Read(void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;

protected:
    // Reads raw bytes from the source (the file here; the internet file overrides it).
    virtual UINT ReadRaw(void* buffer, UINT count) { return CFile::Read(buffer, count); }
    bool FillBuffer();
    std::string m_buffer;
    size_t m_bufferPos = 0;
    bool m_eof = false;
    int m_encoding = 0;  // 0 unknown, 1 bytes, 2 UTF-16LE
    bool m_binary = false;
};

class CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind();
    virtual ~CFileFind();
    virtual BOOL FindFile(LPCWSTR pattern = NULL, DWORD unused = 0);
    virtual BOOL FindNextFile();
    void Close();
    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_root; }
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* ft) const;
    BOOL MatchesMask(DWORD mask) const { return (m_current.dwFileAttributes & mask) != 0; }
    BOOL IsDots() const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }
    BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
    BOOL IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
    BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }

private:
    HANDLE m_hFind;
    WIN32_FIND_DATAW m_current;
    WIN32_FIND_DATAW m_next;
    BOOL m_hasNext;
    CString m_root;
};
