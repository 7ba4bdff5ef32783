#include "RegDelete.h"

#include <shlwapi.h>

#include "RegNames.h"

namespace bexlar {

namespace {

// Administrators and LocalSystem: full access, no inheritance flags.
class FullAccessDescriptor {
public:
    FullAccessDescriptor()
    {
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
    ~FullAccessDescriptor()
    {
        if (admins_) FreeSid(admins_);
        if (system_) FreeSid(system_);
    }
    FullAccessDescriptor(const FullAccessDescriptor&) = delete;
    FullAccessDescriptor& operator=(const FullAccessDescriptor&) = delete;
    PSECURITY_DESCRIPTOR get() { return ok_ ? &sd_ : nullptr; }

private:
    PSID admins_ = nullptr;
    PSID system_ = nullptr;
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR sd_ = {};
    bool ok_ = false;
};

typedef LONG(WINAPI* NtDeleteKeyFn)(HANDLE);
typedef ULONG(WINAPI* RtlNtStatusToDosErrorFn)(LONG);

// Deletes exactly the key behind the handle (a link key itself, not what it points to).
LONG DeleteOpenKey(HKEY key)
{
    static const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    static const auto del =
        reinterpret_cast<NtDeleteKeyFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDeleteKey")));
    static const auto toDos = reinterpret_cast<RtlNtStatusToDosErrorFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlNtStatusToDosError")));
    if (!del || !toDos) return ERROR_CALL_NOT_IMPLEMENTED;
    LONG status = del(key);
    return status == 0 ? ERROR_SUCCESS : static_cast<LONG>(toDos(status));
}

// Deletes the key and everything below it, depth first. Links met on the way are removed as links: nothing is
// ever deleted through one.
LONG DeleteTreeNoFollow(HKEY root, const std::wstring& path)
{
    qcore::UniqueRegKey owner;
    LONG err = OpenKeyNoFollow(root, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | DELETE, owner.Put());
    if (err != ERROR_SUCCESS) return err;
    const HKEY key = owner.Get();
    std::vector<std::wstring> children;
    if (!IsLinkKey(key)) {
        DWORD maxName = 0;
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr);
        std::vector<wchar_t> name(maxName + 2);
        for (DWORD i = 0;; ++i) {
            DWORD len = static_cast<DWORD>(name.size());
            LONG e = RegEnumKeyExW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
            if (e == ERROR_MORE_DATA) {
                name.resize(name.size() * 2 + 256);
                --i;
                continue;
            }
            if (e != ERROR_SUCCESS) break;
            children.push_back(std::wstring(name.data(), len));
        }
    }
    LONG first = ERROR_SUCCESS;
    for (const std::wstring& child : children) {
        LONG e = DeleteTreeNoFollow(root, JoinKey(path, child));
        if (e != ERROR_SUCCESS && e != ERROR_FILE_NOT_FOUND && first == ERROR_SUCCESS) first = e;
    }
    return first == ERROR_SUCCESS ? DeleteOpenKey(key) : first;
}

}  // namespace

LONG OpenKeyNoFollow(HKEY root, const std::wstring& path, REGSAM access, HKEY* key)
{
    return RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, access, key);
}

bool IsLinkKey(HKEY key)
{
    DWORD type = REG_NONE;
    return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

bool KeyGone(HKEY root, const std::wstring& subKey)
{
    qcore::UniqueRegKey key;
    return OpenKeyNoFollow(root, subKey, KEY_QUERY_VALUE, key.Put()) == ERROR_FILE_NOT_FOUND;
}

void SavedKeySecurity::GrantFullAccess(HKEY root, const std::wstring& subKey, const AccessJournal& journal)
{
    FullAccessDescriptor full;
    if (!full.get()) return;
    qcore::UniqueRegKey key;
    if (OpenKeyNoFollow(root, subKey, READ_CONTROL | WRITE_DAC | WRITE_OWNER, key.Put()) != ERROR_SUCCESS) return;
    DWORD size = 0;
    RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    Entry entry{root, subKey, std::vector<BYTE>(size)};
    bool saved = size > 0 && RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, entry.descriptor.data(), &size) ==
                                 ERROR_SUCCESS;
    // A list that cannot be saved is not replaced.
    if (saved && journal && !journal(root, subKey, entry.descriptor)) saved = false;
    if (saved && RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, full.get()) == ERROR_SUCCESS)
        saved_.push_back(std::move(entry));

    // A link key has no subkeys of its own when opened as itself: its target is never touched.
    if (OpenKeyNoFollow(root, subKey, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return;
    std::vector<std::wstring> children;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (RegEnumKeyExW(key.Get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.push_back(std::wstring(name, len));
    }
    key.Reset();  // closed before the recursion opens the children
    for (const std::wstring& child : children) GrantFullAccess(root, JoinKey(subKey, child), journal);
}

void SavedKeySecurity::Restore()
{
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        qcore::UniqueRegKey key;
        if (OpenKeyNoFollow(it->root, it->path, WRITE_DAC, key.Put()) != ERROR_SUCCESS) continue;
        RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, it->descriptor.data());
    }
    saved_.clear();
}

long DeleteKeyTree(HKEY root, const std::wstring& subKey, const AccessJournal& journal)
{
    std::wstring path = subKey;
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    if (path.empty()) return E_INVALIDARG;  // would empty the whole root

    LONG status = DeleteTreeNoFollow(root, path);
    if (status == ERROR_FILE_NOT_FOUND) return status;  // nothing was there to delete
    if (KeyGone(root, path)) return ERROR_SUCCESS;
    if (status == ERROR_ACCESS_DENIED) {
        SavedKeySecurity security;
        security.GrantFullAccess(root, path, journal);
        status = DeleteTreeNoFollow(root, path);
        if (KeyGone(root, path)) return ERROR_SUCCESS;
        security.Restore();
    }
    return status != ERROR_SUCCESS ? status : E_FAIL;
}

long DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName)
{
    qcore::UniqueRegKey key;
    LONG err = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, key.Put());
    if (err == ERROR_ACCESS_DENIED) return SHDeleteValueW(root, subKey.c_str(), valueName.c_str());
    if (err != ERROR_SUCCESS) return err;
    LONG status = RegDeleteValueW(key.Get(), valueName.c_str());
    // Gone only when it can no longer be read.
    if (status == ERROR_SUCCESS &&
        RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND)
        status = E_FAIL;
    return status;
}

void CValueDeleter::Release()
{
    key_.Reset();
    root_ = nullptr;
    path_.clear();
}

long CValueDeleter::Delete(HKEY root, const std::wstring& subKey, const std::wstring& valueName)
{
    if (!key_ || root_ != root || path_ != subKey) {
        Release();
        LONG err = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, key_.Put());
        if (err != ERROR_SUCCESS) {
            key_.Release();  // a failed open leaves nothing to close
            return DeleteValue(root, subKey, valueName);
        }
        root_ = root;
        path_ = subKey;
    }
    LONG status = RegDeleteValueW(key_.Get(), valueName.c_str());
    if (status == ERROR_KEY_DELETED) {
        // The key went away since it was opened: look again by path.
        Release();
        return DeleteValue(root, subKey, valueName);
    }
    if (status == ERROR_SUCCESS &&
        RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND)
        status = E_FAIL;
    return status;
}

}  // namespace bexlar
