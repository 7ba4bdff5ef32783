// Common.dll: registry, file, service and text helpers shared by the program and its libraries.
//
// Conventions for every function below:
// - Texts are wide. A null or empty value name means the key's default value.
// - Key paths are relative to `root` (an HKEY such as HKEY_LOCAL_MACHINE); trailing backslashes are ignored.
// - `view` is an extra access flag for the registry view (0, KEY_WOW64_64KEY or KEY_WOW64_32KEY). With 0 a
//   32-bit build sees the view a 32-bit process gets.
// - Reads return true when the value was read; on failure the out text/number/list is emptied (0 / "").
// - Writes return a Win32 status, ERROR_SUCCESS (0) for success, and create a missing key.
// - One C++ runtime is shared by all modules, so std::wstring / std::vector and heap buffers cross this boundary.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "CommonApi.h"

// ---------------------------------------------------------------------------------------------------------------
// String array handed between modules (created and deleted by the caller, filled here).
class COMMON_API CSBStringArrayW {
public:
    CSBStringArrayW();
    virtual ~CSBStringArrayW();

    // Appends a copy of the text (null appends an empty text).
    void AddString(const wchar_t* text);
    void Clear();
    int GetCount() const;
    // Copies entry `index` into buffer (capacity in characters, the callers use 1024), cut to fit and always
    // terminated. Returns false (and an empty buffer when capacity > 0) for an index out of range or no buffer.
    bool GetString(int index, wchar_t* buffer, int capacity) const;
    // Entry `index`, or an empty text for an index out of range.
    std::wstring GetString(int index) const;

private:
    std::vector<std::wstring> m_items;
};

// ---------------------------------------------------------------------------------------------------------------
// Registry reads: true when read.

// String value. REG_EXPAND_SZ is returned with environment references expanded; REG_SZ as stored.
// False (out empty) when the key or value is missing or the value is not a string type.
COMMON_API bool SBRegGetStringValueW(HKEY root, const wchar_t* key, const wchar_t* value, std::wstring& out,
                                     REGSAM view = 0);
// String value exactly as stored (REG_SZ or REG_EXPAND_SZ, nothing expanded).
COMMON_API bool SBRegGetStringValueNoExpandW(HKEY root, const wchar_t* key, const wchar_t* value, std::wstring& out,
                                             REGSAM view = 0);
// REG_DWORD value. False (out 0) when missing or of another type.
COMMON_API bool SBRegGetDWORDValueW(HKEY root, const wchar_t* key, const wchar_t* value, DWORD& out, REGSAM view = 0);
// Raw bytes of a value of any type. `size`: capacity of buffer in bytes on entry, bytes read on return.
// False with size 0 when missing; false when larger than the buffer (then size = the size needed, buffer
// untouched).
COMMON_API bool SBRegGetBinValueW(HKEY root, const wchar_t* key, const wchar_t* value, void* buffer, DWORD& size,
                                  REGSAM view = 0);
// Names of the direct subkeys. The array is cleared first; false (array empty) when the key cannot be opened.
COMMON_API bool SBRegGetSubKeysW(HKEY root, const wchar_t* key, CSBStringArrayW& names, REGSAM view = 0);
// Names of the key's values ("" for a set default value). Array cleared first; false when the key cannot be opened.
COMMON_API bool SBRegGetValuesW(HKEY root, const wchar_t* key, CSBStringArrayW& names, REGSAM view = 0);
// REG_MULTI_SZ entries in order. The list is cleared first; false when missing or of another type.
COMMON_API bool RBRegGetMultiSZStringValueW(HKEY root, const wchar_t* key, const wchar_t* value,
                                            std::vector<std::wstring>& entries, REGSAM view = 0);

// ---------------------------------------------------------------------------------------------------------------
// Registry tests and opening.

COMMON_API bool SBRegKeyExistW(HKEY root, const wchar_t* key, REGSAM view = 0);
COMMON_API bool SBRegValueExistW(HKEY root, const wchar_t* key, const wchar_t* value, REGSAM view = 0);
// Opens root\key with `access` (view flags may be included). 0 when opened; the caller closes *out with RegCloseKey.
// On failure *out is null.
COMMON_API LONG SBRegOpenKeyW(HKEY root, const wchar_t* key, REGSAM access, HKEY* out);

// ---------------------------------------------------------------------------------------------------------------
// Registry writes: status 0 for success; the key is created when missing (not for the deletes).

// Writes a string. An existing REG_SZ or REG_EXPAND_SZ value keeps its type; any other (new) value becomes REG_SZ.
// A null text writes an empty string.
COMMON_API LONG SBRegSetStringValueW(HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text,
                                     REGSAM view = 0);
