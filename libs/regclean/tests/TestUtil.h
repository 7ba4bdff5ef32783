// Fixture helpers shared by the engine's tests: temporary folders and files, registry seeding.
#pragma once

#include <windows.h>

#include <string>

namespace bxtest {

// A new empty folder below the temporary folder, without a trailing backslash.
std::wstring NewTempDir(const wchar_t* name);
void MakeFile(const std::wstring& path, const std::string& content = "x");
void MakeDir(const std::wstring& path);
bool FileExists(const std::wstring& path);
std::string ReadAll(const std::wstring& path);

// A short text unique to this process and call, used in fixture names.
std::wstring UniqueTag();

void CreateKey(HKEY root, const std::wstring& path);
void SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value,
               DWORD type = REG_SZ);
void SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);
void SetRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size);
bool KeyExists(HKEY root, const std::wstring& path);
bool ValueExists(HKEY root, const std::wstring& path, const std::wstring& name);
void DeleteTree(HKEY root, const std::wstring& path);

// The "data" folder beside the program, where the failed-entry file goes.
void CreateDataFolder();

// The access-control list of a key, as bytes.
std::string KeyDacl(HKEY root, const std::wstring& path);
// Gives Everyone only the listed rights on the key.
bool SetKeyAccess(HKEY root, const std::wstring& path, DWORD everyoneRights);

// Creates a registry link at path that points to the key target (root and path below it).
bool CreateLinkKey(HKEY root, const std::wstring& path, HKEY targetRoot, const std::wstring& target);
// True when the key at path is itself a registry link.
bool IsLink(HKEY root, const std::wstring& path);

}  // namespace bxtest
