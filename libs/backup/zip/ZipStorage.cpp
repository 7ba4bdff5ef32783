#include "ZipStorage.h"

#include "ZipAbstractFile.h"
#include "ZipException.h"
#include "ZipPlatform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

CZipStorage::CZipStorage() {}

CZipStorage::~CZipStorage()
{
    if (m_pFile) Close(true);
}

void CZipStorage::ThrowError(int zipError, const char* detail) const
{
    CZipException::Throw(zipError, m_szPath, detail);
}

void CZipStorage::Open(const std::wstring& path, int mode, int volumeSize)
{
    m_szPath = path;
    m_pWriteBuffer.Allocate(static_cast<uint32_t>(m_iWriteBufferSize));
    m_uBytesInWriteBuffer = 0;
    m_uBytesWritten = 0;
    m_bNewSpan = false;
    m_bWasSizeSplit = false;
    m_bReadOnly = mode == openReadOnly;

    if (mode == openExisting || mode == openReadOnly) {
        m_file.reset(Zip::OpenFile(path, mode == openReadOnly ? Zip::openReadOnly : Zip::openReadWrite));
        m_pFile = m_file.get();
        m_iSpanMode = volumeSize > 0 ? splitSizeAssumed : splitUndecided;
        m_iCurrentDisk = 0;
    } else if (mode == openCreate) {
        m_iCurrentDisk = 0;
        m_iSpanMode = splitNone;
        m_file.reset(Zip::OpenFile(path, Zip::openCreate));
        m_pFile = m_file.get();
    } else {
        m_bNewSpan = true;
        m_iCurrentDisk = 0;
        if (volumeSize > 0) {
            m_iSpanMode = splitSize;
            m_uSplitData = static_cast<uint64_t>(volumeSize);
        } else {
            m_iSpanMode = splitDisk;
            if (!m_pChangeDiskFunc) ThrowError(ZIP_NOCALLBACK);
            if (!Zip::IsRemovableDrive(path)) ThrowError(ZIP_NON_REMOVABLE);
        }
        OpenVolumeForWrite(4);
        unsigned char sig[4] = {0x50, 0x4b, 0x07, 0x08};
        Write(sig, 4, true);
    }
}

void CZipStorage::Attach(CZipAbstractFile* file)
{
    m_szPath.clear();
    m_file.reset();
    m_pFile = file;
    m_bReadOnly = true;
    m_bNewSpan = false;
    m_iSpanMode = splitNone;
    m_iCurrentDisk = 0;
    m_uBytesInWriteBuffer = 0;
}

void CZipStorage::UpdateSpanMode(uint16_t diskNumber)
{
    m_iCurrentDisk = diskNumber;
    if (diskNumber == 0)
        m_iSpanMode = splitNone;
    else {
        if (!m_file) ThrowError(ZIP_BADZIPFILE, "multi-volume archive in memory");
        if (m_iSpanMode == splitUndecided)
            m_iSpanMode = Zip::IsRemovableDrive(m_szPath) ? splitDisk : splitSize;
        else if (m_iSpanMode == splitSizeAssumed)
            m_iSpanMode = splitSize;
        if (m_iSpanMode == splitSize)
            m_uSplitData = diskNumber;
        else if (m_iSpanMode == splitDisk && !m_pChangeDiskFunc)
            ThrowError(ZIP_NOCALLBACK);
    }
    m_pWriteBuffer.Release();
}

std::wstring CZipStorage::GetVolumeName(int volume, bool last) const
{
    std::wstring base = m_szPath;
    size_t slash = base.find_last_of(L"\\/");
    size_t dot = base.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) base.erase(dot);
    if (last) return base + L".zip";
    wchar_t num[16];
    std::swprintf(num, sizeof(num) / sizeof(num[0]), L".%.3d", volume);
    return base + num;
}

uint64_t CZipStorage::VolumeSpaceLeft() const
{
    uint64_t used = m_uBytesWritten + m_uBytesInWriteBuffer;
    return m_uCurrentVolSize > used ? m_uCurrentVolSize - used : 0;
}

