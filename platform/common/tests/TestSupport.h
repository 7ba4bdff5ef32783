// Shared fixtures of the Common tests: a scratch registry key and a scratch folder, both removed afterwards.
#pragma once

#include "Common.h"

#include <gtest/gtest.h>

#include <string>

namespace common_test {

// Key paths under HKCU / HKLM used by the tests.
inline const wchar_t* TestKeyBase() { return L"Software\\QuorvelTest\\Common"; }

// Removes a key tree with the plain API (independent of the code under test).
inline void RawDeleteTree(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    wchar_t name[256];
    for (;;) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        RawDeleteTree(root, path + L"\\" + name);
    }
    RegCloseKey(key);
    RegDeleteKeyW(root, path.c_str());
}

// Type and bytes of a value read with the plain API; type REG_NONE and false when missing.
inline bool RawQuery(HKEY root, const std::wstring& key, const wchar_t* value, DWORD& type, std::wstring& bytes)
{
    type = REG_NONE;
    bytes.clear();
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG status = RegQueryValueExW(h, value, nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        bytes.assign(size / sizeof(wchar_t) + 1, L'\0');
        status = RegQueryValueExW(h, value, nullptr, &type, reinterpret_cast<LPBYTE>(&bytes[0]), &size);
        bytes.resize(size / sizeof(wchar_t));
    }
    RegCloseKey(h);
    return status == ERROR_SUCCESS;
}

inline void RawSet(HKEY root, const std::wstring& key, const wchar_t* value, DWORD type, const void* data, DWORD bytes)
{
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(h, value, 0, type, static_cast<const BYTE*>(data), bytes));
    RegCloseKey(h);
}

inline void RawSetString(HKEY root, const std::wstring& key, const wchar_t* value, DWORD type, const std::wstring& text)
{
    RawSet(root, key, value, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline bool RawKeyExists(HKEY root, const std::wstring& key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

// A fresh key HKCU\Software\QuorvelTest\Common\<test name> per test.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        m_key = std::wstring(TestKeyBase()) + L"\\" + std::wstring(name.begin(), name.end());
        RawDeleteTree(HKEY_CURRENT_USER, m_key);
    }
    void TearDown() override { RawDeleteTree(HKEY_CURRENT_USER, m_key); }

    std::wstring Key(const wchar_t* sub = nullptr) const { return sub ? m_key + L"\\" + sub : m_key; }

    std::wstring m_key;
};

// A fresh folder under the temporary folder per test.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("QvCommon_") + info->test_suite_name() + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        m_dir = std::wstring(temp) + std::wstring(name.begin(), name.end());
        SBDeleteDirectoryW(m_dir.c_str());
        ASSERT_TRUE(CreateDirectoryW(m_dir.c_str(), nullptr));
    }
    void TearDown() override { SBDeleteDirectoryW(m_dir.c_str()); }

    std::wstring Path(const std::wstring& relative) const { return m_dir + L"\\" + relative; }

    void WriteFile(const std::wstring& relative, size_t bytes = 0) const
    {
        HANDLE h = CreateFileW(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        std::string data(bytes, 'x');
        DWORD written = 0;
        if (bytes) ::WriteFile(h, data.data(), static_cast<DWORD>(bytes), &written, nullptr);
        CloseHandle(h);
    }

    void MakeFolder(const std::wstring& relative) const
    {
        ASSERT_TRUE(CreateDirectoryW(Path(relative).c_str(), nullptr));
    }

    std::wstring m_dir;
};

}  // namespace common_test
