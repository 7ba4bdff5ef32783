#include "RegistryAccess.h"

#include <aclapi.h>

namespace Moravin {

std::wstring RegistryObjectName(HKEY root, const std::wstring& key)
{
    const wchar_t* prefix = nullptr;
    if (root == HKEY_LOCAL_MACHINE)
        prefix = L"MACHINE\\";
    else if (root == HKEY_CURRENT_USER)
        prefix = L"CURRENT_USER\\";
    else if (root == HKEY_CLASSES_ROOT)
        prefix = L"CLASSES_ROOT\\";
    else if (root == HKEY_USERS)
        prefix = L"USERS\\";
    return prefix ? prefix + key : std::wstring();
}

bool GrantAdministratorsFullAccess(const std::wstring& objectName)
{
    if (objectName.empty()) return false;
    std::wstring name = objectName;  // the security calls take a writable text
    PACL oldDacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(&name[0], SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &oldDacl, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return false;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    bool granted = false;
    if (AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                 0, &administrators)) {
        EXPLICIT_ACCESSW access = {};
        access.grfAccessPermissions = KEY_ALL_ACCESS;
        access.grfAccessMode = SET_ACCESS;
        access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
        access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        access.Trustee.TrusteeType = TRUSTEE_IS_ALIAS;
        access.Trustee.ptstrName = static_cast<LPWSTR>(administrators);
        PACL newDacl = nullptr;
        if (SetEntriesInAclW(1, &access, oldDacl, &newDacl) == ERROR_SUCCESS) {
            granted = SetNamedSecurityInfoW(&name[0], SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                            newDacl, nullptr) == ERROR_SUCCESS;
            LocalFree(newDacl);
        }
        FreeSid(administrators);
    }
    LocalFree(descriptor);
    return granted;
}

}  // namespace Moravin
