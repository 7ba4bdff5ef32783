// Registry reads and tests: true when read / present.
#include "Common.h"
#include "PathText.h"
#include "RegKey.h"

using common_detail::ExpandEnvironment;
using common_detail::QueryRawValue;
using common_detail::RegKey;
using common_detail::ValueName;

namespace {

// Reads a REG_SZ / REG_EXPAND_SZ value as stored, cut at its first null.
bool ReadStoredString(HKEY root, const wchar_t* key, const wchar_t* value, REGSAM view, std::wstring& out, DWORD& type)
{
    out.clear();
    RegKey k;
    if (k.Open(root, key, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return false;
    std::wstring data;
    if (QueryRawValue(k.Get(), value, type, data) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    size_t end = data.find(L'\0');
    if (end != std::wstring::npos) data.resize(end);
    out.swap(data);
    return true;
}

// Lists subkey or value names of an open key.
bool EnumNames(HKEY root, const wchar_t* key, REGSAM view, bool values, CSBStringArrayW& names)
{
    names.Clear();
    RegKey k;
    REGSAM access = (values ? KEY_QUERY_VALUE : KEY_ENUMERATE_SUB_KEYS) | view;
    if (k.Open(root, key, access) != ERROR_SUCCESS) return false;
    // Registry names are at most 16,383 characters (255 for keys).
    std::wstring name(16384, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG status = values ? RegEnumValueW(k.Get(), index, &name[0], &length, nullptr, nullptr, nullptr, nullptr)
                             : RegEnumKeyExW(k.Get(), index, &name[0], &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return true;
        if (status != ERROR_SUCCESS) return false;
        names.AddString(std::wstring(name.c_str(), length).c_str());
    }
}

}  // namespace

bool SBRegGetStringValueW(HKEY root, const wchar_t* key, const wchar_t* value, std::wstring& out, REGSAM view)
{
    DWORD type = 0;
    if (!ReadStoredString(root, key, value, view, out, type)) return false;
    if (type == REG_EXPAND_SZ) out = ExpandEnvironment(out);
    return true;
}

bool SBRegGetStringValueNoExpandW(HKEY root, const wchar_t* key, const wchar_t* value, std::wstring& out, REGSAM view)
{
    DWORD type = 0;
    return ReadStoredString(root, key, value, view, out, type);
}

bool SBRegGetDWORDValueW(HKEY root, const wchar_t* key, const wchar_t* value, DWORD& out, REGSAM view)
{
    out = 0;
    RegKey k;
    if (k.Open(root, key, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return false;
    DWORD type = 0, data = 0, size = sizeof(data);
    if (RegQueryValueExW(k.Get(), ValueName(value), nullptr, &type, reinterpret_cast<LPBYTE>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
        return false;
    out = data;
    return true;
}

bool SBRegGetBinValueW(HKEY root, const wchar_t* key, const wchar_t* value, void* buffer, DWORD& size, REGSAM view)
{
    RegKey k;
    if (k.Open(root, key, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) {
        size = 0;
        return false;
    }
    DWORD needed = 0;
    if (RegQueryValueExW(k.Get(), ValueName(value), nullptr, nullptr, nullptr, &needed) != ERROR_SUCCESS) {
        size = 0;
        return false;
    }
    if (!buffer || needed > size) {  // too small: report the size needed, leave the buffer alone
        size = needed;
        return false;
    }
    DWORD got = size;
    if (RegQueryValueExW(k.Get(), ValueName(value), nullptr, nullptr, static_cast<LPBYTE>(buffer), &got) !=
        ERROR_SUCCESS) {
        size = got;
        return false;
    }
    size = got;
    return true;
}

bool SBRegGetSubKeysW(HKEY root, const wchar_t* key, CSBStringArrayW& names, REGSAM view)
{
    if (EnumNames(root, key, view, false, names)) return true;
    names.Clear();
    return false;
}

bool SBRegGetValuesW(HKEY root, const wchar_t* key, CSBStringArrayW& names, REGSAM view)
{
    if (EnumNames(root, key, view, true, names)) return true;
    names.Clear();
    return false;
}

bool RBRegGetMultiSZStringValueW(HKEY root, const wchar_t* key, const wchar_t* value,
                                 std::vector<std::wstring>& entries, REGSAM view)
{
    entries.clear();
    RegKey k;
    if (k.Open(root, key, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    std::wstring data;
    if (QueryRawValue(k.Get(), value, type, data) != ERROR_SUCCESS || type != REG_MULTI_SZ) return false;
    // Entries are null-separated; the list ends at an empty entry (double null) or the end of the data.
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find(L'\0', start);
        if (end == std::wstring::npos) end = data.size();
        if (end == start) break;
        entries.emplace_back(data, start, end - start);
        start = end + 1;
    }
    return true;
}

bool SBRegKeyExistW(HKEY root, const wchar_t* key, REGSAM view)
{
    // A key we may not read still exists.
    RegKey k;
    LONG status = k.Open(root, key, KEY_QUERY_VALUE | view);
    return status == ERROR_SUCCESS || status == ERROR_ACCESS_DENIED;
}

bool SBRegValueExistW(HKEY root, const wchar_t* key, const wchar_t* value, REGSAM view)
{
    RegKey k;
    if (k.Open(root, key, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return false;
    return RegQueryValueExW(k.Get(), ValueName(value), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

LONG SBRegOpenKeyW(HKEY root, const wchar_t* key, REGSAM access, HKEY* out)
{
    if (!out) return ERROR_INVALID_PARAMETER;
    *out = nullptr;
    if (!root) return ERROR_INVALID_HANDLE;
    std::wstring path = common_detail::CleanKeyPath(key);
    LONG status = RegOpenKeyExW(root, path.c_str(), 0, access, out);
    if (status != ERROR_SUCCESS) *out = nullptr;
    return status;
}