void CZipStorage::OpenVolumeForWrite(uint32_t needed)
{
    if (m_iSpanMode == splitSize) {
        m_file.reset(Zip::OpenFile(GetVolumeName(m_iCurrentDisk, false), Zip::openCreate));
        m_pFile = m_file.get();
        m_uCurrentVolSize = m_uSplitData;
        return;
    }
    // Disk spanning: ask for the disk, check it, label it and create the file, asking again on each failure.
    int code = static_cast<int>(needed);
    bool labelWarned = false;
    for (;;) {
        if (!m_pChangeDiskFunc(m_iCurrentDisk + 1, code, m_pCallbackData)) ThrowError(ZIP_ABORTED);
        if (Zip::FileExists(m_szPath)) {
            code = -2;
            continue;
        }
        size_t colon = m_szPath.find(L':');
        std::wstring root = colon != std::wstring::npos ? m_szPath.substr(0, colon + 1) + L"\\" : std::wstring();
        wchar_t label[32];
        std::swprintf(label, sizeof(label) / sizeof(label[0]), L"pkback# %.3d", m_iCurrentDisk + 1);
        if (!Zip::LabelVolume(root, label) && !labelWarned) {
            // Media that cannot be labelled is reported once, then used as it is.
            labelWarned = true;
            code = -3;
            continue;
        }
        try {
            m_file.reset(Zip::OpenFile(m_szPath, Zip::openCreate));
        } catch (const CZipException&) {
            code = -4;
            continue;
        }
        break;
    }
    m_pFile = m_file.get();
    m_uCurrentVolSize = Zip::DiskFreeSpace(m_szPath);
}

void CZipStorage::NextVolume(uint32_t needed)
{
    Flush();
    if (m_uBytesWritten > 0) {
        if (m_iCurrentDisk + 1 > maxVolume) ThrowError(ZIP_TOOMANYVOLUMES);
        m_pFile->Close();
        m_file.reset();
        m_pFile = nullptr;
        ++m_iCurrentDisk;
        m_uBytesWritten = 0;
    }
    if (!m_pFile) OpenVolumeForWrite(needed);
}

void CZipStorage::WriteBuffered(const char* data, uint32_t len)
{
    uint32_t size = m_pWriteBuffer.GetSize();
    while (len > 0) {
        uint32_t room = size - m_uBytesInWriteBuffer;
        uint32_t n = std::min(room, len);
        std::memcpy(m_pWriteBuffer.GetBuffer() + m_uBytesInWriteBuffer, data, n);
        m_uBytesInWriteBuffer += n;
        data += n;
        len -= n;
        if (m_uBytesInWriteBuffer == size) Flush();
    }
}

void CZipStorage::Write(const void* buffer, uint32_t len, bool atOnce)
{
    if (!m_pFile || m_bReadOnly) ThrowError(ZIP_BADZIPFILE, "archive not open for writing");
    if (!m_pWriteBuffer.IsAllocated()) m_pWriteBuffer.Allocate(static_cast<uint32_t>(m_iWriteBufferSize));
    const char* p = static_cast<const char*>(buffer);
    if (!m_bNewSpan) {
        WriteBuffered(p, len);
        return;
    }
    while (len > 0) {
        uint64_t left = VolumeSpaceLeft();
        uint32_t needed = atOnce ? len : 1;
        if (left < needed) {
            if (m_uBytesWritten + m_uBytesInWriteBuffer > 0)
                NextVolume(needed);
            else if (m_iSpanMode == splitSize)
                m_uCurrentVolSize = needed;  // a record larger than a whole volume gets a volume of its own size
            else
                ThrowError(ZIP_ABORTED, "not enough free space on the new disk");  // another disk would not help
            continue;
        }
        uint32_t n = left < len ? static_cast<uint32_t>(left) : len;
        WriteBuffered(p, n);
        p += n;
        len -= n;
    }
}

void CZipStorage::Flush()
{
    if (m_pFile && m_uBytesInWriteBuffer > 0) {
        m_pFile->Write(m_pWriteBuffer.GetBuffer(), m_uBytesInWriteBuffer);
        m_uBytesWritten += m_uBytesInWriteBuffer;
        m_uBytesInWriteBuffer = 0;
    }
}

uint64_t CZipStorage::GetPosition() const { return m_pFile ? m_pFile->GetPosition() + m_uBytesInWriteBuffer : 0; }

uint64_t CZipStorage::GetLength() const { return m_pFile ? m_pFile->GetLength() + m_uBytesInWriteBuffer : 0; }

void CZipStorage::Seek(uint64_t offset)
{
    Flush();
    m_pFile->Seek(static_cast<int64_t>(offset), CZipAbstractFile::begin);
}

