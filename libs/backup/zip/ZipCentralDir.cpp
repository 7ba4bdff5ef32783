#include "ZipCentralDir.h"

#include "ZipAbstractFile.h"
#include "ZipException.h"
#include "ZipStorage.h"

#include <algorithm>
#include <cstring>

using namespace Zip;

namespace {
const uint64_t maxSearch = CZipCentralDir::endRecordSize + CZipCentralDir::maxComment;
const uint32_t zip64Sentinel = 0xFFFFFFFFu;

bool HasZip64Extra(const CZipFileHeader& h)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(h.m_pExtraField.GetBuffer());
    uint32_t len = h.m_pExtraField.GetSize();
    for (uint32_t i = 0; i + 4 <= len;) {
        uint16_t tag = Get16(p + i), size = Get16(p + i + 2);
        if (tag == 0x0001) return true;
        i += 4u + size;
    }
    return false;
}
}  // namespace

CZipCentralDir::CZipCentralDir() {}

CZipCentralDir::~CZipCentralDir() { Clear(); }

void CZipCentralDir::Init(CZipStorage* storage)
{
    Clear();
    m_pStorage = storage;
    m_pszComment.Release();
    m_info = Info();
    m_uBytesBeforeZip = 0;
    m_uCentrDirPos = 0;
    m_bOnDisk = false;
}

void CZipCentralDir::Clear()
{
    for (CZipFileHeader* h : m_headers) delete h;
    m_headers.clear();
    m_uHeadersSize = 0;
    m_findarray.clear();
    m_pOpenedFile = nullptr;
    m_pLocalExtraField.Release();
}

void CZipCentralDir::ThrowError(int zipError, const char* detail) const
{
    CZipException::Throw(zipError, m_pStorage ? m_pStorage->GetPath() : std::wstring(), detail);
}

uint64_t CZipCentralDir::Locate()
{
    CZipAbstractFile* file = m_pStorage->GetFile();
    uint64_t length = file->GetLength();
    if (length < endRecordSize) ThrowError(ZIP_CDIR_NOTFOUND, "file too short");
    uint64_t searchLen = std::min(length, maxSearch);
    uint64_t base = length - searchLen;
    std::vector<unsigned char> tail(static_cast<size_t>(searchLen));
    file->Seek(static_cast<int64_t>(base), CZipAbstractFile::begin);
    uint32_t got = 0;
    while (got < searchLen) {
        uint32_t n = file->Read(tail.data() + got, static_cast<uint32_t>(searchLen - got));
        if (n == 0) ThrowError(ZIP_BADZIPFILE, "short read");
        got += n;
    }
    // Nearest the end first; a record whose comment ends the file wins over a signature inside a comment.
    int64_t nearest = -1, consistent = -1;
    for (int64_t i = static_cast<int64_t>(searchLen) - endRecordSize; i >= 0; --i) {
        const unsigned char* p = tail.data() + i;
        if (Get32(p) != endSignature) continue;
        uint64_t pos = base + static_cast<uint64_t>(i);
        if (pos + endRecordSize + Get16(p + 20) == length) return pos;
        if (nearest < 0) nearest = static_cast<int64_t>(pos);
        if (consistent < 0 && static_cast<uint64_t>(Get32(p + 16)) + Get32(p + 12) <= pos)
            consistent = static_cast<int64_t>(pos);
    }
    if (consistent >= 0) return static_cast<uint64_t>(consistent);
    if (nearest >= 0) return static_cast<uint64_t>(nearest);
    ThrowError(ZIP_CDIR_NOTFOUND, nullptr);
    return 0;
}

