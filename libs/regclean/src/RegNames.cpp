#include "RegNames.h"

#include <vector>

namespace bexlar {

namespace {

struct RootName {
    HKEY root;
    const wchar_t* shortName;
    const char* fullName;
};

const RootName kRoots[] = {
    {HKEY_CLASSES_ROOT, L"HKCR", "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_CONFIG, L"HKEY_CURRENT_CONFIG", "HKEY_CURRENT_CONFIG"},
    {HKEY_CURRENT_USER, L"HKCU", "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, L"HKLM", "HKEY_LOCAL_MACHINE"},
    {HKEY_PERFORMANCE_DATA, L"", "HKEY_PERFORMANCE_DATA"},
    {HKEY_USERS, L"HKU", "HKEY_USERS"},
};

}  // namespace

const wchar_t* ShortRootName(HKEY root)
{
    for (const RootName& r : kRoots)
        if (r.root == root) return r.shortName;
    return L"";
}

const char* FullRootName(HKEY root)
{
    for (const RootName& r : kRoots)
        if (r.root == root) return r.fullName;
    return "";
}

HKEY RootFromFullName(const std::string& name)
{
    for (const RootName& r : kRoots)
        if (name == r.fullName) return r.root;
    return nullptr;
}

std::wstring FullItemText(HKEY root, const std::wstring& subKey, const std::wstring& valueName)
{
    return std::wstring(ShortRootName(root)) + L"\\" + subKey + valueName;
}

std::wstring JoinKey(const std::wstring& path, const std::wstring& name)
{
    if (path.empty()) return name;
    return path.back() == L'\\' ? path + name : path + L"\\" + name;
}

bool ToUtf8(const std::wstring& text, std::string* out)
{
    out->clear();
    if (text.empty()) return true;
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    out->resize(n);
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &(*out)[0], n, nullptr, nullptr);
    return FromUtf8(*out) == text;
}

std::string Utf8(const std::wstring& text)
{
    std::string r;
    ToUtf8(text, &r);
    return r;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring r(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &r[0], n);
    return r;
}

std::wstring ProgramFolder()
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return std::wstring();
        if (n < buf.size()) {
            std::wstring path(buf.data(), n);
            size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
        }
        buf.resize(buf.size() * 2);
    }
}

bool CreateFolderChain(const std::wstring& folder)
{
    std::wstring path = folder;
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    if (path.empty()) return false;
    DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES) return (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
    size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0 && !CreateFolderChain(path.substr(0, slash + 1))) return false;
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace bexlar
