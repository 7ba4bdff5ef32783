#include "ZipArchive.h"

#include "ZipAbstractFile.h"
#include "ZipPlatform.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
const uint64_t maxField = 0xFFFFFFFEu;  // 0xFFFFFFFF would mean Zip64 to readers
}

CZipArchive::CZipArchive() { std::memset(&m_info.m_stream, 0, sizeof(m_info.m_stream)); }

CZipArchive::~CZipArchive()
{
    if (!IsClosed()) Close(true);
    EndStream();
}

void CZipArchive::ThrowError(int zipError, const char* detail) const
{
    CZipException::Throw(zipError, m_storage.GetPath(), detail);
}

void CZipArchive::CheckZlib(int result) const
{
    if (result != Z_OK && result != Z_BUF_ERROR) ThrowError(result);
}

void* CZipArchive::ZlibAlloc(void* opaque, unsigned items, unsigned size)
{
    void* p = std::calloc(items, size);
    CZipArchive* self = static_cast<CZipArchive*>(opaque);
    if (p && self->m_bDetectZlibMemoryLeaks) self->m_list.push_back(p);
    return p;
}

void CZipArchive::ZlibFree(void* opaque, void* address)
{
    CZipArchive* self = static_cast<CZipArchive*>(opaque);
    if (self->m_bDetectZlibMemoryLeaks) {
        auto it = std::find(self->m_list.begin(), self->m_list.end(), address);
        if (it != self->m_list.end()) self->m_list.erase(it);
    }
    std::free(address);
}

void CZipArchive::EmptyPtrList()
{
    for (void* p : m_list) std::free(p);
    m_list.clear();
}

void CZipArchive::ResetEntry()
{
    // The zlib stream and the buffer stay for the next entry (a reset is far cheaper than a new stream).
    m_info.m_uComprLeft = m_info.m_uUncomprLeft = m_info.m_uCrc32 = 0;
    m_bZlibInit = false;
    m_bStreamEnded = false;
    m_iFileOpened = stateNone;
    m_centralDir.CloseFile();
}

void CZipArchive::EndStream()
{
    if (m_iStreamKind == streamDeflate)
        deflateEnd(&m_info.m_stream);
    else if (m_iStreamKind == streamInflate)
        inflateEnd(&m_info.m_stream);
    m_iStreamKind = streamNone;
    std::memset(&m_info.m_stream, 0, sizeof(m_info.m_stream));
    EmptyPtrList();
}

int CZipArchive::PrepareStream(int kind, int level)
{
    z_stream& s = m_info.m_stream;
    if (m_iStreamKind == kind && (kind == streamInflate || m_iStreamLevel == level))
        return kind == streamDeflate ? deflateReset(&s) : inflateReset(&s);
    EndStream();
    s.zalloc = &CZipArchive::ZlibAlloc;
    s.zfree = &CZipArchive::ZlibFree;
    s.opaque = this;
    int result = kind == streamDeflate ? deflateInit2(&s, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY)
                                       : inflateInit2(&s, -MAX_WBITS);
    if (result == Z_OK) {
        m_iStreamKind = kind;
        m_iStreamLevel = level;
    } else
        EndStream();
    return result;
}

void CZipArchive::Open(const std::wstring& path, int mode, int volumeSize)
{
    if (!IsClosed()) return;
    m_pszPassword.Release();
    m_iFileOpened = stateNone;
    m_storage.Open(path, mode, volumeSize);
    m_centralDir.Init(&m_storage);
    if (mode == zipOpen || mode == zipOpenReadOnly) ReadCentralDirOrClose();
}

void CZipArchive::Open(CZipAbstractFile& file)
{
    if (!IsClosed()) return;
    m_pszPassword.Release();
    m_iFileOpened = stateNone;
    m_storage.Attach(&file);
    m_centralDir.Init(&m_storage);
    ReadCentralDirOrClose();
}

void CZipArchive::ReadCentralDirOrClose()
{
    try {
        m_centralDir.Read();
    } catch (...) {
        Close(true);
        throw;
    }
}

bool CZipArchive::GetEntryInfo(CZipFileHeader& info, uint16_t index) const
{
    if (IsClosed() || index >= GetCount()) return false;
    info = *m_centralDir.m_headers[index];
    return true;
}

