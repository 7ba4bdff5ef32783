// One entry of the central directory, and the local and central records built from it.
#pragma once

#include "ZipApi.h"

#include "ZipAutoBuffer.h"

#include <cstdint>
#include <string>

class ZIP_API CZipFileHeader {
public:
    enum {
        centralSignature = 0x02014b50,
        localSignature = 0x04034b50,
        descriptorSignature = 0x08074b50,
        centralSize = 46,
        localSize = 30,
        descriptorSize = 16,
        flagEncrypted = 0x0001,
        flagDataDescriptor = 0x0008,
        flagUtf8 = 0x0800,
        attrReadOnly = 0x01,
        attrHidden = 0x02,
        attrSystem = 0x04,
        attrDirectory = 0x10,
        attrArchive = 0x20,
    };

    CZipFileHeader() {}
    virtual ~CZipFileHeader() {}

    uint32_t m_uSignature = centralSignature;
    uint16_t m_uVersionMadeBy = 20;
    uint16_t m_uVersionNeeded = 20;
    uint16_t m_uFlag = 0;
    uint16_t m_uMethod = 8;
    uint16_t m_uModTime = 0;
    uint16_t m_uModDate = 0x21;  // 1980-01-01
    uint32_t m_uCrc32 = 0;
    uint32_t m_uComprSize = 0;
    uint32_t m_uUncomprSize = 0;
    uint16_t m_uDiskStart = 0;
    uint16_t m_uInternalAttr = 0;
    uint32_t m_uExternalAttr = attrArchive;
    uint32_t m_uOffset = 0;
    CZipAutoBuffer m_pExtraField;
    CZipAutoBuffer m_pszFileName;  // bytes as stored: OEM or UTF-8, "/" as separator
    CZipAutoBuffer m_pszComment;

    uint32_t GetSize() const
    {
        return centralSize + m_pszFileName.GetSize() + m_pExtraField.GetSize() + m_pszComment.GetSize();
    }
    bool IsEncrypted() const { return (m_uFlag & flagEncrypted) != 0; }
    bool IsDataDescr() const { return (m_uFlag & flagDataDescriptor) != 0; }
    bool IsUtf8Name() const { return (m_uFlag & flagUtf8) != 0; }
    // A directory is marked by the attribute bit or, in archives of other tools, by a trailing "/".
    bool IsDirectory() const;
    int GetSystemCompatibility() const { return m_uVersionMadeBy >> 8; }
    // Hosts that keep DOS-style attribute bits in the low byte (Unix modes sit in the high word).
    bool HasDosAttributes() const;
    // Windows attributes worth applying on extraction, whatever tool wrote the entry.
    uint32_t GetSystemAttr() const;

    // The stored name with backslashes; SetFileName converts and sets the UTF-8 flag when needed.
    std::wstring GetFileName() const;
    void SetFileName(const std::wstring& name);
    std::wstring GetComment() const;
    // The UTF-8 name of an Info-ZIP Unicode Path extra field, when present and made for this name.
    bool GetUnicodePathExtra(std::string& utf8Name) const;

    // Records as they go to disk (little-endian).
    void BuildLocal(CZipAutoBuffer& out) const;
    void BuildCentral(CZipAutoBuffer& out) const;
    // Parses one central record from p (avail bytes); returns its length, or 0 when it is damaged.
    uint32_t ReadCentral(const unsigned char* p, uint64_t avail);

private:
    void PutSharedFields(unsigned char* p) const;
};

// Little-endian field helpers shared by the record code.
namespace Zip {
inline uint16_t Get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline void Put16(unsigned char* p, uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
inline void Put32(unsigned char* p, uint32_t v)
{
    Put16(p, static_cast<uint16_t>(v));
    Put16(p + 2, static_cast<uint16_t>(v >> 16));
}
}  // namespace Zip
