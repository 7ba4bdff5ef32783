#include "QRegistryFixtures.h"

#include <shlwapi.h>

namespace shell_test {

std::wstring StoredValue::Text() const
{
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    if (type == REG_MULTI_SZ)
        for (wchar_t& c : text)
            if (c == L'\0') c = L'|';
    return text;
}

DWORD StoredValue::Dword() const
{
    DWORD data = 0;
    if (bytes.size() >= sizeof(data)) memcpy(&data, bytes.data(), sizeof(data));
    return data;
}

StoredValue ReadValue(HKEY root, const std::wstring& key, const wchar_t* value)
{
    StoredValue stored;
    HKEY h = nullptr;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return stored;
    DWORD size = 0;
    if (::RegQueryValueExW(h, value, nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.bytes.resize(size);
        stored.present =
            ::RegQueryValueExW(h, value, nullptr, &stored.type, stored.bytes.data(), &size) == ERROR_SUCCESS;
        stored.bytes.resize(size);
    }
    ::RegCloseKey(h);
    return stored;
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    ::RegCloseKey(h);
    return true;
}

bool SeedValue(HKEY root, const std::wstring& key, const wchar_t* value, DWORD type, const void* data, DWORD size)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    const bool written = ::RegSetValueExW(h, value, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    ::RegCloseKey(h);
    return written;
}

bool SeedString(HKEY root, const std::wstring& key, const wchar_t* value, const std::wstring& text, DWORD type)
{
    return SeedValue(root, key, value, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool SeedDword(HKEY root, const std::wstring& key, const wchar_t* value, DWORD data)
{
    return SeedValue(root, key, value, REG_DWORD, &data, sizeof(data));
}

bool SeedMultiString(HKEY root, const std::wstring& key, const wchar_t* value, const std::vector<std::wstring>& entries)
{
    std::wstring block;
    for (const std::wstring& entry : entries) block += entry + L'\0';
    block += L'\0';
    return SeedValue(root, key, value, REG_MULTI_SZ, block.data(), static_cast<DWORD>(block.size() * sizeof(wchar_t)));
}

void RemoveKey(HKEY root, const std::wstring& key)
{
    if (!key.empty()) ::SHDeleteKeyW(root, key.c_str());
}

LockedKey::LockedKey(HKEY root, const std::wstring& key) : m_root(root), m_key(key)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, WRITE_DAC | READ_CONTROL, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return;
    DWORD size = 0;
    ::RegGetKeySecurity(h, DACL_SECURITY_INFORMATION, nullptr, &size);
    m_saved.resize(size);
    if (size == 0 || ::RegGetKeySecurity(h, DACL_SECURITY_INFORMATION, m_saved.data(), &size) != ERROR_SUCCESS) {
        m_saved.clear();
        ::RegCloseKey(h);
        return;
    }
    SECURITY_DESCRIPTOR none;
    ACL empty;
    ::InitializeSecurityDescriptor(&none, SECURITY_DESCRIPTOR_REVISION);
    ::InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
    ::SetSecurityDescriptorDacl(&none, TRUE, &empty, FALSE);
    m_locked = ::RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, &none) == ERROR_SUCCESS;
    ::RegCloseKey(h);
}

LockedKey::~LockedKey()
{
    HKEY h = nullptr;
    if (!m_locked || ::RegOpenKeyExW(m_root, m_key.c_str(), 0, WRITE_DAC, &h) != ERROR_SUCCESS) return;
    ::RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, m_saved.data());
    ::RegCloseKey(h);
}

}  // namespace shell_test
