#include "RegDelete.h"

#include <shlwapi.h>

#include "RegNames.h"

namespace bexlar {

namespace {

// Administrators and LocalSystem: full access, no inheritance flags.
class FullAccessDescriptor {
public:
    FullAccessDescriptor() {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                      &admins_) ||
            !AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system_))
            return;
        DWORD aclSize = sizeof(ACL) + 2 * sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(admins_) + GetLengthSid(system_);
        acl_.resize(aclSize);
        PACL acl = reinterpret_cast<PACL>(acl_.data());
        ok_ = InitializeAcl(acl, aclSize, ACL_REVISION) &&
              AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, admins_) &&
              AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, system_) &&
              InitializeSecurityDescriptor(&sd_, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorOwner(&sd_, admins_, FALSE) && SetSecurityDescriptorDacl(&sd_, TRUE, acl, FALSE);
    }
    ~FullAccessDescriptor() {
        if (admins_) FreeSid(admins_);
        if (system_) FreeSid(system_);
    }
    PSECURITY_DESCRIPTOR get() { return ok_ ? &sd_ : nullptr; }

private:
    PSID admins_ = nullptr;
    PSID system_ = nullptr;
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR sd_ = {};
    bool ok_ = false;
};

}  // namespace

bool KeyGone(HKEY root, const std::wstring& subKey) {
    HKEY key = nullptr;
    LONG err = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (err == ERROR_SUCCESS) RegCloseKey(key);
    return err == ERROR_FILE_NOT_FOUND;
}

void SavedKeySecurity::GrantFullAccess(HKEY root, const std::wstring& subKey) {
    FullAccessDescriptor full;
    if (!full.get()) return;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, READ_CONTROL | WRITE_DAC | WRITE_OWNER, &key) != ERROR_SUCCESS) return;
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    Entry entry{root, subKey, std::vector<BYTE>(size)};
    bool saved = size > 0 && RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, entry.descriptor.data(), &size) ==
                                 ERROR_SUCCESS;
    // A list that cannot be saved is not replaced.
    if (saved && RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, full.get()) == ERROR_SUCCESS)
        saved_.push_back(std::move(entry));
    RegCloseKey(key);

    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    std::vector<std::wstring> children;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.push_back(std::wstring(name, len));
    }
    RegCloseKey(key);
    for (const std::wstring& child : children) GrantFullAccess(root, JoinKey(subKey, child));
}

void SavedKeySecurity::Restore() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(it->root, it->path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) continue;
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, it->descriptor.data());
        RegCloseKey(key);
    }
    saved_.clear();
}

long DeleteKeyTree(HKEY root, const std::wstring& subKey) {
    std::wstring path = subKey;
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    if (path.empty()) return E_INVALIDARG;  // would empty the whole root

    LONG status = SHDeleteKeyW(root, path.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return status;  // nothing was there to delete
    if (KeyGone(root, path)) return ERROR_SUCCESS;
    if (status == ERROR_ACCESS_DENIED) {
        SavedKeySecurity security;
        security.GrantFullAccess(root, path);
        status = SHDeleteKeyW(root, path.c_str());
        if (KeyGone(root, path)) return ERROR_SUCCESS;
        security.Restore();
    }
    return status != ERROR_SUCCESS ? status : E_FAIL;
}

long DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName) {
    HKEY key = nullptr;
    LONG err = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, &key);
    if (err == ERROR_ACCESS_DENIED) return SHDeleteValueW(root, subKey.c_str(), valueName.c_str());
    if (err != ERROR_SUCCESS) return err;
    LONG status = RegDeleteValueW(key, valueName.c_str());
    // Gone only when it can no longer be read.
    if (status == ERROR_SUCCESS && RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, nullptr, nullptr) !=
                                       ERROR_FILE_NOT_FOUND)
        status = E_FAIL;
    RegCloseKey(key);
    return status;
}

void CValueDeleter::Release() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
    root_ = nullptr;
    path_.clear();
}

long CValueDeleter::Delete(HKEY root, const std::wstring& subKey, const std::wstring& valueName) {
    if (!key_ || root_ != root || path_ != subKey) {
        Release();
        LONG err = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, &key_);
        if (err != ERROR_SUCCESS) {
            key_ = nullptr;
            return DeleteValue(root, subKey, valueName);
        }
        root_ = root;
        path_ = subKey;
    }
    LONG status = RegDeleteValueW(key_, valueName.c_str());
    if (status == ERROR_KEY_DELETED) {
        // The key went away since it was opened: look again by path.
        Release();
        return DeleteValue(root, subKey, valueName);
    }
    if (status == ERROR_SUCCESS &&
        RegQueryValueExW(key_, valueName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND)
        status = E_FAIL;
    return status;
}

}  // namespace bexlar
