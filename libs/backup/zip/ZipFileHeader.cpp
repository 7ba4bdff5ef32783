#include "ZipFileHeader.h"

#include "ZipPlatform.h"

#include <cstring>

using namespace ZipBytes;

namespace
{
enum { hostDos = 0, hostUnix = 3, hostNtfs = 10, hostVfat = 14 };
}

bool CZipFileHeader::HasDosAttributes() const
{
    int host = GetSystemCompatibility();
    return host == hostDos || host == hostNtfs || host == hostVfat || host == hostUnix;
}

bool CZipFileHeader::IsDirectory() const
{
    if (HasDosAttributes() && (m_uExternalAttr & attrDirectory))
        return true;
    uint32_t n = m_pszFileName.GetSize();
    return n > 0 && (m_pszFileName[n - 1] == '/' || m_pszFileName[n - 1] == '\\');
}

uint32_t CZipFileHeader::GetSystemAttr() const
{
    uint32_t attrs = 0;
    if (HasDosAttributes())
        attrs = m_uExternalAttr & (attrReadOnly | attrHidden | attrSystem | attrArchive);
    if (IsDirectory())
        attrs |= attrDirectory;
    return attrs;
}

std::wstring CZipFileHeader::GetFileName() const
{
    std::wstring name = ZipPlatform::ArchiveNameToWide(m_pszFileName.GetBuffer(), m_pszFileName.GetSize(), IsUtf8Name());
    for (auto& c : name)
        if (c == L'/')
            c = L'\\';
    return name;
}

void CZipFileHeader::SetFileName(const std::wstring& name)
{
    std::wstring slashed = name;
    for (auto& c : slashed)
        if (c == L'\\')
            c = L'/';
    bool utf8 = false;
    std::string bytes = ZipPlatform::WideToArchiveName(slashed, utf8);
    if (bytes.size() > 0xFFFFFFFFu)
        bytes.clear();
    m_pszFileName.Assign(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (utf8)
        m_uFlag |= flagUtf8;
    else
        m_uFlag &= ~flagUtf8;
}

std::wstring CZipFileHeader::GetComment() const
{
    return ZipPlatform::ArchiveNameToWide(m_pszComment.GetBuffer(), m_pszComment.GetSize(), IsUtf8Name());
}

void CZipFileHeader::BuildLocal(CZipAutoBuffer& out) const
{
    uint32_t nameLen = m_pszFileName.GetSize(), extraLen = m_pExtraField.GetSize();
    out.Allocate(localSize + nameLen + extraLen);
    unsigned char* p = reinterpret_cast<unsigned char*>(out.GetBuffer());
    Put32(p, localSignature);
    Put16(p + 4, m_uVersionNeeded);
    Put16(p + 6, m_uFlag);
    Put16(p + 8, m_uMethod);
    Put16(p + 10, m_uModTime);
    Put16(p + 12, m_uModDate);
    Put32(p + 14, m_uCrc32);
    Put32(p + 18, m_uComprSize);
    Put32(p + 22, m_uUncomprSize);
    Put16(p + 26, static_cast<uint16_t>(nameLen));
    Put16(p + 28, static_cast<uint16_t>(extraLen));
    if (nameLen)
        std::memcpy(p + localSize, m_pszFileName.GetBuffer(), nameLen);
    if (extraLen)
        std::memcpy(p + localSize + nameLen, m_pExtraField.GetBuffer(), extraLen);
}

void CZipFileHeader::BuildCentral(CZipAutoBuffer& out) const
{
    uint32_t nameLen = m_pszFileName.GetSize(), extraLen = m_pExtraField.GetSize(), commentLen = m_pszComment.GetSize();
    out.Allocate(GetSize());
    unsigned char* p = reinterpret_cast<unsigned char*>(out.GetBuffer());
    Put32(p, centralSignature);
    Put16(p + 4, m_uVersionMadeBy);
    Put16(p + 6, m_uVersionNeeded);
    Put16(p + 8, m_uFlag);
    Put16(p + 10, m_uMethod);
    Put16(p + 12, m_uModTime);
    Put16(p + 14, m_uModDate);
    Put32(p + 16, m_uCrc32);
    Put32(p + 20, m_uComprSize);
    Put32(p + 24, m_uUncomprSize);
    Put16(p + 28, static_cast<uint16_t>(nameLen));
    Put16(p + 30, static_cast<uint16_t>(extraLen));
    Put16(p + 32, static_cast<uint16_t>(commentLen));
    Put16(p + 34, m_uDiskStart);
    Put16(p + 36, m_uInternalAttr);
    Put32(p + 38, m_uExternalAttr);
    Put32(p + 42, m_uOffset);
    unsigned char* q = p + centralSize;
    if (nameLen)
        std::memcpy(q, m_pszFileName.GetBuffer(), nameLen);
    if (extraLen)
        std::memcpy(q + nameLen, m_pExtraField.GetBuffer(), extraLen);
    if (commentLen)
        std::memcpy(q + nameLen + extraLen, m_pszComment.GetBuffer(), commentLen);
}

uint32_t CZipFileHeader::ReadCentral(const unsigned char* p, uint64_t avail)
{
    if (avail < centralSize || Get32(p) != centralSignature)
        return 0;
    uint32_t nameLen = Get16(p + 28), extraLen = Get16(p + 30), commentLen = Get16(p + 32);
    uint64_t total = static_cast<uint64_t>(centralSize) + nameLen + extraLen + commentLen;
    if (total > avail)
        return 0;
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
