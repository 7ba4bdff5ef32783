// The two registry walks the scan members share: over the subkeys and over the values of one key.
#pragma once

#include <windows.h>

namespace bexlar {

typedef bool (*SubKeyCallback)(HKEY key, const wchar_t* name, void* user);
typedef bool (*ValueCallback)(HKEY key, const wchar_t* name, const BYTE* data, DWORD type, DWORD size, void* user);

// Both call the callback once per entry, index 0 upwards, until it returns false. A key that cannot be opened
// gives no callback; an entry that cannot be read is passed with an empty name.
void WalkSubKeys(HKEY root, const wchar_t* subKey, SubKeyCallback callback, void* user);
void WalkValues(HKEY root, const wchar_t* subKey, ValueCallback callback, void* user);

}  // namespace bexlar
