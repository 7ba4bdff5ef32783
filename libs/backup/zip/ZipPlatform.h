// Operating-system services the portable zip core needs (Win32 in the library, stubs in the fuzz build).
#pragma once

#include "ZipApi.h"

#include <cstdint>
#include <string>

class CZipAbstractFile;

namespace Zip {
enum OpenMode {
    openReadOnly,   // read, deny write
    openReadWrite,  // read and write an existing file, deny write
    openCreate,     // create or truncate, read and write, deny write
    openCreateNew,  // create a file that does not exist yet, read and write, deny write
};

// Opens a file; throws CZipException (fileError) on failure. The caller owns the result.
ZIP_API CZipAbstractFile* OpenFile(const std::wstring& path, OpenMode mode);
ZIP_API bool FileExists(const std::wstring& path);
ZIP_API bool RemoveFile(const std::wstring& path);
ZIP_API bool RenameFile(const std::wstring& from, const std::wstring& to);
ZIP_API bool IsRemovableDrive(const std::wstring& path);
ZIP_API uint64_t DiskFreeSpace(const std::wstring& path);
ZIP_API bool LabelVolume(const std::wstring& path, const std::wstring& label);

// Archive names: bytes in the OEM code page, or UTF-8 when flag bit 11 is set; "/" as separator.
ZIP_API std::wstring ArchiveNameToWide(const char* bytes, uint32_t len, bool utf8);
// Returns the bytes to store and whether they are UTF-8 (the name does not survive the OEM code page).
ZIP_API std::string WideToArchiveName(const std::wstring& name, bool& utf8);
}  // namespace Zip

namespace Zip {
struct FileInfo {
    uint16_t dosDate = 0x21;
    uint16_t dosTime = 0;
    uint32_t attributes = 0x20;
    uint64_t size = 0;
};

// Modification time (as DOS local date and time), attributes and size of a file or folder.
ZIP_API bool GetFileInfo(const std::wstring& path, FileInfo& info);
// The same from what a folder listing gave: attributes, last write time (UTC, 100-ns units since 1601), size.
ZIP_API FileInfo MakeFileInfo(uint32_t attributes, uint64_t lastWriteUtc, uint64_t size);
// Sets the modification time and attributes of an extracted file or folder:
// 1 done, 0 the times could not be set, -2 the attributes could not be set.
ZIP_API int SetFileInfo(const std::wstring& path, uint16_t dosDate, uint16_t dosTime, uint32_t attributes);
// Creates a folder and all missing parents; an existing folder is fine.
ZIP_API bool CreateFolders(const std::wstring& path);
ZIP_API bool IsFolder(const std::wstring& path);
// A new temporary file name beside target (target + ".tmp~<n>") that does not exist yet.
ZIP_API std::wstring MakeTempName(const std::wstring& target);
// Replaces target with the finished temporary file.
ZIP_API bool MoveIntoPlace(const std::wstring& temp, const std::wstring& target);
// Creates a file that does not exist yet (openCreateNew); null when something of that name is there already.
// Throws CZipException (fileError) on any other failure. The caller owns the result.
ZIP_API CZipAbstractFile* CreateNewFile(const std::wstring& path);
// Sets the modification time of a file this layer opened for writing, on its open handle, after the last write:
// 1 done, 0 not set.
ZIP_API int SetOpenFileTime(CZipAbstractFile& file, uint16_t dosDate, uint16_t dosTime);
// Gives an extracted file the stored attributes, unless they are what every new file has already (the archive
// bit alone): 1 done or not needed, -2 not set.
ZIP_API int SetExtractedAttributes(const std::wstring& path, uint32_t attributes);
// Seeds the encryption header generator.
ZIP_API uint32_t RandomSeed();
}  // namespace Zip
