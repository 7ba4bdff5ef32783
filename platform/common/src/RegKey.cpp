#include "RegKey.h"

namespace common_detail {

std::wstring CleanKeyPath(const wchar_t* key)
{
    std::wstring path = key ? key : L"";
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

LONG RegKey::Open(HKEY root, const wchar_t* key, REGSAM access)
{
    Close();
    if (!root) return ERROR_INVALID_HANDLE;
    std::wstring path = CleanKeyPath(key);
    return RegOpenKeyExW(root, path.c_str(), 0, access, &m_key);
}

LONG RegKey::Create(HKEY root, const wchar_t* key, REGSAM access)
{
    Close();
    if (!root) return ERROR_INVALID_HANDLE;
    std::wstring path = CleanKeyPath(key);
    return RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_key, nullptr);
}

void RegKey::Close()
{
    if (m_key) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
}

LONG QueryRawValue(HKEY key, const wchar_t* value, DWORD& type, std::wstring& data)
{
    // The data is kept in a wstring (rounded up to whole characters) so string values need no copy.
    DWORD bytes = 0;
    LONG status = RegQueryValueExW(key, ValueName(value), nullptr, &type, nullptr, &bytes);
    for (int attempt = 0; attempt < 8 && status == ERROR_SUCCESS; ++attempt) {
        data.assign(bytes / sizeof(wchar_t) + 2, L'\0');
        DWORD capacity = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD got = capacity;
        status = RegQueryValueExW(key, ValueName(value), nullptr, &type, reinterpret_cast<LPBYTE>(&data[0]), &got);
        if (status == ERROR_MORE_DATA) {  // the value grew between the two calls
            bytes = got > capacity ? got : capacity * 2;
            status = ERROR_SUCCESS;
            continue;
        }
        if (status == ERROR_SUCCESS) {
            // Keep the byte count in the text length; an odd trailing byte stays in the last character.
            data.resize((got + sizeof(wchar_t) - 1) / sizeof(wchar_t));
            return ERROR_SUCCESS;
        }
    }
    data.clear();
    return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

}  // namespace common_detail
