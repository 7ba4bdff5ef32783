// Internal registry helpers of Common: key-path clean-up and a self-closing key handle.
#pragma once

#include <windows.h>

#include <string>

namespace common_detail {

// The key path without trailing backslashes; null becomes "".
std::wstring CleanKeyPath(const wchar_t* key);

// Null value name means the default value; RegQueryValueExW wants "" or null, both fine.
inline const wchar_t* ValueName(const wchar_t* value) { return value ? value : L""; }

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LONG Open(HKEY root, const wchar_t* key, REGSAM access);
    LONG Create(HKEY root, const wchar_t* key, REGSAM access);
    void Close();
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Reads the raw data of a value, growing the buffer until it fits. Type is returned in `type`.
LONG QueryRawValue(HKEY key, const wchar_t* value, DWORD& type, std::wstring& bytesAsText);

}  // namespace common_detail
