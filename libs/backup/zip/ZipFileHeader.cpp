#include "ZipFileHeader.h"

#include "ZipPlatform.h"

#include <zlib.h>

#include <cstring>

using namespace Zip;

namespace {
uint32_t ZipNameCrc(const char* bytes, uint32_t len)
{
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes), len));
}
}  // namespace

namespace {
enum { hostDos = 0, hostUnix = 3, hostNtfs = 10, hostVfat = 14 };
}

bool CZipFileHeader::HasDosAttributes() const
{
    int host = GetSystemCompatibility();
    return host == hostDos || host == hostNtfs || host == hostVfat || host == hostUnix;
}

bool CZipFileHeader::IsDirectory() const
{
    if (HasDosAttributes() && (m_uExternalAttr & attrDirectory)) return true;
    uint32_t n = m_pszFileName.GetSize();
    return n > 0 && (m_pszFileName[n - 1] == '/' || m_pszFileName[n - 1] == '\\');
}

uint32_t CZipFileHeader::GetSystemAttr() const
{
    uint32_t attrs = 0;
    if (HasDosAttributes()) attrs = m_uExternalAttr & (attrReadOnly | attrHidden | attrSystem | attrArchive);
    if (IsDirectory()) attrs |= attrDirectory;
    return attrs;
}

