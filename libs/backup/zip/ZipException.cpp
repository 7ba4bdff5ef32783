#include "ZipException.h"

namespace {
const char* CauseText(int cause)
{
    switch (cause) {
    case CZipException::streamEnd: return "unexpected end of compressed stream";
    case CZipException::needDict: return "compressed stream needs a dictionary";
    case CZipException::errNo: return "compression library file error";
    case CZipException::streamError: return "compression stream error";
    case CZipException::dataError: return "compressed data is corrupt";
    case CZipException::memError: return "out of memory while compressing";
    case CZipException::bufError: return "compression buffer error";
    case CZipException::versionError: return "incompatible compression library";
    case CZipException::badZipFile: return "damaged or unsupported archive";
    case CZipException::badCrc: return "CRC of the extracted data does not match";
    case CZipException::noCallback: return "a disk-spanned archive needs a disk-change callback";
    case CZipException::aborted: return "operation aborted";
    case CZipException::nonRemovable: return "disk spanning needs a removable drive";
    case CZipException::tooManyVolumes: return "too many volumes";
    case CZipException::tooLongData: return "name, extra field or comment longer than 65535 bytes";
    case CZipException::badPassword: return "wrong password";
    case CZipException::cdirNotFound: return "central directory not found (not a zip archive)";
    case CZipException::fileError: return "file system error";
    case CZipException::tooBig: return "archive would exceed 4 GiB or 65535 entries";
    default: return "zip error";
    }
}
}  // namespace

CZipException::CZipException(int cause, const std::wstring& archive, const char* detail, uint32_t systemError)
    : m_iCause(cause), m_szFileName(archive), m_uSystemError(systemError)
{
    m_szWhat = CauseText(cause);
    if (detail && *detail) {
        m_szWhat += ": ";
        m_szWhat += detail;
    }
    if (systemError) m_szWhat += " (system error " + std::to_string(systemError) + ")";
}

int CZipException::ZipErrToCause(int zipError)
{
    if (zipError >= -6 && zipError <= -1) return 3 - zipError;  // -1 .. -6 give 4 .. 9
    if (zipError == 1 || zipError == 2) return zipError + 1;
    if (zipError <= ZIP_BADZIPFILE && zipError >= ZIP_CDIR_NOTFOUND) return badZipFile + (ZIP_BADZIPFILE - zipError);
    return generic;
}

void CZipException::Throw(int zipError, const std::wstring& archive, const char* detail)
{
    throw CZipException(ZipErrToCause(zipError), archive, detail);
}

std::wstring CZipException::GetErrorDescription() const
{
    std::wstring text(m_szWhat.begin(), m_szWhat.end());
    if (!m_szFileName.empty()) text += L" [" + m_szFileName + L"]";
    return text;
}
