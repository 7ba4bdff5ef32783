// Front of the zip layer: opens or creates an archive, lists it, adds files and extracts entries
// (raw deflate and CRC-32 from zlib).
#pragma once

#include "ZipApi.h"

#include "ZipAutoBuffer.h"
#include "ZipCentralDir.h"
#include "ZipException.h"
#include "ZipFileHeader.h"
#include "ZipPlatform.h"
#include "ZipStorage.h"

#include <zlib.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>

class CZipAbstractFile;

// Told of each file ExtractEntry writes straight under its final name: once it is made, and again once it is
// complete. A run killed in between leaves the record of the partial file, which the next run removes.
class ZIP_API CZipExtractJournal {
public:
    virtual ~CZipExtractJournal() {}
    virtual void Writing(const std::wstring& path) = 0;
    virtual void Written() = 0;
};

// Progress: length of the whole entry and bytes done so far; returning false stops that entry.
typedef bool (*ZIPCALLBACKFUN)(uint32_t length, uint32_t done, void* userData);

struct CZipInternalInfo {
    virtual ~CZipInternalInfo() {}
    z_stream m_stream;
    uint32_t m_uComprLeft = 0;
    uint32_t m_uUncomprLeft = 0;
    uint32_t m_uCrc32 = 0;
    uint32_t m_iBufferSize = 16384;
    CZipAutoBuffer m_pBuffer;
};

class ZIP_API CZipArchive {
public:
    enum { zipOpen = 0, zipOpenReadOnly = 1, zipCreate = 2, zipCreateSpan = 3 };
    enum { stateNone = 0, stateWriting = 1, stateReading = -1 };

    CZipArchive();
    virtual ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;  // one owner of the open archive
    CZipArchive& operator=(const CZipArchive&) = delete;

    // Ignored when an archive is already open. Throws CZipException on failure.
    void Open(const std::wstring& path, int mode = zipOpen, int volumeSize = 0);
    // Reads an archive held in a caller's file (not owned, never written).
    void Open(CZipAbstractFile& file);
    void Close(bool afterException = false);
    bool IsClosed() const { return !m_storage.IsOpen(); }

    uint16_t GetCount() const { return static_cast<uint16_t>(m_centralDir.m_headers.size()); }
    bool GetEntryInfo(CZipFileHeader& info, uint16_t index) const;
    bool IsEntryDirectory(uint16_t index) const;
    int FindEntry(const std::wstring& name) const { return m_centralDir.FindFile(name); }
    void EnableFindFast(bool enable) { m_centralDir.EnableFindFast(enable); }

    // Adds a file or folder. The source is opened first: a file that cannot be read adds no entry.
    bool AddFile(const std::wstring& path, int level = -1, bool fullPath = true, ZIPCALLBACKFUN callback = nullptr,
                 void* userData = nullptr, uint32_t chunk = 65535);
    // The same with the file's time, attributes and size known already (from the listing of its folder).
    bool AddFile(const std::wstring& path, const Zip::FileInfo& info, int level = -1, bool fullPath = true,
                 ZIPCALLBACKFUN callback = nullptr, void* userData = nullptr, uint32_t chunk = 65535);
    // Extracts into folder\<stored path> (fullPath) or folder\<last component of the name>; missing folders are
    // made. Unsafe names are refused (false). A new file is written under its final name when a journal is set
    // (m_pJournal records it while it is partial); otherwise, and for a file already there, under a temporary name
    // renamed to its own only when complete. A failed entry (damaged data, a stop, a write error) removes what it
    // wrote.
    bool ExtractEntry(uint16_t index, const std::wstring& folder, bool fullPath = true,
                      const wchar_t* newName = nullptr, ZIPCALLBACKFUN callback = nullptr, void* userData = nullptr,
                      uint32_t chunk = 65535);

    bool BeginEntryWrite(CZipFileHeader& header, int level = -1);
    bool WriteEntryData(const void* data, uint32_t len);
    bool EndEntryWrite();

    bool BeginEntryRead(uint16_t index);
    uint32_t ReadEntryData(void* buffer, uint32_t len);
    // 1 done; -1 data still expected; 0 or -2 the file's times or attributes could not be set.
    int EndEntryRead(const wchar_t* filePath = nullptr);
    // Drops an entry left open by an error; the archive stays usable.
    void AbortEntry();

    void SetPassword(const char* password);
    void SetSpanCallback(ZIPSPANCALLBACK callback, void* userData);
    const std::wstring& GetArchivePath() const { return m_storage.GetPath(); }
    // Whether an entry of this size, with a name and extra field of nameLen bytes, still fits the format's
    // 32-bit limits.
    bool CanAddEntry(uint64_t size, uint32_t nameLen) const;
    static uint64_t MaxDeflatedSize(uint64_t size);

    CZipAutoBuffer m_pszPassword;
    bool m_bDetectZlibMemoryLeaks = true;
    uint32_t m_keys[3] = {0, 0, 0};
    CZipInternalInfo m_info;
    CZipStorage m_storage;
    std::list<void*> m_list;
    CZipCentralDir m_centralDir;
    int m_iFileOpened = stateNone;
    CZipAutoBuffer m_chunk;       // read and write chunks of AddFile and ExtractEntry
    std::wstring m_szTempFolder;  // where ExtractEntry writes a file before it is complete (empty: beside the target)
    unsigned m_uTempCount = 0;    // names of the files in m_szTempFolder
    CZipExtractJournal* m_pJournal = nullptr;  // records new files while they are partial (none: temporary names)
    std::wstring m_szMadeFolder;  // the folder ExtractEntry last made sure of (the next entries skip the check)

private:
    void ThrowError(int zipError, const char* detail = nullptr) const;
    // Closes a file being extracted (errors ignored) and removes it.
    static void CloseAndRemove(std::unique_ptr<CZipAbstractFile>& file, const std::wstring& path);
    void CheckZlib(int result) const;
    void WriteOut(const char* data, uint32_t len);
    // Reads the next piece of compressed data when the stream's input is used up.
    void FillInput();
    void FlushDeflate(int flush);
    void EmptyPtrList();
    void ResetEntry();
    // Reads the central directory of the archive just opened; on failure closes the archive, then rethrows.
    void ReadCentralDirOrClose();
    // Makes the zlib stream ready for an entry: reset when it is of the same kind, created otherwise.
    int PrepareStream(int kind, int level);
    void EndStream();
    void CryptInitKeys();
    void CryptUpdateKeys(char c);
    char CryptDecode(char c);
    char CryptEncode(char c);
    bool CheckCrypt();
    static void* ZlibAlloc(void* opaque, unsigned items, unsigned size);
    static void ZlibFree(void* opaque, void* address);

    enum { streamNone = 0, streamDeflate = 1, streamInflate = -1 };
    bool m_bStreamEnded = false;
    bool m_bZlibInit = false;  // the open entry uses the zlib stream
    int m_iStreamKind = streamNone;
    int m_iStreamLevel = 0;
    uint64_t m_uWrittenIn = 0;
};