namespace {
bool IsUtf8WithNonAscii(const unsigned char* p, uint32_t len)
{
    bool nonAscii = false;
    for (uint32_t i = 0; i < len;) {
        unsigned char c = p[i];
        uint32_t follow = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
        if (follow == 4 || (follow == 1 && c < 0xC2) || i + follow >= len) return false;
        for (uint32_t k = 1; k <= follow; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        nonAscii = nonAscii || follow > 0;
        i += follow + 1;
    }
    return nonAscii;
}
}  // namespace

bool CZipFileHeader::GetUnicodePathExtra(std::string& utf8Name) const
{
    // Info-ZIP Unicode Path field: version 1, CRC-32 of the stored name, then the name in UTF-8.
    const unsigned char* p = reinterpret_cast<const unsigned char*>(m_pExtraField.GetBuffer());
    uint32_t len = m_pExtraField.GetSize();
    for (uint32_t i = 0; i + 4 <= len;) {
        uint16_t tag = Get16(p + i), size = Get16(p + i + 2);
        if (i + 4u + size > len) return false;
        if (tag == 0x7075 && size >= 5 && p[i + 4] == 1) {
            uint32_t crc = Get32(p + i + 5);
            if (crc != ZipNameCrc(m_pszFileName.GetBuffer(), m_pszFileName.GetSize())) return false;
            utf8Name.assign(reinterpret_cast<const char*>(p + i + 9), size - 5);
            return true;
        }
        i += 4u + size;
    }
    return false;
}

std::wstring CZipFileHeader::GetFileName() const
{
    std::string unicodePath;
    const char* bytes = m_pszFileName.GetBuffer();
    uint32_t len = m_pszFileName.GetSize();
    bool utf8 = IsUtf8Name();
    if (!utf8 && GetUnicodePathExtra(unicodePath)) {
        bytes = unicodePath.data();
        len = static_cast<uint32_t>(unicodePath.size());
        utf8 = true;
    }
    // Tools on Unix store names in UTF-8 without saying so; such bytes are not meant as an OEM code page.
    if (!utf8 && GetSystemCompatibility() == hostUnix &&
        IsUtf8WithNonAscii(reinterpret_cast<const unsigned char*>(bytes), len))
        utf8 = true;
    std::wstring name = Zip::ArchiveNameToWide(bytes, len, utf8);
    for (auto& c : name)
        if (c == L'/') c = L'\\';
    return name;
}

namespace {
const uint16_t unicodePathTag = 0x7075;

// UTF-8 of a wide name, whether wchar_t holds UTF-16 (Windows) or code points (the native fuzz build);
// an unpaired surrogate becomes U+FFFD as the system's converter makes it.
std::string Utf8FromWide(const std::wstring& name)
{
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(name[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(name[++i]) - 0xDC00);
        else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            c = 0xFFFD;
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The extra field without any Unicode Path record (kept: every other tool's records).
std::string ExtraWithoutUnicodePath(const CZipAutoBuffer& extra)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(extra.GetBuffer());
    uint32_t len = extra.GetSize();
    std::string kept;
    uint32_t i = 0;
    while (i + 4 <= len) {
        uint32_t size = Get16(p + i + 2);
        if (i + 4 + size > len) break;
        if (Get16(p + i) != unicodePathTag) kept.append(reinterpret_cast<const char*>(p + i), 4 + size);
        i += 4 + size;
    }
    kept.append(reinterpret_cast<const char*>(p + i), len - i);
    return kept;
}
}  // namespace

void CZipFileHeader::SetFileName(const std::wstring& name)
{
    std::wstring slashed = name;
    bool ascii = true;
    for (auto& c : slashed) {
        if (c == L'\\') c = L'/';
        ascii = ascii && static_cast<uint32_t>(c) < 0x80;
    }
    bool utf8 = false;
    std::string bytes = Zip::WideToArchiveName(slashed, utf8);
    if (bytes.size() > 0xFFFFFFFFu) bytes.clear();
    m_pszFileName.Assign(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (utf8)
        m_uFlag |= flagUtf8;
    else
        m_uFlag &= ~flagUtf8;

    // Tools that ignore the UTF-8 flag for DOS-made entries (Info-ZIP unzip) or have no code page for OEM names
    // (7-Zip off Windows) find the name in the Info-ZIP Unicode Path field, in both records.
    std::string extra = ExtraWithoutUnicodePath(m_pExtraField);
    if (!ascii) {
        std::string unicode = utf8 ? bytes : Utf8FromWide(slashed);
        unsigned char head[9];
        Put16(head, unicodePathTag);
        Put16(head + 2, static_cast<uint16_t>(5 + unicode.size()));
        head[4] = 1;
        Put32(head + 5, ZipNameCrc(bytes.data(), static_cast<uint32_t>(bytes.size())));
        if (5 + unicode.size() <= 0xFFFF)
            extra += std::string(reinterpret_cast<const char*>(head), sizeof(head)) + unicode;
    }
    m_pExtraField.Assign(extra.data(), static_cast<uint32_t>(extra.size()));
}

std::wstring CZipFileHeader::GetComment() const
{
    return Zip::ArchiveNameToWide(m_pszComment.GetBuffer(), m_pszComment.GetSize(), IsUtf8Name());
}

void CZipFileHeader::PutSharedFields(unsigned char* p) const
{
    // Version needed to CRC and sizes: the same 22 bytes in local and central records.
    Put16(p, m_uVersionNeeded);
    Put16(p + 2, m_uFlag);
    Put16(p + 4, m_uMethod);
    Put16(p + 6, m_uModTime);
    Put16(p + 8, m_uModDate);
    Put32(p + 10, m_uCrc32);
    Put32(p + 14, m_uComprSize);
    Put32(p + 18, m_uUncomprSize);
}

void CZipFileHeader::BuildLocal(CZipAutoBuffer& out) const
{
    uint32_t nameLen = m_pszFileName.GetSize(), extraLen = m_pExtraField.GetSize();
    out.Allocate(localSize + nameLen + extraLen);
    unsigned char* p = reinterpret_cast<unsigned char*>(out.GetBuffer());
    Put32(p, localSignature);
    PutSharedFields(p + 4);
    Put16(p + 26, static_cast<uint16_t>(nameLen));
    Put16(p + 28, static_cast<uint16_t>(extraLen));
    if (nameLen) std::memcpy(p + localSize, m_pszFileName.GetBuffer(), nameLen);
    if (extraLen) std::memcpy(p + localSize + nameLen, m_pExtraField.GetBuffer(), extraLen);
}

void CZipFileHeader::BuildCentral(CZipAutoBuffer& out) const
{
    uint32_t nameLen = m_pszFileName.GetSize(), extraLen = m_pExtraField.GetSize(), commentLen = m_pszComment.GetSize();
    out.Allocate(GetSize());
    unsigned char* p = reinterpret_cast<unsigned char*>(out.GetBuffer());
    Put32(p, centralSignature);
    Put16(p + 4, m_uVersionMadeBy);
    PutSharedFields(p + 6);
    Put16(p + 28, static_cast<uint16_t>(nameLen));
    Put16(p + 30, static_cast<uint16_t>(extraLen));
    Put16(p + 32, static_cast<uint16_t>(commentLen));
    Put16(p + 34, m_uDiskStart);
    Put16(p + 36, m_uInternalAttr);
    Put32(p + 38, m_uExternalAttr);
    Put32(p + 42, m_uOffset);
    unsigned char* q = p + centralSize;
    if (nameLen) std::memcpy(q, m_pszFileName.GetBuffer(), nameLen);
    if (extraLen) std::memcpy(q + nameLen, m_pExtraField.GetBuffer(), extraLen);
    if (commentLen) std::memcpy(q + nameLen + extraLen, m_pszComment.GetBuffer(), commentLen);
}

uint32_t CZipFileHeader::ReadCentral(const unsigned char* p, uint64_t avail)
{
    if (avail < centralSize || Get32(p) != centralSignature) return 0;
    uint32_t nameLen = Get16(p + 28), extraLen = Get16(p + 30), commentLen = Get16(p + 32);
    uint64_t total = static_cast<uint64_t>(centralSize) + nameLen + extraLen + commentLen;
    if (total > avail) return 0;
    m_uSignature = centralSignature;
    m_uVersionMadeBy = Get16(p + 4);
    m_uVersionNeeded = Get16(p + 6);
    m_uFlag = Get16(p + 8);
    m_uMethod = Get16(p + 10);
    m_uModTime = Get16(p + 12);
    m_uModDate = Get16(p + 14);
    m_uCrc32 = Get32(p + 16);
    m_uComprSize = Get32(p + 20);
    m_uUncomprSize = Get32(p + 24);
    m_uDiskStart = Get16(p + 34);
    m_uInternalAttr = Get16(p + 36);
    m_uExternalAttr = Get32(p + 38);
    m_uOffset = Get32(p + 42);
    const unsigned char* q = p + centralSize;
    m_pszFileName.Assign(q, nameLen);
    m_pExtraField.Assign(q + nameLen, extraLen);
    m_pszComment.Assign(q + nameLen + extraLen, commentLen);
    return static_cast<uint32_t>(total);
}
