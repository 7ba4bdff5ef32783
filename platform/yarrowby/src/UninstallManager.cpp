#include "Yarrowby/UninstallManager.h"

#include <shellapi.h>

#include <Common.h>
#include <QGuards.h>
#include <QProcess.h>

#include "RegistryViews.h"
#include "UninstallRules.h"

namespace {

struct UninstallList {
    HKEY root;
    const wchar_t* rootName;
    std::wstring keyPath;
    REGSAM view;
};

// HKLM in both views on 64-bit Windows (the 32-bit programs' list is the WOW6432Node one, read through the
// system's own view so the key path names it), then the user's list.
std::vector<UninstallList> Lists()
{
    const std::wstring key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    std::vector<UninstallList> lists;
    if (IsWindows64()) {
        lists.push_back({HKEY_LOCAL_MACHINE, L"HKLM", key, KEY_WOW64_64KEY});
        lists.push_back({HKEY_LOCAL_MACHINE, L"HKLM",
                         L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall", KEY_WOW64_64KEY});
    } else {
        lists.push_back({HKEY_LOCAL_MACHINE, L"HKLM", key, 0});
    }
    lists.push_back({HKEY_CURRENT_USER, L"HKCU", key, 0});
    return lists;
}

std::wstring ReadText(const UninstallList& list, const std::wstring& key, const wchar_t* value)
{
    std::wstring text;
    SBRegGetStringValueW(list.root, key.c_str(), value, text, list.view);
    return text;
}

std::wstring Expand(const std::wstring& text)
{
    const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::wstring expanded(needed, L'\0');
    ::ExpandEnvironmentStringsW(text.c_str(), &expanded[0], needed);
    expanded.resize(wcslen(expanded.c_str()));
    return expanded;
}

HICON SmallIconOf(const std::wstring& displayIcon)
{
    if (displayIcon.empty()) return nullptr;
    const IconLocation location = ParseIconLocation(Expand(displayIcon));
    HICON small = nullptr;
    if (location.path.empty() || ::ExtractIconExW(location.path.c_str(), location.index, nullptr, &small, 1) == 0)
        return nullptr;
    return small;
}

UnInstallItem* ReadEntry(const UninstallList& list, const std::wstring& subkeyName)
{
    const std::wstring key = list.keyPath + L"\\" + subkeyName;
    const std::wstring name = ReadText(list, key, L"DisplayName");
    if (name.empty()) return nullptr;
    UnInstallItem* item = new UnInstallItem();
    item->displayName = name;
    item->uninstallCmd = ReadText(list, key, L"UninstallString");
    if (item->uninstallCmd.empty()) item->uninstallCmd = ReadText(list, key, L"QuietUninstallString");
    DWORD kib = 0;
    SBRegGetDWORDValueW(list.root, key.c_str(), L"EstimatedSize", kib, list.view);
    item->size = EstimatedSizeText(kib);
    item->publisher = ReadText(list, key, L"Publisher");
    item->version = ReadText(list, key, L"DisplayVersion");
    item->homePage = ReadText(list, key, L"URLInfoAbout");
    if (item->homePage.empty()) item->homePage = ReadText(list, key, L"HelpLink");
    item->keyPath = std::wstring(list.rootName) + L"\\" + key;

    UninstallFlags flags;
    flags.subkeyName = subkeyName;
    DWORD component = 0;
    flags.systemComponent =
        SBRegGetDWORDValueW(list.root, key.c_str(), L"SystemComponent", component, list.view) && component == 1;
    flags.hasParent = SBRegValueExistW(list.root, key.c_str(), L"ParentKeyName", list.view);
    flags.releaseType = ReadText(list, key, L"ReleaseType");
    item->hidden = IsHiddenEntry(flags);
    std::wstring icon;
    SBRegGetStringValueNoExpandW(list.root, key.c_str(), L"DisplayIcon", icon, list.view);
    item->icon = SmallIconOf(icon);
    return item;
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A bare program name, looked up in the system folder, the Windows folder and the PATH (never the current
// folder or the program's own, where anyone could have put a file of that name).
std::wstring FindBareProgram(const std::wstring& name)
{
    wchar_t folder[MAX_PATH] = L"";
    std::wstring searchPath;
    if (::GetSystemDirectoryW(folder, MAX_PATH)) searchPath += std::wstring(folder) + L";";
    if (::GetWindowsDirectoryW(folder, MAX_PATH)) searchPath += std::wstring(folder) + L";";
    const DWORD needed = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (needed) {
        std::wstring path(needed, L'\0');
        path.resize(::GetEnvironmentVariableW(L"PATH", &path[0], needed));
        searchPath += path;
    }
    wchar_t found[MAX_PATH * 2] = L"";
    if (!::SearchPathW(searchPath.c_str(), name.c_str(), L".exe", MAX_PATH * 2, found, nullptr)) return std::wstring();
    return found;
}

// The program file a command's prefix names: a bare name found as the system would, else the file itself or
// with ".exe" added as the system adds it; empty when there is none.
std::wstring ProgramFileOf(const std::wstring& prefix)
{
    if (prefix.find_first_of(L"\\/:") == std::wstring::npos) return FindBareProgram(prefix);
    if (IsFile(prefix)) return prefix;
    return IsFile(prefix + L".exe") ? prefix + L".exe" : std::wstring();
}

// The full path of the command's program and the rest of its line; false when the program is not an existing file.
bool ResolveCommand(const std::wstring& command, std::wstring& program, std::wstring& arguments)
{
    std::wstring text = Expand(command);
    while (!text.empty() && (text[0] == L' ' || text[0] == L'\t')) text.erase(0, 1);
    if (text.empty()) return false;
    if (text[0] == L'"') {
        const SplitCommand split = SplitQuotedCommand(text);
        program = split.program;
        arguments = split.arguments;
    } else {
        const SplitCommand split = SplitUnquotedCommand(text, ProgramFileOf);
        program = split.program;
        arguments = split.arguments;
    }
    if (program.find_first_of(L"\\/:") == std::wstring::npos) program = FindBareProgram(program);
    if (program.empty() || !IsFile(program)) return false;
    wchar_t full[MAX_PATH * 2] = L"";
    const DWORD length = ::GetFullPathNameW(program.c_str(), MAX_PATH * 2, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 2) return false;
    program = full;
    return true;
}

}  // namespace

CUninstallManager::CUninstallManager() = default;

CUninstallManager::~CUninstallManager() = default;

bool CUninstallManager::EnumPrograms(std::vector<UnInstallItem*>& out)
{
    bool anyRead = false;
    for (const UninstallList& list : Lists()) {
        CSBStringArrayW names;
        if (!SBRegGetSubKeysW(list.root, list.keyPath.c_str(), names, list.view)) continue;
        anyRead = true;
        for (int i = 0; i < names.GetCount(); ++i)
            if (UnInstallItem* item = ReadEntry(list, names.GetString(i))) out.push_back(item);
    }
    return anyRead;
}

bool CUninstallManager::UninstallProgram(std::wstring cmd)
{
    std::wstring program, arguments;
    if (!ResolveCommand(cmd, program, arguments)) return false;
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    arguments.erase(0, arguments.find_first_not_of(L" \t"));
    // The uninstaller shows itself and runs on its own, in its folder: it is not waited for.
    const qcore::UniqueHandle process(qcore::StartProgram(program, arguments, true, folder));
    return static_cast<bool>(process);
}

bool CUninstallManager::RemoveProgram(UnInstallItem* item)
{
    HKEY root = nullptr;
    std::wstring subkey;
    if (!item || !IsRemovableEntryPath(item->keyPath, root, subkey)) return false;
    const REGSAM view = root == HKEY_LOCAL_MACHINE ? NativeView() : 0;
    return SBRegDeleteTreeW(root, subkey.c_str(), view) == ERROR_SUCCESS;
}
