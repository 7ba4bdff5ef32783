// Raw registry access for the tweak tests: fixtures are written and results read back with the Win32 API itself,
// in the view the product uses (a 64-bit build: the native one), or in the view given (KEY_WOW64_32KEY:
// Wow6432Node, where a 32-bit process's own writes land).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tessik_test {

struct RawValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    std::wstring Text() const;  // REG_SZ / REG_EXPAND_SZ without the terminator
    DWORD Dword() const;        // 0xFFFFFFFF unless a 4-byte REG_DWORD
};

RawValue ReadRaw(HKEY root, const std::wstring& key, const wchar_t* name, REGSAM view = 0);
bool KeyExists(HKEY root, const std::wstring& key);

void SetDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD data);
void SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ,
             REGSAM view = 0);
void SetBinary(HKEY root, const std::wstring& key, const wchar_t* name, const std::vector<BYTE>& data);
void DeleteValue(HKEY root, const std::wstring& key, const wchar_t* name, REGSAM view = 0);
void DeleteTree(HKEY root, const std::wstring& key);
void CreateKey(HKEY root, const std::wstring& key);

}  // namespace tessik_test