bool CZipArchive::IsEntryDirectory(uint16_t index) const
{
    return !IsClosed() && index < GetCount() && m_centralDir.m_headers[index]->IsDirectory();
}

void CZipArchive::SetPassword(const char* password)
{
    if (password && *password)
        m_pszPassword.Assign(password, static_cast<uint32_t>(std::strlen(password)));
    else
        m_pszPassword.Release();
}

void CZipArchive::SetSpanCallback(ZIPSPANCALLBACK callback, void* userData)
{
    m_storage.m_pChangeDiskFunc = callback;
    m_storage.m_pCallbackData = userData;
}

uint64_t CZipArchive::MaxDeflatedSize(uint64_t size)
{
    // Stored blocks cost 5 bytes per 16 KiB at worst; the rest is zlib's own bound with room to spare.
    return size + (size >> 12) + (size >> 14) + (size >> 25) + 64;
}

bool CZipArchive::CanAddEntry(uint64_t size, uint32_t nameLen) const
{
    if (GetCount() >= CZipCentralDir::maxEntries || size > maxField) return false;
    if (m_storage.IsNewSpan()) return true;  // offsets are per volume
    uint64_t end = m_storage.GetPosition() + CZipFileHeader::localSize + nameLen + 12 + MaxDeflatedSize(size) +
                   CZipFileHeader::descriptorSize + m_centralDir.GetWrittenSize() + CZipFileHeader::centralSize +
                   nameLen;
    return end <= maxField;
}

// ---- writing ----------------------------------------------------------------------------------------

bool CZipArchive::BeginEntryWrite(CZipFileHeader& header, int level)
{
    if (IsClosed() || m_iFileOpened != stateNone || m_storage.IsReadOnly() ||
        (m_storage.IsSpanned() && !m_storage.IsNewSpan()) || GetCount() >= CZipCentralDir::maxEntries)
        return false;
    if (header.m_pszFileName.GetSize() == 0) header.SetFileName(L"file" + std::to_wstring(GetCount()));
    if (level < -1 || level > 9) level = -1;
    if (header.IsDirectory()) level = 0;
    header.m_uMethod = level == 0 ? 0 : 8;
    header.m_uFlag &= CZipFileHeader::flagUtf8;
    if (header.m_uMethod == 8) {
        if (level == 1)
            header.m_uFlag |= 6;
        else if (level == 2)
            header.m_uFlag |= 4;
        else if (level == 8 || level == 9)
            header.m_uFlag |= 2;
    }
    if (m_storage.IsNewSpan()) header.m_uFlag |= CZipFileHeader::flagDataDescriptor;
    bool encrypt = m_pszPassword.GetSize() > 0 && !header.IsDirectory();
    if (encrypt) header.m_uFlag |= CZipFileHeader::flagEncrypted | CZipFileHeader::flagDataDescriptor;
    header.m_uVersionMadeBy = 20;
    header.m_uVersionNeeded = 20;
    header.m_uCrc32 = 0;
    header.m_uComprSize = encrypt ? 12 : 0;
    header.m_uUncomprSize = 0;
    header.m_uSignature = CZipFileHeader::centralSignature;

    if (m_centralDir.m_bOnDisk && !m_storage.IsNewSpan()) {
        // First addition to an opened archive: new entries replace the old directory, rewritten at close.
        m_storage.TruncateForAppend(m_centralDir.m_uCentrDirPos);
        m_centralDir.m_bOnDisk = false;
    }
    m_centralDir.AddNewFile(header);
    m_info.m_pBuffer.Allocate(m_info.m_iBufferSize);
    m_uWrittenIn = 0;
    m_iFileOpened = stateWriting;

    if (encrypt) {
        CryptInitKeys();
        std::srand(Zip::RandomSeed());
        char head[12];
        for (int i = 0; i < 10; ++i) {
            int r = std::rand();
            head[i] = static_cast<char>(((r >> 6) & 0xFF) ? (r >> 6) : r);
        }
        head[10] = static_cast<char>(header.m_uModTime & 0xFF);
        head[11] = static_cast<char>(header.m_uModTime >> 8);
        for (char& c : head) c = CryptEncode(c);
        m_storage.Write(head, sizeof(head), false);
    }
    if (header.m_uMethod == 8) {
        int result = PrepareStream(streamDeflate, level);
        if (result != Z_OK) {
            AbortEntry();
            ThrowError(result);
        }
        m_bZlibInit = true;
    }
    m_info.m_stream.next_in = nullptr;
    m_info.m_stream.avail_in = 0;
    m_info.m_stream.next_out = reinterpret_cast<Bytef*>(m_info.m_pBuffer.GetBuffer());
    m_info.m_stream.avail_out = m_info.m_pBuffer.GetSize();
    return true;
}

