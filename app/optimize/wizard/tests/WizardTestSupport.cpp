#include "WizardTestSupport.h"

#include "QTestSupport.h"

namespace wizard_test {

namespace {

std::wstring LogPath()
{
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"qv-regsvr32.log";
}

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = L"";
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

}  // namespace

HeldDownload::HeldDownload() : m_gate(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

HeldDownload::~HeldDownload()
{
    Release();  // lets a still waiting answer go before the server stops
    ::CloseHandle(m_gate);
}

bool HeldDownload::Start()
{
    if (!m_server.Start()) return false;
    shell_test::HttpReply slow;
    slow.body = "slow";
    slow.gate = m_gate;
    m_server.Set("/slow.bin", slow);
    return true;
}

std::string HeldDownload::Action() const
{
    const std::wstring url = m_server.BaseUrl() + L"slow.bin";
    return "<Execute DownloadUrl=\"" + std::string(url.begin(), url.end()) + "\" FileName=\"slow.bin\"/>";
}

bool InstallRegsvr32Stub()
{
    const std::wstring target = SystemFolder() + L"\\regsvr32.exe";
    if (!::CopyFileW((shell_test::ProgramFolder() + L"WizardRegsvr32Stub.exe").c_str(), target.c_str(), FALSE))
        return false;
    // Wine runs its built-in program for a system program unless told to prefer the file.
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return false;
    const wchar_t native[] = L"native";
    ::RegSetValueExW(key, L"regsvr32.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof(native));
    ::RegCloseKey(key);
    ::DeleteFileW(LogPath().c_str());
    return true;
}

std::vector<std::wstring> Regsvr32Log()
{
    const std::string bytes = ReadFileBytes(LogPath());
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        const int n = ::MultiByteToWideChar(CP_UTF8, 0, line.data(), int(line.size()), nullptr, 0);
        std::wstring wide(size_t(n), L'\0');
        if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, line.data(), int(line.size()), &wide[0], n);
        lines.push_back(wide);
        start = end + 1;
    }
    return lines;
}

DWORD MarkerRegistrations()
{
    DWORD count = 0;
    ReadDword(HKEY_CURRENT_USER, L"Software\\QvTest", L"Registered", count);
    return count;
}

void ResetMarkerRegistrations()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QvTest", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueW(key, L"Registered");
    ::RegCloseKey(key);
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadString(HKEY root, const wchar_t* key, const wchar_t* value, std::wstring& text, DWORD* type)
{
    text.clear();
    wchar_t buffer[2048] = L"";
    DWORD size = sizeof(buffer) - sizeof(wchar_t), t = 0;
    HKEY k = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
    const LONG status = ::RegQueryValueExW(k, value, nullptr, &t, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(k);
    if (status != ERROR_SUCCESS || (t != REG_SZ && t != REG_EXPAND_SZ)) return false;
    text.assign(buffer, size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    if (type) *type = t;
    return true;
}

bool ReadDword(HKEY root, const wchar_t* key, const wchar_t* value, DWORD& data)
{
    data = 0;
    DWORD size = sizeof(data), t = 0;
    HKEY k = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
    const LONG status = ::RegQueryValueExW(k, value, nullptr, &t, reinterpret_cast<BYTE*>(&data), &size);
    ::RegCloseKey(k);
    return status == ERROR_SUCCESS && t == REG_DWORD;
}

bool ValueExists(HKEY root, const wchar_t* key, const wchar_t* value)
{
    HKEY k = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
    const bool found = ::RegQueryValueExW(k, value, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    ::RegCloseKey(k);
    return found;
}

} // namespace wizard_test