void CZipCentralDir::Read()
{
    uint64_t pos = Locate();
    CZipAbstractFile* file = m_pStorage->GetFile();
    uint64_t length = file->GetLength();
    unsigned char rec[endRecordSize];
    m_pStorage->Seek(pos);
    m_pStorage->Read(rec, endRecordSize, true);
    m_info.m_uEndOffset = pos;
    m_info.m_uThisDisk = Get16(rec + 4);
    m_info.m_uDiskWithCD = Get16(rec + 6);
    m_info.m_uDiskEntriesNo = Get16(rec + 8);
    m_info.m_uEntriesNumber = Get16(rec + 10);
    m_info.m_uSize = Get32(rec + 12);
    m_info.m_uOffset = Get32(rec + 16);
    uint16_t commentLen = Get16(rec + 20);

    if (pos >= 20) {
        unsigned char loc[4];
        m_pStorage->Seek(pos - 20);
        if (file->Read(loc, 4) == 4 && Get32(loc) == zip64LocatorSignature)
            ThrowError(ZIP_BADZIPFILE, "Zip64 archives are not supported");
    }
    if (pos + endRecordSize + commentLen > length) ThrowError(ZIP_BADZIPFILE, "archive comment runs past the end");
    if (commentLen) {
        m_pszComment.Allocate(commentLen);
        m_pStorage->Seek(pos + endRecordSize);
        m_pStorage->Read(m_pszComment.GetBuffer(), commentLen, true);
    } else
        m_pszComment.Release();

    m_pStorage->UpdateSpanMode(m_info.m_uThisDisk);
    if (!m_pStorage->IsSpanned()) {
        uint64_t cdEnd = static_cast<uint64_t>(m_info.m_uOffset) + m_info.m_uSize;
        if (pos < cdEnd) ThrowError(ZIP_BADZIPFILE, "central directory runs past its end record");
        if (m_info.m_uDiskWithCD != 0 || m_info.m_uDiskEntriesNo != m_info.m_uEntriesNumber)
            ThrowError(ZIP_BADZIPFILE, "inconsistent disk numbers");
        m_uBytesBeforeZip = pos - cdEnd;
    } else {
        m_uBytesBeforeZip = 0;
        if (m_info.m_uDiskWithCD > m_info.m_uThisDisk) ThrowError(ZIP_BADZIPFILE, "inconsistent disk numbers");
    }
    if ((m_info.m_uSize == 0) != (m_info.m_uEntriesNumber == 0))
        ThrowError(ZIP_BADZIPFILE, "entry count and directory size disagree");
    if (static_cast<uint64_t>(m_info.m_uEntriesNumber) * CZipFileHeader::centralSize > m_info.m_uSize)
        ThrowError(ZIP_BADZIPFILE, "directory too small for its entries");

    m_uCentrDirPos = m_info.m_uOffset + m_uBytesBeforeZip;
    if (m_info.m_uSize != 0) {
        m_pStorage->ChangeDisk(m_info.m_uDiskWithCD);
        m_pStorage->Seek(m_uCentrDirPos);
        ReadHeaders();
    }
    if (!m_pStorage->IsSpanned()) CheckOverlaps();
    m_bOnDisk = true;
    if (m_bFindFastEnabled) EnableFindFast(true);
}

void CZipCentralDir::ReadHeaders()
{
    if (!m_pStorage->IsSpanned() && m_uCentrDirPos + m_info.m_uSize > m_pStorage->GetFile()->GetLength())
        ThrowError(ZIP_BADZIPFILE, "central directory runs past the end of the file");
    if (m_pStorage->IsSpanned() && m_info.m_uSize > 64u * 1024 * 1024)
        ThrowError(ZIP_BADZIPFILE, "central directory too large");
    std::vector<unsigned char> dir(m_info.m_uSize);
    m_pStorage->Read(dir.data(), m_info.m_uSize, false);
    uint64_t used = 0;
    m_headers.reserve(m_info.m_uEntriesNumber);
    for (uint32_t i = 0; i < m_info.m_uEntriesNumber; ++i) {
        CZipFileHeader* h = new CZipFileHeader;
        uint32_t n = h->ReadCentral(dir.data() + used, dir.size() - used);
        if (n == 0) {
            delete h;
            ThrowError(ZIP_BADZIPFILE, "damaged central directory header");
        }
        m_headers.push_back(h);
        m_uHeadersSize += h->GetSize();
        used += n;
        if ((h->m_uComprSize == zip64Sentinel || h->m_uUncomprSize == zip64Sentinel || h->m_uOffset == zip64Sentinel) &&
            HasZip64Extra(*h))
            ThrowError(ZIP_BADZIPFILE, "Zip64 entries are not supported");
    }
}

void CZipCentralDir::CheckOverlaps() const
{
    // Every entry needs at least its local header and its compressed data, in front of the directory,
    // and no two entries may share bytes (the mark of crafted archives).
    std::vector<std::pair<uint64_t, uint64_t>> spans;
    spans.reserve(m_headers.size());
    for (const CZipFileHeader* h : m_headers) {
        uint64_t start = h->m_uOffset;
        uint64_t end = start + CZipFileHeader::localSize + h->m_pszFileName.GetSize() + h->m_uComprSize;
        spans.emplace_back(start, end);
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 0; i < spans.size(); ++i) {
        uint64_t limit = i + 1 < spans.size() ? spans[i + 1].first : m_info.m_uOffset;
        if (spans[i].second > limit) ThrowError(ZIP_BADZIPFILE, "entries overlap or run into the central directory");
    }
}