void CZipArchive::WriteOut(const char* data, uint32_t len)
{
    if (len == 0) return;
    char* p = const_cast<char*>(data);
    if (m_centralDir.m_pOpenedFile->IsEncrypted())
        for (uint32_t i = 0; i < len; ++i) p[i] = CryptEncode(p[i]);
    m_storage.Write(p, len, false);
    if (!m_storage.IsNewSpan() && m_storage.GetPosition() > maxField)
        throw CZipException(CZipException::tooBig, m_storage.GetPath(), "archive larger than 4 GiB");
}

bool CZipArchive::WriteEntryData(const void* data, uint32_t len)
{
    if (m_iFileOpened != stateWriting) return false;
    m_uWrittenIn += len;
    if (m_uWrittenIn > maxField)
        throw CZipException(CZipException::tooBig, m_storage.GetPath(), "entry larger than 4 GiB");
    m_info.m_uCrc32 = crc32(m_info.m_uCrc32, static_cast<const Bytef*>(data), len);
    z_stream& s = m_info.m_stream;
    char* buffer = m_info.m_pBuffer.GetBuffer();
    uint32_t size = m_info.m_pBuffer.GetSize();
    if (m_centralDir.m_pOpenedFile->m_uMethod == 8) {
        s.next_in = const_cast<Bytef*>(static_cast<const Bytef*>(data));
        s.avail_in = len;
        while (s.avail_in > 0) {
            if (s.avail_out == 0) {
                WriteOut(buffer, size);
                s.next_out = reinterpret_cast<Bytef*>(buffer);
                s.avail_out = size;
            }
            CheckZlib(deflate(&s, Z_NO_FLUSH));
        }
    } else {
        const char* p = static_cast<const char*>(data);
        while (len > 0) {
            uint32_t n = std::min<uint32_t>(len, s.avail_out);
            std::memcpy(s.next_out, p, n);
            s.next_out += n;
            s.avail_out -= n;
            p += n;
            len -= n;
            if (s.avail_out == 0) {
                WriteOut(buffer, size);
                s.next_out = reinterpret_cast<Bytef*>(buffer);
                s.avail_out = size;
            }
        }
    }
    return true;
}

bool CZipArchive::EndEntryWrite()
{
    if (m_iFileOpened != stateWriting) return false;
    CZipFileHeader* h = m_centralDir.m_pOpenedFile;
    z_stream& s = m_info.m_stream;
    char* buffer = m_info.m_pBuffer.GetBuffer();
    uint32_t size = m_info.m_pBuffer.GetSize();
    uint64_t compressed = m_uWrittenIn;
    if (h->m_uMethod == 8) {
        s.next_in = nullptr;
        s.avail_in = 0;
        for (;;) {
            if (s.avail_out == 0) {
                WriteOut(buffer, size);
                s.next_out = reinterpret_cast<Bytef*>(buffer);
                s.avail_out = size;
            }
            int result = deflate(&s, Z_FINISH);
            if (result == Z_STREAM_END) break;
            if (result != Z_OK && !(result == Z_BUF_ERROR && s.avail_out == 0)) ThrowError(result);
        }
        compressed = s.total_out;
    }
    WriteOut(buffer, size - s.avail_out);
    compressed += h->m_uComprSize;  // the encryption header, if any
    if (compressed > maxField)
        throw CZipException(CZipException::tooBig, m_storage.GetPath(), "entry larger than 4 GiB");
    h->m_uComprSize = static_cast<uint32_t>(compressed);
    h->m_uUncomprSize = static_cast<uint32_t>(m_uWrittenIn);
    h->m_uCrc32 = m_info.m_uCrc32;
    m_centralDir.FinishNewFile(*h);
    ResetEntry();
    return true;
}

// ---- reading ----------------------------------------------------------------------------------------

