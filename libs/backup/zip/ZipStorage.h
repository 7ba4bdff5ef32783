// Access to the archive file: a write buffer in front of it, reads that continue on the next volume,
// disk spanning (removable disks) and size splitting (numbered files of a fixed size).
#pragma once

#include "ZipApi.h"

#include "ZipAutoBuffer.h"

#include <cstdint>
#include <memory>
#include <string>

class CZipAbstractFile;

// Disk-change callback: volume number counted from 1; code = bytes needed (writing), -1 insert the disk for
// reading, -2 the file already exists on the disk, -3 the disk could not be labelled, -4 the file could not be
// created. Returning false aborts.
typedef bool (*ZIPSPANCALLBACK)(int disk, int code, void* userData);

class ZIP_API CZipStorage {
public:
    enum { splitNone = 0, splitDisk = 1, splitSize = 2, splitUndecided = 3, splitSizeAssumed = 4 };
    enum { openExisting = 0, openReadOnly = 1, openCreate = 2, openCreateSplit = 3 };
    enum { maxVolume = 998 };
    static const uint32_t spanSignature = 0x08074b50;

    CZipStorage();
    virtual ~CZipStorage();
    CZipStorage(const CZipStorage&) = delete;  // one owner of the open file
    CZipStorage& operator=(const CZipStorage&) = delete;

    void Open(const std::wstring& path, int mode, int volumeSize);
    // Reads an archive held by the caller (not owned, never written).
    void Attach(CZipAbstractFile* file);
    // Called with the disk number of the end record: decides whether an opened archive is split.
    void UpdateSpanMode(uint16_t diskNumber);

    void Write(const void* buffer, uint32_t len, bool atOnce);
    uint32_t Read(void* buffer, uint32_t len, bool atOnce);
    void Flush();
    // Position in the current volume, buffered bytes included.
    uint64_t GetPosition() const;
    void Seek(uint64_t offset);
    // Overwrites bytes already written to a single-file archive (header fix-ups).
    void Patch(uint64_t offset, const void* data, uint32_t len);
    // Drops everything from offset on and continues writing there (adding to an opened archive).
    void TruncateForAppend(uint64_t offset);
    uint64_t GetLength() const;
    void ChangeDisk(int disk);
    void Close(bool afterError);

    bool IsOpen() const { return m_pFile != nullptr; }
    bool IsSpanned() const { return m_iSpanMode == splitDisk || m_iSpanMode == splitSize; }
    bool IsNewSpan() const { return m_bNewSpan; }
    bool IsReadOnly() const { return m_bReadOnly; }
    int GetCurrentDisk() const { return m_iCurrentDisk; }
    int GetSpanMode() const { return m_iSpanMode; }
    const std::wstring& GetPath() const { return m_szPath; }
    CZipAbstractFile* GetFile() const { return m_pFile; }
    uint32_t GetWriteBufferFill() const { return m_uBytesInWriteBuffer; }
    // Space left on the current volume of a split archive being written.
    uint64_t VolumeSpaceLeft() const;
    std::wstring GetVolumeName(int volume, bool last) const;
    // Stops writing volumes: the archive fits on its first volume and is turned into a single file.
    void EndSplitting()
    {
        m_bNewSpan = false;
        m_iSpanMode = splitNone;
        m_bWasSizeSplit = true;
    }

    int m_iWriteBufferSize = 65535;
    void* m_pCallbackData = nullptr;
    ZIPSPANCALLBACK m_pChangeDiskFunc = nullptr;

protected:
    void NextVolume(uint32_t needed);
    void OpenVolumeForWrite(uint32_t needed);
    void WriteBuffered(const char* data, uint32_t len);
    void ThrowError(int zipError, const char* detail = nullptr) const;

    std::unique_ptr<CZipAbstractFile> m_file;
    CZipAbstractFile* m_pFile = nullptr;
    int m_iSpanMode = splitNone;
    uint64_t m_uSplitData = 0;  // volume size (creating) or last volume number (reading)
    uint32_t m_uBytesInWriteBuffer = 0;
    uint64_t m_uCurrentVolSize = 0;  // space of the current volume
    uint64_t m_uBytesWritten = 0;    // bytes written to the current volume before the buffer
    bool m_bNewSpan = false;
    CZipAutoBuffer m_pWriteBuffer;
    int m_iCurrentDisk = -1;
    std::wstring m_szPath;
    bool m_bReadOnly = false;
    bool m_bWasSizeSplit = false;
};
