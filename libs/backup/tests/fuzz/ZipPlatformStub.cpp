// Operating-system services for the native fuzz build: archives come from memory only.
#include "ZipPlatform.h"

#include "ZipException.h"

namespace Zip {
CZipAbstractFile* OpenFile(const std::wstring& path, OpenMode)
{
    throw CZipException(CZipException::fileError, path, "no file system in this build");
}
bool FileExists(const std::wstring&) { return false; }
bool RemoveFile(const std::wstring&) { return false; }
bool RenameFile(const std::wstring&, const std::wstring&) { return false; }
bool IsRemovableDrive(const std::wstring&) { return false; }
uint64_t DiskFreeSpace(const std::wstring&) { return 0; }
bool LabelVolume(const std::wstring&, const std::wstring&) { return false; }

std::wstring ArchiveNameToWide(const char* bytes, uint32_t len, bool)
{
    std::wstring out;
    for (uint32_t i = 0; i < len; ++i) out += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::string WideToArchiveName(const std::wstring& name, bool& utf8)
{
    utf8 = false;
    std::string out;
    for (wchar_t c : name) out += static_cast<char>(c);
    return out;
}

bool GetFileInfo(const std::wstring&, FileInfo&) { return false; }
FileInfo MakeFileInfo(uint32_t attributes, uint64_t, uint64_t size)
{
    FileInfo info;
    info.attributes = attributes;
    info.size = size;
    return info;
}
int SetFileInfo(const std::wstring&, uint16_t, uint16_t, uint32_t) { return 1; }
bool CreateFolders(const std::wstring&) { return false; }
bool IsFolder(const std::wstring&) { return false; }
std::wstring MakeTempName(const std::wstring& target) { return target + L".tmp~0"; }
bool MoveIntoPlace(const std::wstring&, const std::wstring&) { return false; }
CZipAbstractFile* CreateNewFile(const std::wstring& path) { return OpenFile(path, openCreateNew); }
int SetOpenFileTime(CZipAbstractFile&, uint16_t, uint16_t) { return 1; }
int SetExtractedAttributes(const std::wstring&, uint32_t) { return 1; }
uint32_t RandomSeed() { return 1; }
}  // namespace Zip