bool CZipArchive::BeginEntryRead(uint16_t index)
{
    if (IsClosed() || index >= GetCount() || m_iFileOpened != stateNone || m_storage.IsNewSpan()) return false;
    m_centralDir.OpenFile(index);
    CZipFileHeader* h = m_centralDir.m_pOpenedFile;
    uint32_t compressed = h->m_uComprSize;
    if (h->IsEncrypted()) {
        if (m_pszPassword.GetSize() == 0) {
            m_centralDir.CloseFile();
            return false;
        }
        if (compressed < 12) ThrowError(ZIP_BADZIPFILE, "encrypted entry too short");
        if (!CheckCrypt()) ThrowError(ZIP_BADPASSWORD);
        compressed -= 12;
    }
    if (h->m_uMethod == 0 && compressed != h->m_uUncomprSize)
        ThrowError(ZIP_BADZIPFILE, "stored entry with differing sizes");
    m_info.m_pBuffer.Allocate(m_info.m_iBufferSize);
    m_info.m_uComprLeft = compressed;
    m_info.m_uUncomprLeft = h->m_uUncomprSize;
    m_info.m_uCrc32 = 0;
    m_bStreamEnded = false;
    m_info.m_stream.next_in = nullptr;
    m_info.m_stream.avail_in = 0;
    if (h->m_uMethod == 8) {
        int result = PrepareStream(streamInflate, 0);
        if (result != Z_OK) {
            ResetEntry();
            ThrowError(result);
        }
        m_bZlibInit = true;
    }
    m_iFileOpened = stateReading;
    return true;
}

void CZipArchive::FillInput()
{
    z_stream& s = m_info.m_stream;
    if (s.avail_in > 0 || m_info.m_uComprLeft == 0) return;
    uint32_t n = std::min(m_info.m_iBufferSize, m_info.m_uComprLeft);
    char* in = m_info.m_pBuffer.GetBuffer();
    m_storage.Read(in, n, false);
    if (m_centralDir.m_pOpenedFile->IsEncrypted())
        for (uint32_t i = 0; i < n; ++i) in[i] = CryptDecode(in[i]);
    m_info.m_uComprLeft -= n;
    s.next_in = reinterpret_cast<Bytef*>(in);
    s.avail_in = n;
}

uint32_t CZipArchive::ReadEntryData(void* buffer, uint32_t len)
{
    if (m_iFileOpened != stateReading) return 0;
    CZipFileHeader* h = m_centralDir.m_pOpenedFile;
    z_stream& s = m_info.m_stream;
    Bytef* out = static_cast<Bytef*>(buffer);
    uint32_t want = std::min(len, m_info.m_uUncomprLeft);
    uint32_t produced = 0;
    while (produced < want) {
        FillInput();
        if (h->m_uMethod == 0) {
            if (s.avail_in == 0) ThrowError(ZIP_BADZIPFILE, "stored data ends early");
            uint32_t n = std::min(s.avail_in, want - produced);
            std::memcpy(out + produced, s.next_in, n);
            s.next_in += n;
            s.avail_in -= n;
            produced += n;
            continue;
        }
        if (m_bStreamEnded) ThrowError(ZIP_BADZIPFILE, "compressed data ends before the declared size");
        uint32_t inBefore = s.avail_in;
        s.next_out = out + produced;
        s.avail_out = want - produced;
        int result = inflate(&s, Z_SYNC_FLUSH);
        uint32_t made = (want - produced) - s.avail_out;
        produced += made;
        if (result == Z_STREAM_END)
            m_bStreamEnded = true;
        else if (result == Z_OK || result == Z_BUF_ERROR) {
            if (made == 0 && inBefore == s.avail_in && (s.avail_in > 0 || m_info.m_uComprLeft == 0))
                ThrowError(ZIP_BADZIPFILE, "compressed data ends early");
        } else
            ThrowError(result);
    }
    m_info.m_uCrc32 = crc32(m_info.m_uCrc32, out, produced);
    m_info.m_uUncomprLeft -= produced;
    return produced;
}

