// Names of registry roots and items as the engine shows and stores them.
#pragma once

#include <windows.h>

#include <string>

namespace bexlar {

// "HKCR", "HKCU", "HKLM", "HKU", "HKEY_CURRENT_CONFIG"; empty for any other root.
const wchar_t* ShortRootName(HKEY root);
// "HKEY_CLASSES_ROOT" ... as stored in the backup database; empty for any other root.
const char* FullRootName(HKEY root);
HKEY RootFromFullName(const std::string& name);

// Short root name, a backslash, the key path and the value name.
std::wstring FullItemText(HKEY root, const std::wstring& subKey, const std::wstring& valueName);

// Joins a key path and a subkey name with exactly one backslash.
std::wstring JoinKey(const std::wstring& path, const std::wstring& name);

// UTF-16 <-> UTF-8; ToUtf8 fails on text that does not convert both ways (unpaired surrogates).
bool ToUtf8(const std::wstring& text, std::string* out);
std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// The program's folder with a trailing backslash.
std::wstring ProgramFolder();
// Creates a folder and its parents; true when it exists afterwards.
bool CreateFolderChain(const std::wstring& folder);

}  // namespace bexlar