void CZipCentralDir::OpenFile(uint16_t index)
{
    if (index >= m_headers.size()) ThrowError(ZIP_BADZIPFILE, "entry index out of range");
    CZipFileHeader* h = m_headers[index];
    if (m_pStorage->IsSpanned())
        m_pStorage->ChangeDisk(h->m_uDiskStart);
    else if (h->m_uDiskStart != 0)
        ThrowError(ZIP_BADZIPFILE, "volume number in a single-file archive");
    uint64_t start = h->m_uOffset + m_uBytesBeforeZip;
    uint64_t length = m_pStorage->GetFile()->GetLength();
    if (start + CZipFileHeader::localSize > length) ThrowError(ZIP_BADZIPFILE, "local header past the end of the file");
    unsigned char rec[CZipFileHeader::localSize];
    m_pStorage->Seek(start);
    m_pStorage->Read(rec, sizeof(rec), true);
    uint16_t flags = Get16(rec + 6), method = Get16(rec + 8);
    uint16_t nameLen = Get16(rec + 26), extraLen = Get16(rec + 28);
    if (Get32(rec) != CZipFileHeader::localSignature || Get16(rec + 4) != h->m_uVersionNeeded || flags != h->m_uFlag ||
        method != h->m_uMethod || nameLen != h->m_pszFileName.GetSize())
        ThrowError(ZIP_BADZIPFILE, "local header does not match the directory");
    if (method != 0 && method != 8) ThrowError(ZIP_BADZIPFILE, "unsupported compression method");
    if (!(flags & CZipFileHeader::flagDataDescriptor) &&
        (Get32(rec + 14) != h->m_uCrc32 || Get32(rec + 18) != h->m_uComprSize || Get32(rec + 22) != h->m_uUncomprSize))
        ThrowError(ZIP_BADZIPFILE, "local header does not match the directory");
    uint64_t data = start + CZipFileHeader::localSize + nameLen + extraLen;
    if (!m_pStorage->IsSpanned() && data + h->m_uComprSize > length)
        ThrowError(ZIP_BADZIPFILE, "entry data runs past the end of the file");
    if (extraLen) {
        m_pLocalExtraField.Allocate(extraLen);
        m_pStorage->Seek(start + CZipFileHeader::localSize + nameLen);
        m_pStorage->Read(m_pLocalExtraField.GetBuffer(), extraLen, true);
    } else
        m_pLocalExtraField.Release();
    m_pStorage->Seek(data);
    m_uDataStart = data;
    m_pOpenedFile = h;
}

CZipFileHeader* CZipCentralDir::AddNewFile(const CZipFileHeader& header)
{
    if (header.m_pszFileName.GetSize() > 0xFFFF || header.m_pExtraField.GetSize() > 0xFFFF ||
        header.m_pszComment.GetSize() > 0xFFFF)
        ThrowError(ZIP_TOOLONGDATA, nullptr);
    if (m_headers.size() >= maxEntries)
        throw CZipException(CZipException::tooBig, m_pStorage->GetPath(), "more than 65535 entries");
    CZipFileHeader* h = new CZipFileHeader(header);
    CZipAutoBuffer local;
    h->BuildLocal(local);
    try {
        m_pStorage->Write(local.GetBuffer(), local.GetSize(), true);
    } catch (...) {
        delete h;
        throw;
    }
    h->m_uDiskStart = static_cast<uint16_t>(m_pStorage->GetCurrentDisk());
    uint64_t offset = m_pStorage->GetPosition() - local.GetSize();
    if (offset > 0xFFFFFFFFu) {
        delete h;
        throw CZipException(CZipException::tooBig, m_pStorage->GetPath(), "archive larger than 4 GiB");
    }
    h->m_uOffset = static_cast<uint32_t>(offset);
    m_headers.push_back(h);
    m_uHeadersSize += h->GetSize();
    if (m_bFindFastEnabled) InsertFindFast(h, static_cast<uint16_t>(m_headers.size() - 1));
    m_bOnDisk = false;
    m_pOpenedFile = h;
    return h;
}

