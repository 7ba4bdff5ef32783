#include "StartupFolders.h"

#include <shlobj.h>
#include <shellapi.h>

#include <QGuards.h>

namespace tessik {

namespace {

std::wstring Quoted(const std::wstring& path)
{
    return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
}

bool EndsWithNoCase(const std::wstring& text, const wchar_t* tail)
{
    const size_t n = wcslen(tail);
    return text.size() >= n && lstrcmpiW(text.c_str() + text.size() - n, tail) == 0;
}

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::wstring();
    std::wstring folder = path;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

}  // namespace

void AppendStartupFolderItems(std::vector<StartupItem>& items)
{
    const std::wstring user = ShellFolder(CSIDL_STARTUP);
    if (!user.empty()) AppendFolderItems(user, HKEY_CURRENT_USER, items);
    const std::wstring common = ShellFolder(CSIDL_COMMON_STARTUP);
    if (!common.empty() && lstrcmpiW(common.c_str(), user.c_str()) != 0)
        AppendFolderItems(common, HKEY_LOCAL_MACHINE, items);
}

void AppendFolderItems(const std::wstring& folder, HKEY root, std::vector<StartupItem>& items)
{
    WIN32_FIND_DATAW data;
    qcore::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return;
    do {
        // Windows starts neither sub-folders nor the folder's hidden settings file.
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        if (lstrcmpiW(data.cFileName, L"desktop.ini") == 0) continue;
        StartupItem item;
        item.name = data.cFileName;
        item.filePath = folder + L"\\" + data.cFileName;
        item.command = CommandOfFile(item.filePath);
        item.keyPath = folder;
        item.root = root;
        items.push_back(item);
    } while (FindNextFileW(find.Get(), &data));
}

std::wstring CommandOfFile(const std::wstring& path)
{
    if (!EndsWithNoCase(path, L".lnk")) return Quoted(path);
    qcore::ComInit com;
    qcore::ComPtr<IShellLinkW> link;
    qcore::ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = L"", arguments[1024] = L"";
    if (!com.Usable() ||
        FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) ||
        FAILED(file->Load(path.c_str(), STGM_READ)) ||
        FAILED(link->GetPath(target, MAX_PATH, nullptr, 0)) || !target[0])
        return Quoted(path);
    std::wstring command = Quoted(target);
    if (SUCCEEDED(link->GetArguments(arguments, 1024)) && arguments[0]) command += L" " + std::wstring(arguments);
    return command;
}

bool RemoveStartupFile(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    // The shell wants a list ended by two nulls.
    std::wstring list = path;
    list.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&op);
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace tessik