// Writes a string that refers to an environment variable ("%name%") as REG_EXPAND_SZ, as the system's own such
// values are (readers expand only that type); any other text as SBRegSetStringValueW does.
COMMON_API LONG SBRegSetStringValueExpandableW(HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text,
                                               REGSAM view = 0);
// Writes a string, always as REG_SZ.
COMMON_API LONG SBRegSetStringValueNoExpandW(HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text,
                                             REGSAM view = 0);
COMMON_API LONG SBRegSetDWORDValueW(HKEY root, const wchar_t* key, const wchar_t* value, DWORD data, REGSAM view = 0);
// Writes `size` bytes as REG_BINARY (size 0 writes an empty value; null data with size > 0 is refused).
COMMON_API LONG SBRegSetBinValueW(HKEY root, const wchar_t* key, const wchar_t* value, const void* data, DWORD size,
                                  REGSAM view = 0);
// Writes the entries as REG_MULTI_SZ. Empty entries are left out (a REG_MULTI_SZ cannot hold them).
COMMON_API LONG RBRegSetMultiSZStringValueW(HKEY root, const wchar_t* key, const wchar_t* value,
                                            const std::vector<std::wstring>& entries, REGSAM view = 0);
// Deletes one value. ERROR_FILE_NOT_FOUND (2) when the key or the value is missing.
COMMON_API LONG SBRegDeleteValueW(HKEY root, const wchar_t* key, const wchar_t* value, REGSAM view = 0);
// Deletes root\key with everything below it. A null, empty or all-backslash key path is refused with
// ERROR_INVALID_PARAMETER (it would name the root itself); ERROR_FILE_NOT_FOUND when the key is missing.
COMMON_API LONG SBRegDeleteTreeW(HKEY root, const wchar_t* key, REGSAM view = 0);
// Deletes every value of root\key (default value included); the key and its subkeys stay.
// ERROR_FILE_NOT_FOUND when the key is missing; an empty key path is refused (ERROR_INVALID_PARAMETER).
COMMON_API LONG SBRegClearValuesW(HKEY root, const wchar_t* key, REGSAM view = 0);

// ---------------------------------------------------------------------------------------------------------------
// Files and folders.

// True when the path names an existing file OR folder. Null or empty: false.
COMMON_API bool SBIsFileExistW(const wchar_t* path);
// True when the file exists: environment references are expanded first; a name without a folder is looked up in
// the system folder, the Windows folder and the PATH. Folders count as existing too.
COMMON_API bool SBIsFileExistInSystemW(const wchar_t* path);
// Size in bytes; -1 when the path is missing, is a folder, or cannot be read.
COMMON_API long long SBGetFileSizeW(const wchar_t* path);
// Extension of the last path component with its dot (".txt" for "a.b.txt"); "" when that component has no dot
// ("noext", "dir.x\file"). A name that is only an extension (".tmp") returns itself.
COMMON_API std::wstring SBGetFileExtW(const wchar_t* path);
// Program path of a command line: the quoted part when it starts with a quote; otherwise the shortest prefix ending
// at a blank that names an existing file (bare names: in the system folders), else the text up to the first executable extension (.exe .com .bat .cmd
// .dll .scr .cpl .pif .msc .vbs .js) that ends at a blank, comma or the end, else the first word. Environment
// references are expanded. Writes into buffer (capacity in characters, cut to fit). Non-zero when a path was found;
// 0 (empty buffer) for an empty command. The path returned need not exist.
COMMON_API int SBGetFileNameFromCommandW(const wchar_t* command, wchar_t* buffer, int capacity);
COMMON_API bool SBGetFileNameFromCommandW(const wchar_t* command, std::wstring& path);
// Normalises a path in place: '/' becomes '\', repeated backslashes are folded (a leading "\\" of a network path is
// kept), "\.\" segments are dropped. Never lengthens the text. Returns `path` (null stays null).
COMMON_API wchar_t* SBNormalizePathW(wchar_t* path);
COMMON_API std::wstring SBNormalizePathW(const std::wstring& path);
// Version-resource texts (CompanyName, FileDescription, FileVersion) of the file's first language, or of
// US English when none is listed. FileVersion falls back to the fixed version "a.b.c.d". Into buffer (capacity in
// characters, cut to fit); false with an empty text when the file has no such text.
COMMON_API bool SBGetFileCompanyW(const wchar_t* path, wchar_t* buffer, int capacity);
COMMON_API bool SBGetFileDescriptionW(const wchar_t* path, wchar_t* buffer, int capacity);
COMMON_API bool SBGetFileVersionW(const wchar_t* path, wchar_t* buffer, int capacity);
COMMON_API std::wstring SBGetFileCompanyW(const wchar_t* path);
COMMON_API std::wstring SBGetFileDescriptionW(const wchar_t* path);
COMMON_API std::wstring SBGetFileVersionW(const wchar_t* path);

