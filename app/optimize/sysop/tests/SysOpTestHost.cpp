#include "SysOpTestHost.h"

#include <aclapi.h>

namespace sysop_test {

namespace {
CWinApp& TestApp()
{
    static CWinApp app(L"SysOpPageTests");
    return app;
}
}  // namespace

PageHost::PageHost()
{
    TestApp().m_pMainWnd = &m_host;
    m_container.Create(IDD_FUNCTION_PAGE, &m_host);
    m_container.MoveWindow(186, 126, 737, 536);
    m_container.ShowWindow(SW_SHOW);
}

PageHost::~PageHost()
{
    m_container.DestroyWindow();
    m_pages.clear();
    TestApp().m_pMainWnd = nullptr;
}

void Click(HWND parent, int id)
{
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(parent, id));
}

void Toggle(HWND parent, int id) { ::SendMessageW(::GetDlgItem(parent, id), BM_CLICK, 0, 0); }

std::wstring ControlText(CWnd* parent, int id)
{
    wchar_t text[1024] = L"";
    ::GetDlgItemTextW(parent->GetSafeHwnd(), id, text, 1024);
    return text;
}

ReadOnlyKey::ReadOnlyKey(HKEY root, const wchar_t* key) : m_root(root), m_key(key)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key, 0, READ_CONTROL | WRITE_DAC, &k) != ERROR_SUCCESS) return;
    DWORD size = 0;
    RegGetKeySecurity(k, DACL_SECURITY_INFORMATION, nullptr, &size);
    m_saved.resize(size);
    if (size && RegGetKeySecurity(k, DACL_SECURITY_INFORMATION, m_saved.data(), &size) != ERROR_SUCCESS)
        m_saved.clear();
    // Everyone may read the key but not set or delete its values.
    EXPLICIT_ACCESSW deny = {}, allow = {};
    deny.grfAccessPermissions = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE;
    deny.grfAccessMode = DENY_ACCESS;
    deny.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    deny.Trustee.ptstrName = const_cast<wchar_t*>(L"EVERYONE");
    allow = deny;
    allow.grfAccessPermissions = KEY_READ | WRITE_DAC | READ_CONTROL;
    allow.grfAccessMode = GRANT_ACCESS;
    EXPLICIT_ACCESSW entries[2] = {deny, allow};
    PACL acl = nullptr;
    if (SetEntriesInAclW(2, entries, nullptr, &acl) == ERROR_SUCCESS) {
        SetSecurityInfo(k, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl, nullptr);
        LocalFree(acl);
    }
    RegCloseKey(k);
    HKEY probe = nullptr;
    m_enforced = RegOpenKeyExW(root, key, 0, KEY_SET_VALUE, &probe) != ERROR_SUCCESS;
    if (probe) RegCloseKey(probe);
}

ReadOnlyKey::~ReadOnlyKey()
{
    HKEY k = nullptr;
    if (m_saved.empty() || RegOpenKeyExW(m_root, m_key.c_str(), 0, WRITE_DAC, &k) != ERROR_SUCCESS) return;
    RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, m_saved.data());
    RegCloseKey(k);
}

namespace {
void Dump(HKEY root, const std::wstring& path, std::wstring& out)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return;
    wchar_t name[512];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD n = 512, size = sizeof(data), type = 0;
        if (RegEnumValueW(k, i, name, &n, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        out += path + L"|" + name + L"|" + std::to_wstring(type) + L"|" +
               std::wstring(reinterpret_cast<wchar_t*>(data), size / sizeof(wchar_t)) + L"\n";
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        DWORD n = 512;
        if (RegEnumKeyExW(k, i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.push_back(name);
    }
    RegCloseKey(k);
    for (const std::wstring& child : children) Dump(root, path + L"\\" + child, out);
}
}  // namespace

RegistrySnapshot::RegistrySnapshot()
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        Dump(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", dump);
        Dump(root, L"System\\CurrentControlSet\\Services\\Tcpip\\Parameters", dump);
    }
}

}  // namespace sysop_test
