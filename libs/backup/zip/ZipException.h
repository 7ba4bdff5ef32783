// The zip layer's error: a cause code plus the archive it concerns.
#pragma once

#include "ZipApi.h"

#include <cstdint>
#include <exception>
#include <string>

class ZIP_API CZipException : public std::exception {
public:
    enum {
        noError = 0,
        generic = 1,
        streamEnd = 2,
        needDict = 3,
        errNo = 4,
        streamError = 5,
        dataError = 6,
        memError = 7,
        bufError = 8,
        versionError = 9,
        badZipFile = 10,
        badCrc = 11,
        noCallback = 12,
        aborted = 13,
        nonRemovable = 14,
        tooManyVolumes = 15,
        tooLongData = 16,
        badPassword = 17,
        cdirNotFound = 18,
        fileError = 19,  // an operating-system call failed; see m_uSystemError
        tooBig = 20,     // the archive would pass the limits of the format as written
    };

    CZipException(int cause, const std::wstring& archive, const char* detail = nullptr, uint32_t systemError = 0);

    // Maps an internal code (zlib results and the layer's -101 .. -109) to a cause.
    static int ZipErrToCause(int zipError);
    static void Throw(int zipError, const std::wstring& archive = std::wstring(), const char* detail = nullptr);

    const char* what() const noexcept override { return m_szWhat.c_str(); }
    std::wstring GetErrorDescription() const;

    int m_iCause;
    std::wstring m_szFileName;
    uint32_t m_uSystemError;

private:
    std::string m_szWhat;
};

// Internal codes of the layer (zlib codes are used as they are).
enum {
    ZIP_BADZIPFILE = -101,
    ZIP_BADCRC = -102,
    ZIP_NOCALLBACK = -103,
    ZIP_ABORTED = -104,
    ZIP_NON_REMOVABLE = -105,
    ZIP_TOOMANYVOLUMES = -106,
    ZIP_TOOLONGDATA = -107,
    ZIP_BADPASSWORD = -108,
    ZIP_CDIR_NOTFOUND = -109,
};
