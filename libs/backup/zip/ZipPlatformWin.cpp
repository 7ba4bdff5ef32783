// Windows services of the zip layer.
#include "ZipPlatform.h"

#include "ZipBigFile.h"
#include "ZipException.h"

#include <windows.h>

#include "QPathText.h"

#include <ctime>
#include <memory>

namespace {
std::wstring RootOf(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(path.c_str(), sizeof(full) / sizeof(full[0]), full, nullptr);
    std::wstring p = (n > 0 && n < sizeof(full) / sizeof(full[0])) ? std::wstring(full, n) : path;
    if (p.size() >= 2 && p[1] == L':') return p.substr(0, 2) + L"\\";
    return std::wstring();
}

std::wstring FromBytes(UINT codePage, const char* bytes, uint32_t len)
{
    if (len == 0) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(len), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(len), &out[0], n);
    return out;
}

std::string ToBytes(UINT codePage, DWORD flags, const std::wstring& text, BOOL* usedDefault)
{
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(codePage, flags, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                usedDefault);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, usedDefault);
    return out;
}

// A stored DOS local time as UTC; an invalid one reads as 1980-01-01.
bool ModificationTime(uint16_t dosDate, uint16_t dosTime, FILETIME& modified)
{
    FILETIME local;
    if (!DosDateTimeToFileTime(dosDate, dosTime, &local) && !DosDateTimeToFileTime(0x21, 0, &local)) return false;
    return LocalFileTimeToFileTime(&local, &modified) != FALSE;
}

// The attributes a restored file or folder gets from the stored ones (only those a user sets; none: normal).
DWORD RestoredAttributes(uint32_t stored)
{
    DWORD attrs =
        stored & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    return attrs == 0 ? FILE_ATTRIBUTE_NORMAL : attrs;
}

// The DOS date field holds 1980 to 2107: earlier times are stored as its start, later ones as its end.
void ToDosTime(const FILETIME& utc, uint16_t& date, uint16_t& time)
{
    FILETIME local;
    WORD d = 0, t = 0;
    if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToDosDateTime(&local, &d, &t)) {
        date = d;
        time = t;
        return;
    }
    SYSTEMTIME st;
    if (FileTimeToSystemTime(&utc, &st) && st.wYear > 2107) {
        date = static_cast<uint16_t>((127 << 9) | (12 << 5) | 31);
        time = static_cast<uint16_t>((23 << 11) | (59 << 5) | 29);
    } else {
        date = 0x21;
        time = 0;
    }
}
}  // namespace

namespace Zip {
CZipAbstractFile* OpenFile(const std::wstring& path, OpenMode mode)
{
    std::unique_ptr<CZipBigFile> file(new CZipBigFile);
    file->Open(path, mode);
    return file.release();
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::wstring& path)
{
    DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) != 0;
}

bool RenameFile(const std::wstring& from, const std::wstring& to) { return MoveFileW(from.c_str(), to.c_str()) != 0; }

