// Adding files to and extracting entries into the file system.
#include "ZipArchive.h"

#include "ZipAbstractFile.h"
#include "ZipEntryName.h"
#include "ZipPlatform.h"

#include <memory>
#include <vector>

bool CZipArchive::AddFile(const std::wstring& path, int level, bool fullPath, ZIPCALLBACKFUN callback, void* userData,
                          uint32_t chunk)
{
    Zip::FileInfo info;
    if (!Zip::GetFileInfo(path, info)) return false;
    return AddFile(path, info, level, fullPath, callback, userData, chunk);
}

bool CZipArchive::AddFile(const std::wstring& path, const Zip::FileInfo& info, int level, bool fullPath,
                          ZIPCALLBACKFUN callback, void* userData, uint32_t chunk)
{
    if (chunk == 0) return false;
    std::wstring name = fullPath ? Zip::StoredPathFromFull(path) : Zip::LastComponent(path);
    while (!name.empty() && (name.back() == L'\\' || name.back() == L'/')) name.pop_back();
    if (name.empty()) return false;
    bool folder = (info.attributes & CZipFileHeader::attrDirectory) != 0;
    if (folder)
        name += L'/';
    else if (info.size > 0xFFFFFFFEu)
        return false;

    CZipFileHeader header;
    header.SetFileName(name);
    header.m_uModDate = info.dosDate;
    header.m_uModTime = info.dosTime;
    header.m_uExternalAttr = info.attributes;

    // Open the source before anything is written: an unreadable file adds no entry at all.
    std::unique_ptr<CZipAbstractFile> source;
    if (!folder) {
        try {
            source.reset(Zip::OpenFile(path, Zip::openReadOnly));
        } catch (const CZipException&) {
            return false;
        }
    }
    if (!CanAddEntry(folder ? 0 : info.size, header.m_pszFileName.GetSize() + header.m_pExtraField.GetSize()))
        throw CZipException(CZipException::tooBig, m_storage.GetPath(), "archive would pass 4 GiB or 65535 entries");
    if (!BeginEntryWrite(header, level)) return false;
    if (folder) return EndEntryWrite();

    char* buffer = m_chunk.Allocate(chunk);
    uint32_t done = 0;
    uint32_t length = static_cast<uint32_t>(info.size);
    try {
        for (;;) {
            uint32_t n = source->Read(buffer, chunk);
            if (n > 0) {
                WriteEntryData(buffer, n);
                done += n;
                if (callback && !callback(length, done, userData)) break;
            }
            if (n < chunk) break;
        }
    } catch (const CZipException& e) {
        if (e.m_iCause != CZipException::fileError) throw;
        AbortEntry();  // the source became unreadable: no entry rather than a damaged one
        return false;
    }
    source->Close();
    return EndEntryWrite();
}

bool CZipArchive::ExtractEntry(uint16_t index, const std::wstring& folder, bool fullPath, const wchar_t* newName,
                               ZIPCALLBACKFUN callback, void* userData, uint32_t chunk)
{
    if (chunk == 0 || IsClosed() || index >= GetCount()) return false;
    const CZipFileHeader* h = m_centralDir.m_headers[index];
    std::wstring name = newName ? std::wstring(newName) : h->GetFileName();
    std::wstring relative, reason;
    if (!Zip::SafeRelativePath(name, relative, reason)) return false;
    if (!fullPath) relative = Zip::LastComponent(relative);
    std::wstring dir = folder;
    while (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/')) dir.pop_back();
    std::wstring target = dir + L"\\" + relative;

    if (h->IsDirectory()) {
        if (!Zip::CreateFolders(target)) return false;
        return Zip::SetFileInfo(target, h->m_uModDate, h->m_uModTime, h->GetSystemAttr()) == 1;
    }
    if (!BeginEntryRead(index)) return false;
    uint32_t length = h->m_uUncomprSize;
    uint16_t date = h->m_uModDate, time = h->m_uModTime;
    uint32_t attrs = h->GetSystemAttr();
    // A new file is written under its final name while the journal records it as partial (a rename per file
    // costs as much as the rest of a small file's restore under Wine); without a journal, or when a file is there
    // already, the data goes under a temporary name (in the temporary folder, else beside the target) that takes
    // the target's name only when complete. Either way neither a failed entry nor a killed run leaves a partial
    // file that looks restored, and a file already there is replaced only by a whole entry.
    std::wstring written;
    std::unique_ptr<CZipAbstractFile> out;
    CZipExtractJournal* journal = nullptr;
    try {
        std::wstring parent = target.substr(0, target.rfind(L'\\'));
        if (!parent.empty() && parent != m_szMadeFolder) {
            if (!Zip::CreateFolders(parent))
                throw CZipException(CZipException::fileError, GetArchivePath(), "cannot create the target folder");
            m_szMadeFolder = parent;
        }
        if (m_pJournal) out.reset(Zip::CreateNewFile(target));
        if (out) {
            written = target;
            journal = m_pJournal;
            journal->Writing(target);
        } else {
            written = m_szTempFolder.empty() ? Zip::MakeTempName(target)
                                             : m_szTempFolder + L"\\" + std::to_wstring(++m_uTempCount) + L".tmp~";
            out.reset(Zip::OpenFile(written, Zip::openCreate));
        }
        char* buffer = m_chunk.Allocate(chunk);
        uint32_t done = 0;
        bool stopped = false;
        for (;;) {
            uint32_t n = ReadEntryData(buffer, chunk);
            if (n > 0) {
                out->Write(buffer, n);
                done += n;
                if (callback && !callback(length, done, userData)) {
                    stopped = true;
                    break;
                }
            }
            if (n < chunk) break;
        }
        if (stopped) {
            AbortEntry();
            CloseAndRemove(out, written);
            if (journal) journal->Written();
            return false;
        }
        if (EndEntryRead() == -1)  // checks the size and the checksum; throws when they do not match
        {
            CloseAndRemove(out, written);
            if (journal) journal->Written();
            return false;
        }
        int status = Zip::SetOpenFileTime(*out, date, time);
        out->Close();
        out.reset();
        if (Zip::SetExtractedAttributes(written, attrs) != 1) status = -2;
        if (journal)
            journal->Written();
        else if (!Zip::MoveIntoPlace(written, target)) {
            Zip::RemoveFile(written);
            throw CZipException(CZipException::fileError, GetArchivePath(), "cannot move the extracted file in place");
        }
        return status == 1;
    } catch (...) {
        AbortEntry();
        CloseAndRemove(out, written);
        if (journal) journal->Written();
        throw;
    }
}

void CZipArchive::CloseAndRemove(std::unique_ptr<CZipAbstractFile>& file, const std::wstring& path)
{
    if (file) {
        try {
            file->Close();
        } catch (...) {
        }
        file.reset();
    }
    if (!path.empty()) Zip::RemoveFile(path);
}
