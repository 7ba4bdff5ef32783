// Reads, keeps and writes the central directory; checks local headers before an entry is read.
#pragma once

#include "ZipApi.h"

#include "ZipAutoBuffer.h"
#include "ZipFileHeader.h"

#include <cstdint>
#include <string>
#include <vector>

class CZipStorage;

struct CZipFindFast {
    CZipFileHeader* m_pHeader;
    uint16_t m_uIndex;
};

class ZIP_API CZipCentralDir {
public:
    enum {
        endSignature = 0x06054b50,
        zip64LocatorSignature = 0x07064b50,
        endRecordSize = 22,
        maxComment = 0xFFFF,
        maxEntries = 0xFFFF,
    };

    struct Info {
        uint64_t m_uEndOffset = 0;  // position of the end record in the file
        uint16_t m_uThisDisk = 0;
        uint16_t m_uDiskWithCD = 0;
        uint16_t m_uDiskEntriesNo = 0;
        uint16_t m_uEntriesNumber = 0;
        uint32_t m_uSize = 0;
        uint32_t m_uOffset = 0;
    };

    CZipCentralDir();
    virtual ~CZipCentralDir();

    void Init(CZipStorage* storage);
    void Clear();
    // Finds and reads the directory of an opened archive.
    void Read();
    // Locates the end record; returns its position. Exposed for tests of the search.
    uint64_t Locate();
    // Checks the local header of an entry and leaves the storage at the start of its data.
    void OpenFile(uint16_t index);
    void CloseFile() { m_pOpenedFile = nullptr; }
    // Adds a header for a new entry and writes its local header.
    CZipFileHeader* AddNewFile(const CZipFileHeader& header);
    // Writes CRC and sizes of the entry just written (into its local header or a data descriptor).
    void FinishNewFile(CZipFileHeader& header);
    // Forgets the last header (an entry dropped before it was finished).
    void RemoveLastFile();
    // Writes the directory and the end record (nothing when it is already on disk).
    void Write();
    // Bytes the directory will take when written (headers and end record).
    uint64_t GetWrittenSize() const;

    void EnableFindFast(bool enable);
    int FindFile(const std::wstring& name) const;

    Info m_info;
    CZipAutoBuffer m_pszComment;
    bool m_bFindFastEnabled = false;
    CZipFileHeader* m_pOpenedFile = nullptr;
    CZipStorage* m_pStorage = nullptr;
    uint64_t m_uCentrDirPos = 0;
    uint64_t m_uBytesBeforeZip = 0;
    int m_iBufferSize = 32768;
    bool m_bOnDisk = false;
    std::vector<CZipFileHeader*> m_headers;
    CZipAutoBuffer m_pLocalExtraField;
    std::vector<CZipFindFast> m_findarray;
    bool m_bConvertAfterOpen = true;
    uint64_t m_uDataStart = 0;  // where the data of the opened entry begins

private:
    void ReadHeaders();
    void CheckOverlaps() const;
    void ConvertSplitToSingle();
    void InsertFindFast(CZipFileHeader* header, uint16_t index);
    void ThrowError(int zipError, const char* detail) const;

    // Bytes of the central records of m_headers, kept as they come and go: every addition asks for the directory's
    // size and a sum over the headers made adding n files cost n * n / 2 steps.
    uint64_t m_uHeadersSize = 0;
};