void CZipCentralDir::FinishNewFile(CZipFileHeader& h)
{
    unsigned char fields[12];
    Put32(fields, h.m_uCrc32);
    Put32(fields + 4, h.m_uComprSize);
    Put32(fields + 8, h.m_uUncomprSize);
    if (!h.IsDataDescr())
        m_pStorage->Patch(h.m_uOffset + 14, fields, sizeof(fields));
    else {
        unsigned char desc[CZipFileHeader::descriptorSize];
        Put32(desc, CZipFileHeader::descriptorSignature);
        std::memcpy(desc + 4, fields, sizeof(fields));
        m_pStorage->Write(desc, sizeof(desc), true);
        if (h.IsEncrypted() && !m_pStorage->IsNewSpan()) m_pStorage->Patch(h.m_uOffset + 14, fields, sizeof(fields));
    }
    h.m_uOffset = static_cast<uint32_t>(h.m_uOffset - m_uBytesBeforeZip);
    m_pOpenedFile = nullptr;
}

void CZipCentralDir::RemoveLastFile()
{
    if (m_headers.empty()) return;
    CZipFileHeader* h = m_headers.back();
    m_headers.pop_back();
    m_uHeadersSize -= h->GetSize();
    if (m_pOpenedFile == h) m_pOpenedFile = nullptr;
    delete h;
    EnableFindFast(m_bFindFastEnabled);
}

uint64_t CZipCentralDir::GetWrittenSize() const { return endRecordSize + m_pszComment.GetSize() + m_uHeadersSize; }

void CZipCentralDir::ConvertSplitToSingle()
{
    // Everything is on the first volume: drop the span marker and the data descriptors, moving the data down.
    m_pStorage->Flush();
    CZipAbstractFile* file = m_pStorage->GetFile();
    uint64_t length = file->GetLength();
    uint64_t shift = 4;
    std::vector<char> chunk(65536);
    for (CZipFileHeader* h : m_headers) {
        uint64_t start = h->m_uOffset;
        uint64_t span = CZipFileHeader::localSize + h->m_pszFileName.GetSize() + h->m_pExtraField.GetSize() +
                        static_cast<uint64_t>(h->m_uComprSize);
        for (uint64_t done = 0; done < span;) {
            uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(chunk.size(), span - done));
            file->Seek(static_cast<int64_t>(start + done), CZipAbstractFile::begin);
            if (file->Read(chunk.data(), n) != n) ThrowError(ZIP_BADZIPFILE, "short read while joining volumes");
            file->Seek(static_cast<int64_t>(start + done - shift), CZipAbstractFile::begin);
            file->Write(chunk.data(), n);
            done += n;
        }
        bool hadDescriptor = h->IsDataDescr();
        if (!h->IsEncrypted()) h->m_uFlag &= ~CZipFileHeader::flagDataDescriptor;
        h->m_uOffset = static_cast<uint32_t>(start - shift);
        CZipAutoBuffer local;
        h->BuildLocal(local);
        file->Seek(static_cast<int64_t>(h->m_uOffset), CZipAbstractFile::begin);
        file->Write(local.GetBuffer(), CZipFileHeader::localSize);
        if (hadDescriptor && !h->IsEncrypted()) shift += CZipFileHeader::descriptorSize;
    }
    file->SetLength(length - shift);
    file->Seek(0, CZipAbstractFile::end);
    m_pStorage->EndSplitting();
}

