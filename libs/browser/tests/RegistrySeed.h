// Seeding and reading the test prefix's registry for the library's tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace grennow_test {

struct Stored {
    bool present = false;
    DWORD type = REG_NONE;
    std::wstring text;  // string types, as stored
    DWORD number = 0;   // REG_DWORD
};

void SetString(HKEY root, const std::wstring& key, const wchar_t* value, const std::wstring& text, DWORD type = REG_SZ);
void SetDword(HKEY root, const std::wstring& key, const wchar_t* value, DWORD number);
void CreateKey(HKEY root, const std::wstring& key);
Stored Read(HKEY root, const std::wstring& key, const wchar_t* value);
bool KeyExists(HKEY root, const std::wstring& key);
// Deletes the key with everything below it (a missing key is fine).
void DeleteTree(HKEY root, const std::wstring& key);
// Names of the direct subkeys, sorted.
std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& key);

// While it lives, nobody may set values or create subkeys in the key (an access list that denies it).
class WriteDenied {
public:
    WriteDenied(HKEY root, const std::wstring& key);
    ~WriteDenied();
    WriteDenied(const WriteDenied&) = delete;
    WriteDenied& operator=(const WriteDenied&) = delete;
    // False when the registry does not enforce the list (the test then has nothing to show).
    bool Enforced() const { return m_enforced; }

private:
    HKEY m_key = nullptr;
    bool m_enforced = false;
};

}  // namespace grennow_test