int CZipArchive::EndEntryRead(const wchar_t* filePath)
{
    if (m_iFileOpened != stateReading) return -1;
    CZipFileHeader* h = m_centralDir.m_pOpenedFile;
    if (m_info.m_uUncomprLeft > 0) {
        AbortEntry();
        return -1;
    }
    z_stream& s = m_info.m_stream;
    if (h->m_uMethod == 8 && !m_bStreamEnded) {
        // All declared bytes are out; the stream must end here without producing more.
        Bytef extra;
        for (;;) {
            FillInput();
            uint32_t inBefore = s.avail_in;
            s.next_out = &extra;
            s.avail_out = 1;
            int result = inflate(&s, Z_SYNC_FLUSH);
            if (s.avail_out == 0) ThrowError(ZIP_BADZIPFILE, "more data than the declared size");
            if (result == Z_STREAM_END) break;
            if (result != Z_OK && result != Z_BUF_ERROR) ThrowError(result);
            if (inBefore == s.avail_in && m_info.m_uComprLeft == 0)
                ThrowError(ZIP_BADZIPFILE, "compressed stream is not terminated");
        }
    }
    if (s.avail_in > 0 || m_info.m_uComprLeft > 0)
        ThrowError(ZIP_BADZIPFILE, "compressed data continues after the end of the stream");
    if (m_info.m_uCrc32 != h->m_uCrc32) ThrowError(ZIP_BADCRC);
    uint16_t date = h->m_uModDate, time = h->m_uModTime;
    uint32_t attrs = h->GetSystemAttr();
    ResetEntry();
    if (filePath) return Zip::SetFileInfo(filePath, date, time, attrs);
    return 1;
}

void CZipArchive::AbortEntry()
{
    if (m_iFileOpened == stateNone) return;
    if (m_iFileOpened == stateWriting && !m_centralDir.m_headers.empty() && !m_storage.IsNewSpan()) {
        // Drop the unfinished entry so the archive stays valid.
        uint64_t offset = m_centralDir.m_headers.back()->m_uOffset;
        m_centralDir.RemoveLastFile();
        m_storage.TruncateForAppend(offset);
    }
    ResetEntry();
}

void CZipArchive::Close(bool afterException)
{
    if (IsClosed()) return;
    m_szMadeFolder.clear();
    if (afterException) {
        ResetEntry();
        EndStream();
        m_info.m_pBuffer.Release();
        m_chunk.Release();
        m_centralDir.Clear();
        m_storage.Close(true);
        return;
    }
    if (m_iFileOpened == stateReading)
        AbortEntry();
    else if (m_iFileOpened == stateWriting)
        EndEntryWrite();
    EndStream();
    m_info.m_pBuffer.Release();
    m_chunk.Release();
    if (!m_storage.IsReadOnly()) m_centralDir.Write();
    m_centralDir.Clear();
    m_storage.Close(false);
}

// ---- traditional PKWARE encryption ------------------------------------------------------------------

void CZipArchive::CryptInitKeys()
{
    m_keys[0] = 0x12345678;
    m_keys[1] = 0x23456789;
    m_keys[2] = 0x34567890;
    for (uint32_t i = 0; i < m_pszPassword.GetSize(); ++i) CryptUpdateKeys(m_pszPassword[i]);
}

void CZipArchive::CryptUpdateKeys(char c)
{
    const z_crc_t* table = get_crc_table();
    m_keys[0] = table[(m_keys[0] ^ static_cast<unsigned char>(c)) & 0xFF] ^ (m_keys[0] >> 8);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = table[(m_keys[2] ^ (m_keys[1] >> 24)) & 0xFF] ^ (m_keys[2] >> 8);
}

char CZipArchive::CryptDecode(char c)
{
    uint32_t t = (m_keys[2] | 2) & 0xFFFF;
    char plain = static_cast<char>(c ^ static_cast<char>((t * (t ^ 1)) >> 8));
    CryptUpdateKeys(plain);
    return plain;
}

char CZipArchive::CryptEncode(char c)
{
    uint32_t t = (m_keys[2] | 2) & 0xFFFF;
    char coded = static_cast<char>(c ^ static_cast<char>((t * (t ^ 1)) >> 8));
    CryptUpdateKeys(c);
    return coded;
}

bool CZipArchive::CheckCrypt()
{
    CZipFileHeader* h = m_centralDir.m_pOpenedFile;
    CryptInitKeys();
    char head[12];
    m_storage.Read(head, sizeof(head), false);
    for (char& c : head) c = CryptDecode(c);
    unsigned char check = static_cast<unsigned char>(h->IsDataDescr() ? h->m_uModTime >> 8 : h->m_uCrc32 >> 24);
    return static_cast<unsigned char>(head[11]) == check;
}
