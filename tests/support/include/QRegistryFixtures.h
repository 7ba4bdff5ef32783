// Registry fixtures for tests: values seeded with an exact type and read back exactly as stored.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace shell_test {

// A value as stored: its type and bytes (present false when the key or value is missing).
struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;

    // The text of a string value without its terminator(s); the entries of a REG_MULTI_SZ joined by '|'.
    std::wstring Text() const;
    DWORD Dword() const;
};

StoredValue ReadValue(HKEY root, const std::wstring& key, const wchar_t* value);
bool KeyExists(HKEY root, const std::wstring& key);

// Create the key when missing and write the value; true when written.
bool SeedValue(HKEY root, const std::wstring& key, const wchar_t* value, DWORD type, const void* data, DWORD size);
bool SeedString(HKEY root, const std::wstring& key, const wchar_t* value, const std::wstring& text,
                DWORD type = REG_SZ);
bool SeedDword(HKEY root, const std::wstring& key, const wchar_t* value, DWORD data);
bool SeedMultiString(HKEY root, const std::wstring& key, const wchar_t* value,
                     const std::vector<std::wstring>& entries);
// Deletes the key with everything below it (a missing key is fine).
void RemoveKey(HKEY root, const std::wstring& key);

// Creates the key when missing and takes every right away from it (an empty DACL) for as long as the object
// lives, so writes to it fail; the key's own rights come back at the end.
class LockedKey {
public:
    LockedKey(HKEY root, const std::wstring& key);
    ~LockedKey();
    LockedKey(const LockedKey&) = delete;
    LockedKey& operator=(const LockedKey&) = delete;
    bool locked() const { return m_locked; }

private:
    HKEY m_root;
    std::wstring m_key;
    std::vector<BYTE> m_saved;
    bool m_locked = false;
};

}  // namespace shell_test
