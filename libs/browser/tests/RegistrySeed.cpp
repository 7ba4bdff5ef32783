#include "RegistrySeed.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace grennow_test {

namespace {

HKEY Create(HKEY root, const std::wstring& key)
{
    HKEY h = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr))
        << "cannot create the key";
    return h;
}

void SetDacl(HKEY key, const wchar_t* sddl)
{
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd));
    LocalFree(sd);
}

}  // namespace

void SetString(HKEY root, const std::wstring& key, const wchar_t* value, const std::wstring& text, DWORD type)
{
    HKEY h = Create(root, key);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(h, value, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
    RegCloseKey(h);
}

void SetDword(HKEY root, const std::wstring& key, const wchar_t* value, DWORD number)
{
    HKEY h = Create(root, key);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(h, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number)));
    RegCloseKey(h);
}

void CreateKey(HKEY root, const std::wstring& key)
{
    HKEY h = Create(root, key);
    if (h) RegCloseKey(h);
}

Stored Read(HKEY root, const std::wstring& key, const wchar_t* value)
{
    Stored s;
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return s;
    BYTE data[4096] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegQueryValueExW(h, value, nullptr, &s.type, data, &size) == ERROR_SUCCESS) {
        s.present = true;
        if (s.type == REG_DWORD && size == sizeof(DWORD)) {
            memcpy(&s.number, data, sizeof(DWORD));
        } else if (s.type == REG_SZ || s.type == REG_EXPAND_SZ) {
            s.text.assign(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
            while (!s.text.empty() && s.text.back() == 0) s.text.pop_back();
        }
    }
    RegCloseKey(h);
    return s;
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

void DeleteTree(HKEY root, const std::wstring& key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
    for (const std::wstring& sub : SubKeys(h, L"")) DeleteTree(h, sub);
    RegCloseKey(h);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(root, key.c_str()));
}

std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& key)
{
    std::vector<std::wstring> names;
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(h, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(h);
    std::sort(names.begin(), names.end());
    return names;
}

WriteDenied::WriteDenied(HKEY root, const std::wstring& key)
{
    CreateKey(root, key);
    if (RegOpenKeyExW(root, key.c_str(), 0, READ_CONTROL | WRITE_DAC, &m_key) != ERROR_SUCCESS) {
        m_key = nullptr;
        return;
    }
    SetDacl(m_key, L"D:(D;;0x6;;;WD)(A;;KA;;;WD)");  // everyone: no KEY_SET_VALUE, no KEY_CREATE_SUB_KEY
    HKEY probe = nullptr;
    m_enforced = RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE, &probe) != ERROR_SUCCESS;
    if (probe) RegCloseKey(probe);
}

WriteDenied::~WriteDenied()
{
    if (!m_key) return;
    SetDacl(m_key, L"D:(A;;KA;;;WD)");
    RegCloseKey(m_key);
}

}  // namespace grennow_test