bool MoveIntoPlace(const std::wstring& temp, const std::wstring& target)
{
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    // A read-only file in the way is replaced as well: restore puts back what the archive holds.
    DWORD attrs = GetFileAttributesW(target.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY) && (attrs & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesW(target.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
        return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    return false;
}

std::wstring MakeTempName(const std::wstring& target)
{
    for (unsigned n = 0;; ++n) {
        std::wstring name = target + L".tmp~" + std::to_wstring(n);
        if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
    }
}

bool IsRemovableDrive(const std::wstring& path)
{
    std::wstring root = RootOf(path);
    return !root.empty() && GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE;
}

uint64_t DiskFreeSpace(const std::wstring& path)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    std::wstring root = RootOf(path);
    if (!GetDiskFreeSpaceW(root.empty() ? nullptr : root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &clusters))
        return 0;
    return static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector * freeClusters;
}

bool LabelVolume(const std::wstring& root, const std::wstring& label)
{
    return SetVolumeLabelW(root.empty() ? nullptr : root.c_str(), label.c_str()) != 0;
}

std::wstring ArchiveNameToWide(const char* bytes, uint32_t len, bool utf8)
{
    return FromBytes(utf8 ? CP_UTF8 : CP_OEMCP, bytes, len);
}

std::string WideToArchiveName(const std::wstring& name, bool& utf8)
{
    BOOL usedDefault = FALSE;
    std::string oem = ToBytes(CP_OEMCP, WC_NO_BEST_FIT_CHARS, name, &usedDefault);
    if (!usedDefault && FromBytes(CP_OEMCP, oem.data(), static_cast<uint32_t>(oem.size())) == name) {
        utf8 = false;
        return oem;
    }
    utf8 = true;
    return ToBytes(CP_UTF8, 0, name, nullptr);
}

bool GetFileInfo(const std::wstring& path, FileInfo& info)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    info = MakeFileInfo(
        data.dwFileAttributes,
        (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime,
        (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    return true;
}

FileInfo MakeFileInfo(uint32_t attributes, uint64_t lastWriteUtc, uint64_t size)
{
    FileInfo info;
    info.attributes = attributes;
    info.size = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : size;
    FILETIME written;
    written.dwLowDateTime = static_cast<DWORD>(lastWriteUtc);
    written.dwHighDateTime = static_cast<DWORD>(lastWriteUtc >> 32);
    ToDosTime(written, info.dosDate, info.dosTime);
    return info;
}

int SetFileInfo(const std::wstring& path, uint16_t dosDate, uint16_t dosTime, uint32_t attributes)
{
    int status = 1;
    FILETIME modified, now;
    if (!ModificationTime(dosDate, dosTime, modified)) return 0;
    GetSystemTimeAsFileTime(&now);
    bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, folder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        status = 0;
    else {
        if (!SetFileTime(h, folder ? nullptr : &now, nullptr, &modified)) status = 0;
        CloseHandle(h);
    }
    DWORD attrs = RestoredAttributes(attributes);
    if (folder) attrs |= FILE_ATTRIBUTE_DIRECTORY;
    if (!SetFileAttributesW(path.c_str(), attrs)) status = -2;
    return status;
}

CZipAbstractFile* CreateNewFile(const std::wstring& path)
{
    std::unique_ptr<CZipBigFile> file(new CZipBigFile);
    try {
        file->Open(path, openCreateNew);
    } catch (const CZipException& e) {
        if (e.m_uSystemError == ERROR_FILE_EXISTS || e.m_uSystemError == ERROR_ALREADY_EXISTS ||
            (e.m_uSystemError == ERROR_ACCESS_DENIED && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES))
            return nullptr;
        throw;
    }
    return file.release();
}

int SetOpenFileTime(CZipAbstractFile& file, uint16_t dosDate, uint16_t dosTime)
{
    FILETIME modified;
    if (!ModificationTime(dosDate, dosTime, modified)) return 0;
    // Every file this layer opens is a CZipBigFile on Windows.
    return static_cast<CZipBigFile&>(file).SetLastWriteTime(modified) ? 1 : 0;
}

int SetExtractedAttributes(const std::wstring& path, uint32_t attributes)
{
    DWORD attrs = RestoredAttributes(attributes);
    if (attrs == FILE_ATTRIBUTE_ARCHIVE) return 1;
    return SetFileAttributesW(path.c_str(), attrs) ? 1 : -2;
}

bool CreateFolders(const std::wstring& path)
{
    if (path.empty()) return false;
    if (IsFolder(path)) return true;
    const std::wstring parent = qpath::ParentFolderOf(path);
    if (!parent.empty()) {
        bool isRoot = parent.size() == 2 && parent[1] == L':';
        if (!isRoot && !CreateFolders(parent)) return false;
    }
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    return IsFolder(path);
}

uint32_t RandomSeed() { return static_cast<uint32_t>(std::time(nullptr)) * GetTickCount(); }
}  // namespace Zip
