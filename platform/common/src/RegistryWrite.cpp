// Registry writes and deletes: status 0 for success.
#include "Common.h"
#include "RegKey.h"

#include <algorithm>
#include <cwctype>

using common_detail::RegKey;
using common_detail::ValueName;

namespace {

LONG SetValue(HKEY root, const wchar_t* key, const wchar_t* value, DWORD type, const void* data, DWORD bytes,
              REGSAM view)
{
    RegKey k;
    LONG status = k.Create(root, key, KEY_SET_VALUE | view);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(k.Get(), ValueName(value), 0, type, static_cast<const BYTE*>(data), bytes);
}

LONG SetString(HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text, DWORD type, REGSAM view)
{
    std::wstring data = text ? text : L"";
    DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return SetValue(root, key, value, type, data.c_str(), bytes, view);
}

typedef LONG(WINAPI* RegDeleteKeyExWFn)(HKEY, LPCWSTR, REGSAM, DWORD);

// RegDeleteKeyExW (needed to delete in another registry view) is not on 32-bit XP, where views do not exist.
LONG DeleteOneKey(HKEY parent, const wchar_t* name, REGSAM view)
{
    if (view) {
        static RegDeleteKeyExWFn deleteKeyEx = reinterpret_cast<RegDeleteKeyExWFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegDeleteKeyExW")));
        if (deleteKeyEx) return deleteKeyEx(parent, name, view, 0);
    }
    return RegDeleteKeyW(parent, name);
}

// Deletes parent\name and everything below it, depth first.
LONG DeleteTreeBelow(HKEY parent, const wchar_t* name, REGSAM view, int depth)
{
    if (depth > 512)  // registry nesting is limited far below this; guards against link loops
        return ERROR_CANTWRITE;
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(parent, name, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | view, &key);
    if (status != ERROR_SUCCESS) return status;
    wchar_t child[256];
    DWORD index = 0;  // stays 0 while children are deleted; moves past a child that cannot be deleted
    LONG childFailure = ERROR_SUCCESS;
    for (;;) {
        DWORD length = static_cast<DWORD>(sizeof(child) / sizeof(child[0]));
        LONG e = RegEnumKeyExW(key, index, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (e == ERROR_NO_MORE_ITEMS) break;
        if (e != ERROR_SUCCESS) {
            childFailure = e;
            break;
        }
        LONG d = DeleteTreeBelow(key, child, view, depth + 1);
        if (d != ERROR_SUCCESS) {
            childFailure = d;
            ++index;
        }
    }
    RegCloseKey(key);
    if (childFailure != ERROR_SUCCESS) return childFailure;
    return DeleteOneKey(parent, name, view);
}

// "%name%" with a name of one or more characters and no blanks: "%1" and "100%" are no such reference.
bool RefersToEnvironment(const wchar_t* text)
{
    for (const wchar_t* open = text ? wcschr(text, L'%') : nullptr; open; open = wcschr(open + 1, L'%')) {
        const wchar_t* close = wcschr(open + 1, L'%');
        if (!close) return false;
        if (close > open + 1 && std::find_if(open + 1, close, [](wchar_t c) { return iswspace(c) != 0; }) == close)
            return true;
        open = close - 1;  // the closing mark may open the next reference
    }
    return false;
}

}  // namespace

LONG SBRegSetStringValueW(HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text, REGSAM view)
{
    // Keep REG_EXPAND_SZ when the value already has it; everything else is written as a plain string.
    DWORD type = REG_SZ;
    RegKey existing;
    if (existing.Open(root, key, KEY_QUERY_VALUE | view) == ERROR_SUCCESS) {
        DWORD current = 0;
        if (RegQueryValueExW(existing.Get(), ValueName(value), nullptr, &current, nullptr, nullptr) == ERROR_SUCCESS &&
            current == REG_EXPAND_SZ)
            type = REG_EXPAND_SZ;
    }
    existing.Close();
    return SetString(root, key, value, text, type, view);
}

LONG SBRegSetStringValueExpandableW(HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text,
                                    REGSAM view)
{
    if (RefersToEnvironment(text)) return SetString(root, key, value, text, REG_EXPAND_SZ, view);
    return SBRegSetStringValueW(root, key, value, text, view);
}

LONG SBRegSetStringValueNoExpandW(HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text, REGSAM view)
{
    return SetString(root, key, value, text, REG_SZ, view);
}

LONG SBRegSetDWORDValueW(HKEY root, const wchar_t* key, const wchar_t* value, DWORD data, REGSAM view)
{
    return SetValue(root, key, value, REG_DWORD, &data, sizeof(data), view);
}

LONG SBRegSetBinValueW(HKEY root, const wchar_t* key, const wchar_t* value, const void* data, DWORD size, REGSAM view)
{
    if (!data && size > 0) return ERROR_INVALID_PARAMETER;
    return SetValue(root, key, value, REG_BINARY, data, size, view);
}

LONG RBRegSetMultiSZStringValueW(HKEY root, const wchar_t* key, const wchar_t* value,
                                 const std::vector<std::wstring>& entries, REGSAM view)
{
    std::wstring data;
    for (const std::wstring& entry : entries) {
        std::wstring text(entry.c_str());  // an embedded null would split the entry
        if (text.empty()) continue;
        data += text;
        data += L'\0';
    }
    data += L'\0';
    if (data.size() == 1)  // an empty list is two nulls
        data += L'\0';
    DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    return SetValue(root, key, value, REG_MULTI_SZ, data.data(), bytes, view);
}

LONG SBRegDeleteValueW(HKEY root, const wchar_t* key, const wchar_t* value, REGSAM view)
{
    RegKey k;
    LONG status = k.Open(root, key, KEY_SET_VALUE | view);
    if (status != ERROR_SUCCESS) return status;
    return RegDeleteValueW(k.Get(), ValueName(value));
}

LONG SBRegDeleteTreeW(HKEY root, const wchar_t* key, REGSAM view)
{
    // An empty path would name the root itself and wipe every key below it.
    std::wstring path = common_detail::CleanKeyPath(key);
    if (path.empty() || !root) return ERROR_INVALID_PARAMETER;
    return DeleteTreeBelow(root, path.c_str(), view, 0);
}

LONG SBRegClearValuesW(HKEY root, const wchar_t* key, REGSAM view)
{
    // An empty path would clear the root's own values.
    if (common_detail::CleanKeyPath(key).empty()) return ERROR_INVALID_PARAMETER;
    RegKey k;
    LONG status = k.Open(root, key, KEY_QUERY_VALUE | KEY_SET_VALUE | view);
    if (status != ERROR_SUCCESS) return status;
    std::wstring name(16384, L'\0');
    DWORD index = 0;  // stays 0 while values are deleted
    LONG failure = ERROR_SUCCESS;
    for (;;) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG e = RegEnumValueW(k.Get(), index, &name[0], &length, nullptr, nullptr, nullptr, nullptr);
        if (e == ERROR_NO_MORE_ITEMS) break;
        if (e != ERROR_SUCCESS) return e;
        LONG d = RegDeleteValueW(k.Get(), std::wstring(name.c_str(), length).c_str());
        if (d != ERROR_SUCCESS) {
            failure = d;
            ++index;
        }
    }
    return failure;
}