void CZipStorage::Patch(uint64_t offset, const void* data, uint32_t len)
{
    uint64_t bufferStart = m_pFile->GetPosition();
    if (offset >= bufferStart && offset + len <= bufferStart + m_uBytesInWriteBuffer) {
        std::memcpy(m_pWriteBuffer.GetBuffer() + (offset - bufferStart), data, len);
        return;
    }
    Flush();
    uint64_t end = m_pFile->GetPosition();
    m_pFile->Seek(static_cast<int64_t>(offset), CZipAbstractFile::begin);
    m_pFile->Write(data, len);
    m_pFile->Seek(static_cast<int64_t>(end), CZipAbstractFile::begin);
}

void CZipStorage::TruncateForAppend(uint64_t offset)
{
    if (m_bReadOnly) ThrowError(ZIP_BADZIPFILE, "archive opened read-only");
    if (!m_pWriteBuffer.IsAllocated()) m_pWriteBuffer.Allocate(static_cast<uint32_t>(m_iWriteBufferSize));
    Flush();
    m_pFile->Seek(static_cast<int64_t>(offset), CZipAbstractFile::begin);
    m_pFile->SetLength(offset);
    m_uBytesWritten = offset;
}

uint32_t CZipStorage::Read(void* buffer, uint32_t len, bool atOnce)
{
    if (!m_pFile) ThrowError(ZIP_BADZIPFILE, "archive not open");
    char* p = static_cast<char*>(buffer);
    uint32_t got = m_pFile->Read(p, len);
    while (got < len) {
        // Nothing at all, or a short read of a piece that may continue on the next volume.
        if (!IsSpanned() || (atOnce && got > 0)) ThrowError(ZIP_BADZIPFILE, "unexpected end of archive");
        ChangeDisk(m_iCurrentDisk + 1);
        uint32_t more = m_pFile->Read(p + got, len - got);
        if (more == 0) ThrowError(ZIP_BADZIPFILE, "unexpected end of volume");
        if (atOnce && got == 0 && more < len) ThrowError(ZIP_BADZIPFILE, "record split across volumes");
        got += more;
    }
    return got;
}

void CZipStorage::ChangeDisk(int disk)
{
    if (!IsSpanned()) {
        if (disk == m_iCurrentDisk) return;
        ThrowError(ZIP_BADZIPFILE, "volume number in a single-file archive");
    }
    if (disk == m_iCurrentDisk) return;
    if (m_iSpanMode == splitSize && (disk < 0 || static_cast<uint64_t>(disk) > m_uSplitData))
        ThrowError(ZIP_BADZIPFILE, "volume number out of range");
    if (m_pFile) m_pFile->Close();
    m_file.reset();
    m_pFile = nullptr;
    std::wstring name;
    if (m_iSpanMode == splitDisk) {
        if (!m_pChangeDiskFunc(disk + 1, -1, m_pCallbackData)) ThrowError(ZIP_ABORTED);
        name = m_szPath;
    } else
        name = GetVolumeName(disk, static_cast<uint64_t>(disk) == m_uSplitData);
    m_file.reset(Zip::OpenFile(name, Zip::openReadOnly));
    m_pFile = m_file.get();
    m_iCurrentDisk = disk;
}

void CZipStorage::Close(bool afterError)
{
    bool renameLast = (m_bNewSpan && m_iSpanMode == splitSize) || m_bWasSizeSplit;
    if (!afterError && m_pFile) Flush();
    if (m_file) {
        try {
            m_file->Close();
        } catch (const CZipException&) {
            if (!afterError) {
                m_file.reset();
                m_pFile = nullptr;
                throw;
            }
        }
    }
    m_file.reset();
    m_pFile = nullptr;
    if (!afterError && renameLast) {
        std::wstring last = GetVolumeName(0, true);
        Zip::RemoveFile(last);
        if (!Zip::RenameFile(GetVolumeName(m_iCurrentDisk, false), last))
            ThrowError(ZIP_BADZIPFILE, "cannot rename the last volume");
    }
    m_pWriteBuffer.Release();
    m_uBytesInWriteBuffer = 0;
    m_uBytesWritten = 0;
    m_iCurrentDisk = -1;
    m_iSpanMode = splitNone;
    m_bNewSpan = false;
    m_bWasSizeSplit = false;
}