// Flags of the folder listers.
enum { SB_LIST_NAMES = 0, SB_LIST_FULLPATH = 1, SB_LIST_NO_LINKED = 2 };
// Plain files (SBGetVectorFilesW) or sub-folders (SBGetVectorSubDirsW, without "." and "..") of the folder, in
// enumeration order. With flags 0 the entries are names without the folder; SB_LIST_FULLPATH gives folder\name;
// SB_LIST_NO_LINKED leaves out linked folders (reparse points: junctions, symbolic links).
// The list is cleared first. False (list empty) for a null or empty folder (never the current drive's root) or a
// folder that cannot be listed.
COMMON_API bool SBGetVectorFilesW(const wchar_t* folder, std::vector<std::wstring>& names, int flags = 0);
COMMON_API bool SBGetVectorSubDirsW(const wchar_t* folder, std::vector<std::wstring>& names, int flags = 0);
// Creates the folder and any missing parents ('\' or '/'). Non-zero when the folder exists afterwards.
COMMON_API BOOL SBRecursiveCreateDirectoryW(const wchar_t* path);
// Removes the folder with all its contents (read-only files included; linked folders are unlinked, their targets
// untouched). Refuses (returns 0) a null or empty path, any root ("\", "C:\", "\\server\share", also reached through
// "..") and drive-relative paths ("C:", "C:name").
// Non-zero when the folder no longer exists afterwards (a missing folder counts as removed).
COMMON_API BOOL SBDeleteDirectoryW(const wchar_t* path);
// The program's folder with a trailing backslash. Returns its length, or 0 (empty buffer) when it does not fit.
COMMON_API int SBGetAppPathW(wchar_t* buffer, int capacity);
COMMON_API std::wstring SBGetAppPathW();

// Flag of SBGetFixedDiskW.
enum { SB_FIXED_DEFRAGGABLE = 0, SB_FIXED_ALL = 1 };
// Root paths ("C:\") of the fixed drives in letter order. SB_FIXED_DEFRAGGABLE (0) skips drives a defragmenter
// cannot process (file system not NTFS, FAT, FAT32 or exFAT, or unreadable); SB_FIXED_ALL (1) lists every fixed
// drive. The list is cleared first. Returns the number of roots.
COMMON_API int SBGetFixedDiskW(std::vector<std::wstring>& roots, int flag);

// ---------------------------------------------------------------------------------------------------------------
// System.

// Loads the DLL and calls its DllRegisterServer. True when that returns S_OK. Pass a full path: a bare name is
// loaded through the DLL search order.
COMMON_API bool SBRegisterDll(const wchar_t* dllPath);
// Starts a service given its display name (surrounding quotes are removed; a service key name is accepted too)
// and waits (up to 30 s) until it leaves the start-pending state. True when the service runs afterwards (also when
// it already ran).
COMMON_API bool SBStartServiceW(const wchar_t* displayName);
// True when the service (key name, or display name) is in the running state.
COMMON_API bool SBIsSvcRunW(const wchar_t* serviceName);

// Kinds reported by GetOSVersion.
enum { SB_OS_WIN7 = 1, SB_OS_VISTA = 2, SB_OS_XP = 3 };
// Version 6.1 and above (Windows 7 and later) -> SB_OS_WIN7, 6.0 -> SB_OS_VISTA, older -> SB_OS_XP; is64 true on
// 64-bit Windows (a 64-bit process, or a 32-bit one under WOW64). Returns true (the version is always known).
COMMON_API bool GetOSVersion(int& kind, bool& is64);
// True for a 32-bit process on 64-bit Windows; always false in a 64-bit build.
COMMON_API bool IsWow64();

// ---------------------------------------------------------------------------------------------------------------
// Text (ANSI code page).

// Widens the text into a buffer owned by the calling thread; valid until this thread's next call. The caller copies
// it and frees nothing. Null gives "".
COMMON_API const wchar_t* SBCharToWChar(const char* text);
// Narrows the text into a new[] buffer the caller owns: free it with delete[] (or SBFreeCharBuffer). Null gives "".
COMMON_API char* SBWCharToChar(const wchar_t* text);
// Frees a buffer from SBWCharToChar (delete[]); null is ignored.
COMMON_API void SBFreeCharBuffer(char* buffer);