void CZipCentralDir::Write()
{
    if (m_bOnDisk) return;
    if (m_pStorage->IsNewSpan() && m_pStorage->GetCurrentDisk() == 0) {
        uint64_t shift = 4;
        for (const CZipFileHeader* h : m_headers)
            if (!h->IsEncrypted() && h->IsDataDescr()) shift += CZipFileHeader::descriptorSize;
        uint64_t used = m_pStorage->GetPosition();
        if (used - shift + GetWrittenSize() <= used + m_pStorage->VolumeSpaceLeft()) ConvertSplitToSingle();
    }
    if (!m_pStorage->IsNewSpan()) m_pStorage->Flush();
    if (m_headers.size() > maxEntries)
        throw CZipException(CZipException::tooBig, m_pStorage->GetPath(), "more than 65535 entries");

    uint64_t dirSize = 0;
    uint16_t onLastDisk = 0;
    int lastDisk = m_pStorage->GetCurrentDisk();
    bool first = true;
    for (CZipFileHeader* h : m_headers) {
        CZipAutoBuffer rec;
        h->BuildCentral(rec);
        m_pStorage->Write(rec.GetBuffer(), rec.GetSize(), true);
        int disk = m_pStorage->GetCurrentDisk();
        if (first) {
            uint64_t offset =
                m_pStorage->GetPosition() - rec.GetSize() - (m_pStorage->IsSpanned() ? 0 : m_uBytesBeforeZip);
            if (offset > 0xFFFFFFFFu)
                throw CZipException(CZipException::tooBig, m_pStorage->GetPath(), "archive larger than 4 GiB");
            m_info.m_uDiskWithCD = static_cast<uint16_t>(disk);
            m_info.m_uOffset = static_cast<uint32_t>(offset);
            first = false;
        }
        if (disk != lastDisk) {
            onLastDisk = 0;
            lastDisk = disk;
        }
        ++onLastDisk;
        dirSize += rec.GetSize();
    }
    if (first) {
        uint64_t offset = m_pStorage->GetPosition() - (m_pStorage->IsSpanned() ? 0 : m_uBytesBeforeZip);
        if (offset > 0xFFFFFFFFu)
            throw CZipException(CZipException::tooBig, m_pStorage->GetPath(), "archive larger than 4 GiB");
        m_info.m_uDiskWithCD = static_cast<uint16_t>(m_pStorage->GetCurrentDisk());
        m_info.m_uOffset = static_cast<uint32_t>(offset);
    }
    if (dirSize > 0xFFFFFFFFu)
        throw CZipException(CZipException::tooBig, m_pStorage->GetPath(), "central directory larger than 4 GiB");

    uint32_t recSize = endRecordSize + m_pszComment.GetSize();
    int endDisk = m_pStorage->GetCurrentDisk();
    if (m_pStorage->IsNewSpan() && m_pStorage->VolumeSpaceLeft() < recSize &&
        !(m_pStorage->GetSpanMode() == CZipStorage::splitSize && m_pStorage->GetPosition() == 0))
        ++endDisk;  // the end record will go to a volume of its own
    if (endDisk != lastDisk) onLastDisk = 0;
    CZipAutoBuffer rec(recSize);
    unsigned char* p = reinterpret_cast<unsigned char*>(rec.GetBuffer());
    Put32(p, endSignature);
    Put16(p + 4, static_cast<uint16_t>(endDisk));
    Put16(p + 6, m_info.m_uDiskWithCD);
    Put16(p + 8, onLastDisk);
    Put16(p + 10, static_cast<uint16_t>(m_headers.size()));
    Put32(p + 12, static_cast<uint32_t>(dirSize));
    Put32(p + 16, m_info.m_uOffset);
    Put16(p + 20, static_cast<uint16_t>(m_pszComment.GetSize()));
    if (m_pszComment.GetSize()) std::memcpy(p + endRecordSize, m_pszComment.GetBuffer(), m_pszComment.GetSize());
    m_pStorage->Write(p, recSize, true);
    m_info.m_uThisDisk = static_cast<uint16_t>(m_pStorage->GetCurrentDisk());
    m_info.m_uDiskEntriesNo = onLastDisk;
    m_info.m_uEntriesNumber = static_cast<uint16_t>(m_headers.size());
    m_info.m_uSize = static_cast<uint32_t>(dirSize);
    m_bOnDisk = true;
}

void CZipCentralDir::InsertFindFast(CZipFileHeader* header, uint16_t index)
{
    std::wstring name = header->GetFileName();
    auto it =
        std::lower_bound(m_findarray.begin(), m_findarray.end(), name,
                         [](const CZipFindFast& f, const std::wstring& n) { return f.m_pHeader->GetFileName() < n; });
    m_findarray.insert(it, CZipFindFast{header, index});
}

void CZipCentralDir::EnableFindFast(bool enable)
{
    m_bFindFastEnabled = enable;
    m_findarray.clear();
    if (enable)
        for (size_t i = 0; i < m_headers.size(); ++i) InsertFindFast(m_headers[i], static_cast<uint16_t>(i));
}

int CZipCentralDir::FindFile(const std::wstring& name) const
{
    if (m_bFindFastEnabled) {
        auto it = std::lower_bound(
            m_findarray.begin(), m_findarray.end(), name,
            [](const CZipFindFast& f, const std::wstring& n) { return f.m_pHeader->GetFileName() < n; });
        if (it != m_findarray.end() && it->m_pHeader->GetFileName() == name) return it->m_uIndex;
        return -1;
    }
    for (size_t i = 0; i < m_headers.size(); ++i)
        if (m_headers[i]->GetFileName() == name) return static_cast<int>(i);
    return -1;
}
