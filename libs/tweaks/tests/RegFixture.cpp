#include "RegFixture.h"

#include <shlwapi.h>

namespace tessik_test {

std::wstring RawValue::Text() const
{
    if (!exists || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::wstring();
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

DWORD RawValue::Dword() const
{
    if (!exists || type != REG_DWORD || data.size() != sizeof(DWORD)) return 0xFFFFFFFF;
    DWORD value = 0;
    memcpy(&value, data.data(), sizeof(value));
    return value;
}

RawValue ReadRaw(HKEY root, const std::wstring& key, const wchar_t* name, REGSAM view)
{
    RawValue value;
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &k) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExW(k, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExW(k, name, nullptr, &value.type, value.data.data(), &size) == ERROR_SUCCESS) {
            value.data.resize(size);
            value.exists = true;
        }
    }
    RegCloseKey(k);
    return value;
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

namespace {
void Write(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size,
           REGSAM view = 0)
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(k, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(k);
}
}  // namespace

void SetDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD data)
{
    Write(root, key, name, REG_DWORD, &data, sizeof(data));
}

void SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text, DWORD type, REGSAM view)
{
    Write(root, key, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), view);
}

void SetBinary(HKEY root, const std::wstring& key, const wchar_t* name, const std::vector<BYTE>& data)
{
    Write(root, key, name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}

void DeleteValue(HKEY root, const std::wstring& key, const wchar_t* name, REGSAM view)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE | view, &k) != ERROR_SUCCESS) return;
    RegDeleteValueW(k, name);
    RegCloseKey(k);
}

void DeleteTree(HKEY root, const std::wstring& key)
{
    if (!key.empty()) SHDeleteKeyW(root, key.c_str());
}

void CreateKey(HKEY root, const std::wstring& key)
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &k, nullptr) == ERROR_SUCCESS)
        RegCloseKey(k);
}

}  // namespace tessik_test
