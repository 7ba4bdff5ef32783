// Granting the Administrators group full access to a registry key.
#pragma once

#include <windows.h>

#include <string>

namespace Moravin {

// Object name of root\key in the named-security form ("MACHINE\...", "CURRENT_USER\...", "CLASSES_ROOT\...",
// "USERS\..."); empty for another root.
std::wstring RegistryObjectName(HKEY root, const std::wstring& key);

// Adds (or replaces) an entry giving BUILTIN\Administrators (S-1-5-32-544) KEY_ALL_ACCESS to the key's DACL,
// inherited by all subkeys. False at the first step that fails; the key's rights are then unchanged.
bool GrantAdministratorsFullAccess(const std::wstring& objectName);

}  // namespace Moravin
