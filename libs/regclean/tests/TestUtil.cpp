#include "TestUtil.h"

#include <aclapi.h>
#include <shlwapi.h>

#include <vector>

#include <gtest/gtest.h>

#include "RegNames.h"

namespace bxtest {

std::wstring NewTempDir(const wchar_t* name)
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + name + L"-" + UniqueTag();
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void MakeFile(const std::wstring& path, const std::string& content)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << "cannot create fixture file";
    DWORD written = 0;
    WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(f);
}

void MakeDir(const std::wstring& path) { CreateDirectoryW(path.c_str(), nullptr); }

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::wstring& path)
{
    std::string out;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(f, buf, sizeof(buf), &n, nullptr) && n > 0) out.append(buf, n);
    CloseHandle(f);
    return out;
}

std::wstring UniqueTag()
{
    static LONG counter = 0;
    wchar_t buf[64];
    wsprintfW(buf, L"bx%lu%lu", GetCurrentProcessId() % 100000,
              static_cast<unsigned long>(InterlockedIncrement(&counter)));
    return buf;
}

void CreateKey(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value, DWORD type)
{
    SetRaw(root, path, name, type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value)
{
    SetRaw(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool ValueExists(HKEY root, const std::wstring& path, const std::wstring& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    LONG err = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return err == ERROR_SUCCESS;
}

void DeleteTree(HKEY root, const std::wstring& path)
{
    if (!path.empty()) SHDeleteKeyW(root, path.c_str());
}

void CreateDataFolder() { CreateDirectoryW((bexlar::ProgramFolder() + L"data").c_str(), nullptr); }

std::string KeyDacl(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, READ_CONTROL, &key) != ERROR_SUCCESS) return std::string();
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> sd(size ? size : 1);
    std::string out;
    if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, sd.data(), &size) == ERROR_SUCCESS) {
        BOOL present = FALSE, defaulted = FALSE;
        PACL acl = nullptr;
        if (GetSecurityDescriptorDacl(sd.data(), &present, &acl, &defaulted) && present && acl)
            out.assign(reinterpret_cast<const char*>(acl), acl->AclSize);
    }
    RegCloseKey(key);
    return out;
}

bool SetKeyAccess(HKEY root, const std::wstring& path, DWORD everyoneRights)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) return false;
    std::vector<BYTE> aclBuf(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(everyone));
    PACL acl = reinterpret_cast<PACL>(aclBuf.data());
    SECURITY_DESCRIPTOR sd;
    bool ok = InitializeAcl(acl, static_cast<DWORD>(aclBuf.size()), ACL_REVISION) &&
              AddAccessAllowedAce(acl, ACL_REVISION, everyoneRights, everyone) &&
              InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    HKEY key = nullptr;
    if (ok) ok = RegOpenKeyExW(root, path.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS;
    if (ok) {
        ok = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    FreeSid(everyone);
    return ok;
}

namespace {

// The kernel's name of a key: links store their target this way.
std::wstring KernelKeyName(HKEY root, const std::wstring& path)
{
    if (root == HKEY_LOCAL_MACHINE) return L"\\Registry\\Machine\\" + path;
    if (root == HKEY_CLASSES_ROOT) return L"\\Registry\\Machine\\Software\\Classes\\" + path;
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE buf[256];
    DWORD n = 0;
    GetTokenInformation(token, TokenUser, buf, sizeof(buf), &n);
    CloseHandle(token);
    typedef BOOL(WINAPI * ToText)(PSID, LPWSTR*);
    auto toText = reinterpret_cast<ToText>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "ConvertSidToStringSidW")));
    LPWSTR sid = nullptr;
    if (!toText || !toText(reinterpret_cast<TOKEN_USER*>(buf)->User.Sid, &sid)) return std::wstring();
    std::wstring name = std::wstring(L"\\Registry\\User\\") + sid + L"\\" + path;
    LocalFree(sid);
    return name;
}

}  // namespace

bool CreateLinkKey(HKEY root, const std::wstring& path, HKEY targetRoot, const std::wstring& target)
{
    std::wstring name = KernelKeyName(targetRoot, target);
    HKEY key = nullptr;
    if (name.empty() || RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(name.c_str()),
                             static_cast<DWORD>(name.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool IsLink(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = REG_NONE;
    bool link = RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
                type == REG_LINK;
    RegCloseKey(key);
    return link;
}

}  // namespace bxtest
