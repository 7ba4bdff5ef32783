#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "SeededPrefix.h"

#include <fstream>
#include <iterator>
#include <vector>

#include <Common.h>

#include "Moravin/FileAssociateRepaire.h"

namespace oneclick_test {

const wchar_t kMuiCacheKey[] = L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
const wchar_t kTxtCommandKey[] = L"Software\\Classes\\txtfile\\shell\\open\\command";

namespace {

std::wstring Folder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE);
    return path;
}

void WriteFile(const std::wstring& path, const char* content)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out << content;
}

// A shortcut to a program that existed when the link was made and is gone now.
std::wstring MakeBrokenLink(const std::wstring& linkPath)
{
    const std::wstring folder = L"C:\\oneclick-target";
    const std::wstring target = folder + L"\\gone.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteFile(target, "MZ");
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(target.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            file->Save(linkPath.c_str(), TRUE);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    DeleteFileW(target.c_str());
    RemoveDirectoryW(folder.c_str());
    return linkPath;
}

}  // namespace

SeededProblems SeedProblems()
{
    SeededProblems s;
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring temp = std::wstring(windows) + L"\\temp\\";
    CreateDirectoryW(temp.c_str(), nullptr);
    s.junkFile = temp + L"oneclick-junk.tmp";
    s.lockedJunkFile = temp + L"oneclick-locked.tmp";
    WriteFile(s.junkFile, "junk");
    WriteFile(s.lockedJunkFile, "junk");

    s.brokenLink = MakeBrokenLink(Folder(CSIDL_DESKTOPDIRECTORY) + L"\\oneclick-broken.lnk");

    const std::wstring cache = Folder(CSIDL_INTERNET_CACHE);
    SBRecursiveCreateDirectoryW(cache.c_str());
    s.cacheFile = cache + L"\\oneclick-cache.dat";
    WriteFile(s.cacheFile, "cached page");

    s.muiValue = L"C:\\oneclick-missing\\tool.exe";
    SBRegSetStringValueNoExpandW(HKEY_CURRENT_USER, kMuiCacheKey, s.muiValue.c_str(), L"Tool");

    SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kTxtCommandKey, L"", L"C:\\oneclick-missing\\editor.exe %1");
    return s;
}

void SeedManyRegistryProblems(int count)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kMuiCacheKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != 0)
        return;
    for (int i = 0; i < count; ++i) {
        const std::wstring name = L"C:\\oneclick-missing\\many\\tool" + std::to_wstring(i) + L".exe";
        const wchar_t data[] = L"Tool";
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof(data));
    }
    RegCloseKey(key);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ValueExists(HKEY root, const wchar_t* key, const wchar_t* value) { return SBRegValueExistW(root, key, value); }

int BrokenAssociations()
{
    Moravin::CFileAssociateRepaire assoc;
    std::vector<Moravin::CFileAssociateRepaire::FileAssocItem> items;
    assoc.GetAllAssociateStatus(items);
    int broken = 0;
    for (const auto& item : items) broken += item.status ? 1 : 0;
    return broken;
}

bool FileContainsText(const std::wstring& path, const std::wstring& text)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string utf8, utf16;
    for (wchar_t c : text) {
        utf8.push_back(char(c));
        utf16.push_back(char(c & 0xFF));
        utf16.push_back(char(c >> 8));
    }
    return bytes.find(utf8) != std::string::npos || bytes.find(utf16) != std::string::npos;
}

}  // namespace oneclick_test
