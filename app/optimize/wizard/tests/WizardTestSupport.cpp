#include "WizardTestSupport.h"

#include "QTestSupport.h"

namespace wizard_test {

namespace {

const wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";

}  // namespace

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = L"";
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

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

bool UseRecorderAsRegsvr32()
{
    const std::wstring folder = SystemFolder();
    if (!::CopyFileW((shell_test::ProgramFolder() + L"QRunRecorder.exe").c_str(), (folder + L"\\regsvr32.exe").c_str(),
                     FALSE))
        return false;
    ::DeleteFileW((folder + L"\\runs.txt").c_str());
    // Wine runs its built-in program for a system program unless told to prefer the file.
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const wchar_t native[] = L"native";
    ::RegSetValueExW(key, L"regsvr32.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof(native));
    ::RegCloseKey(key);
    return true;
}

void UseSystemRegsvr32()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kOverrides, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueW(key, L"regsvr32.exe");
    ::RegCloseKey(key);
}

std::vector<std::pair<std::wstring, std::wstring>> RecordedRuns(const std::wstring& folder)
{
    const std::string bytes = ReadFileBytes(folder + L"\\runs.txt");
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(size_t(n), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), &text[0], n);
    std::vector<std::pair<std::wstring, std::wstring>> runs;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = text.substr(start, end - start);
        const size_t tab = line.find(L'\t');
        if (tab != std::wstring::npos) runs.emplace_back(line.substr(0, tab), line.substr(tab + 1));
        start = end + 2;
    }
    return runs;
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

std::string Utf8(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

void SetServiceUrl(const std::wstring& url)
{
    const wchar_t key[] = L"Software\\Quorvel\\Param";
    HKEY k = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    if (url.empty())
        ::RegDeleteValueW(k, L"ServiceUrl");
    else
        ::RegSetValueExW(k, L"ServiceUrl", 0, REG_SZ, reinterpret_cast<const BYTE*>(url.c_str()),
                         DWORD((url.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(k);
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

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

}  // namespace wizard_test
