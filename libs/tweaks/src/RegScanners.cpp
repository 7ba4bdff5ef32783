// The sixteen registry-problem scanners. Every failure (a key that does not open, a value that does not read) skips
// that entry; every scanner returns 0.
#include "Tessik/RegScanner.h"

#include <shlobj.h>

#include <Common.h>
#include <QGuards.h>
#include <QShellFolder.h>

#include <vector>

#include "EmptyKeyWalk.h"

namespace {

const wchar_t kAppPaths[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const wchar_t kFileExts[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
const wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kServices[] = L"System\\CurrentControlSet\\Services";
const wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

enum Index {
    kActiveX = 0,
    kAppPath,
    kEmptyKeys,
    kFileExt,
    kFontEntry,
    kHelpSection,
    kInvalidFileAsso,
    kRecentFile,
    kSharedDll,
    kInvalidShortcut,
    kStartupMenuItem,
    kStartupProgram,
    kSystemService,
    kSystemSoftware,
    kUninstallEntry,
    kUserSoftware
};

HWND ReportWindow(void** context)
{
    if (!context || !*context) return nullptr;
    HWND wnd = nullptr;
    memcpy(&wnd, static_cast<const char*>(*context) + kRegScannerWindowOffset, sizeof(wnd));
    return wnd;
}

void Report(HWND wnd, int category, HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
            const std::wstring& data, bool valueLevel, int reason)
{
    RegScanIssueRecord* record = new RegScanIssueRecord{category, root, keyPath, valueName, data, valueLevel, reason};
    SendMessageW(wnd, WM_REGSCANNER_ITEM_FOUND, reinterpret_cast<WPARAM>(record), 0);
    delete record;
}

// The names of the direct subkeys (the key opened with `access`); empty when it does not open.
std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& path, REGSAM access)
{
    std::vector<std::wstring> names;
    qcore::UniqueRegKey key;
    if (SBRegOpenKeyW(root, path.c_str(), access, key.Put()) != ERROR_SUCCESS) return names;
    std::vector<wchar_t> name(1024);
    for (DWORD i = 0;; ++i) {
        DWORD size = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key.Get(), i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name.data(), size);
    }
    return names;
}

struct Value {
    std::wstring name;
    DWORD type = 0;
    std::vector<BYTE> data;

    std::wstring Text() const
    {
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::wstring();
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }
    bool IsText() const { return type == REG_SZ || type == REG_EXPAND_SZ; }
};

// The values of a key with their data (buffers sized to the key's largest name and data, so a long value never
// ends the listing early).
std::vector<Value> Values(HKEY root, const std::wstring& path)
{
    std::vector<Value> values;
    qcore::UniqueRegKey key;
    if (SBRegOpenKeyW(root, path.c_str(), KEY_READ, key.Put()) != ERROR_SUCCESS) return values;
    DWORD maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::vector<wchar_t> name(maxName + 2);
    std::vector<BYTE> data(maxData + sizeof(wchar_t));
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key.Get(), i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) !=
            ERROR_SUCCESS)
            break;
        Value value;
        value.name.assign(name.data(), nameSize);
        value.type = type;
        value.data.assign(data.begin(), data.begin() + dataSize);
        values.push_back(value);
    }
    return values;
}

std::wstring Expanded(const Value& value)
{
    std::wstring text = value.Text();
    if (value.type != REG_EXPAND_SZ) return text;
    DWORD n = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (!n) return text;
    std::wstring out(n, L'\0');
    ExpandEnvironmentStringsW(text.c_str(), &out[0], n);
    out.resize(wcsnlen(out.c_str(), out.size()));
    return out;
}

// True when the command line names a program that does not exist (an empty command names none).
bool ProgramMissing(const std::wstring& command)
{
    std::wstring program;
    if (!SBGetFileNameFromCommandW(command.c_str(), program) || program.empty()) return false;
    return !SBIsFileExistInSystemW(program.c_str());
}

bool KeyExists(HKEY root, const std::wstring& path) { return SBRegKeyExistW(root, path.c_str()); }

// (a) and (b) of the class scanners: the InProcServer32 and LocalServer32 programs.
void CheckServers(HWND wnd, int category, HKEY root, const std::wstring& classKey)
{
    for (const wchar_t* server : {L"\\InProcServer32", L"\\LocalServer32"}) {
        std::wstring value;
        const std::wstring path = classKey + server;
        if (SBRegGetStringValueW(root, path.c_str(), nullptr, value) && ProgramMissing(value))
            Report(wnd, category, root, path, L"", value, false, 0);
    }
}

void ScanClasses(HWND wnd, int category, HKEY root, const std::wstring& clsidKey, bool typeLibraries)
{
    for (const std::wstring& id : SubKeys(root, clsidKey, KEY_ENUMERATE_SUB_KEYS)) {
        const std::wstring classKey = clsidKey + L"\\" + id;
        CheckServers(wnd, category, root, classKey);
        if (!typeLibraries) continue;
        std::wstring library;
        if (SBRegGetStringValueW(root, (classKey + L"\\Typelib").c_str(), nullptr, library) && !library.empty() &&
            !KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + library))
            Report(wnd, category, root, classKey + L"\\TypeLib", L"", library, false, 0);
    }
}

// A name that is neither an HKCR key nor an HKCR "Applications\" key.
bool UnknownApplication(const std::wstring& name)
{
    return !KeyExists(HKEY_CLASSES_ROOT, name) && !KeyExists(HKEY_CLASSES_ROOT, L"Applications\\" + name);
}

std::wstring Unquoted(const std::wstring& text)
{
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

extern "C" {

int __cdecl Scanner_ActiveX(void** context)
{
    if (HWND wnd = ReportWindow(context)) ScanClasses(wnd, kActiveX, HKEY_CLASSES_ROOT, L"CLSID", true);
    return 0;
}

int __cdecl Scanner_SystemSoftwareSetting(void** context)
{
    if (HWND wnd = ReportWindow(context))
        ScanClasses(wnd, kSystemSoftware, HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID", false);
    return 0;
}

int __cdecl Scanner_UserSoftwareSetting(void** context)
{
    if (HWND wnd = ReportWindow(context))
        ScanClasses(wnd, kUserSoftware, HKEY_CURRENT_USER, L"Software\\Classes\\CLSID", false);
    return 0;
}

int __cdecl Scanner_AppPath(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (const std::wstring& name : SubKeys(HKEY_LOCAL_MACHINE, kAppPaths, KEY_ENUMERATE_SUB_KEYS)) {
        const std::wstring path = std::wstring(kAppPaths) + L"\\" + name;
        std::wstring value;
        if (SBRegGetStringValueW(HKEY_LOCAL_MACHINE, path.c_str(), nullptr, value) && !value.empty() &&
            !SBIsFileExistInSystemW(Unquoted(value).c_str()))
            Report(wnd, kAppPath, HKEY_LOCAL_MACHINE, path, L"", value, false, 0);
    }
    return 0;
}

int __cdecl Scanner_EmptyRegistryKeys(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    tessik::WalkEmptyKeys(HKEY_USERS, std::wstring(), [&](const std::wstring& path) {
        Report(wnd, kEmptyKeys, HKEY_USERS, path, L"", L"", false, 3);
    });
    return 0;
}

int __cdecl Scanner_FileExt(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (const std::wstring& ext : SubKeys(HKEY_CURRENT_USER, kFileExts, KEY_ENUMERATE_SUB_KEYS)) {
        const std::wstring progIds = std::wstring(kFileExts) + L"\\" + ext + L"\\OpenWithProgids";
        for (const Value& value : Values(HKEY_CURRENT_USER, progIds))
            if (UnknownApplication(value.name))
                Report(wnd, kFileExt, HKEY_CURRENT_USER, progIds, value.name, value.name, true, 0);
        const std::wstring list = std::wstring(kFileExts) + L"\\" + ext + L"\\OpenWithList";
        for (const Value& value : Values(HKEY_CURRENT_USER, list))
            if (lstrcmpiW(value.name.c_str(), L"MRUList") != 0 && UnknownApplication(value.name))
                Report(wnd, kFileExt, HKEY_CURRENT_USER, list, value.name, value.Text(), true, 0);
    }
    return 0;
}

int __cdecl Scanner_FontEntry(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    // Without a fonts folder every font counts as present.
    const std::wstring fonts = qcore::SpecialFolderPath(CSIDL_FONTS);
    if (fonts.empty()) return 0;
    for (const wchar_t* key : {L"Software\\Microsoft\\Windows\\CurrentVersion\\Fonts",
                               L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"}) {
        for (const Value& value : Values(HKEY_LOCAL_MACHINE, key)) {
            const std::wstring file = value.Text();
            if (!value.IsText() || file.empty()) continue;
            if (!SBIsFileExistW((fonts + L"\\" + file).c_str()))
                Report(wnd, kFontEntry, HKEY_LOCAL_MACHINE, key, value.name, file, true, 0);
        }
    }
    return 0;
}

int __cdecl Scanner_HelpSection(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (const wchar_t* key : {L"Software\\Microsoft\\Windows\\Help", L"Software\\Microsoft\\Windows\\Html Help"}) {
        for (const Value& value : Values(HKEY_LOCAL_MACHINE, key)) {
            if (!value.IsText()) continue;
            std::wstring folder = Expanded(value);
            if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
            const std::wstring file = folder + value.name;
            if (!SBIsFileExistW(file.c_str()))
                Report(wnd, kHelpSection, HKEY_LOCAL_MACHINE, key, value.name, file, true, 0);
        }
    }
    return 0;
}

int __cdecl Scanner_InvalidFileAsso(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (const std::wstring& ext : SubKeys(HKEY_CLASSES_ROOT, L"", KEY_ENUMERATE_SUB_KEYS)) {
        if (ext.empty() || ext[0] != L'.') continue;
        const std::wstring list = ext + L"\\OpenWithList";
        for (const std::wstring& application : SubKeys(HKEY_CLASSES_ROOT, list, KEY_READ))
            if (UnknownApplication(application))
                Report(wnd, kInvalidFileAsso, HKEY_CLASSES_ROOT, list + L"\\" + application, L"", application, false,
                       0);
    }
    return 0;
}

int __cdecl Scanner_RecentFile(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (const Value& value : Values(HKEY_CURRENT_USER, kRunMru))
        Report(wnd, kRecentFile, HKEY_CURRENT_USER, kRunMru, value.name, value.Text(), true, 3);
    return 0;
}

int __cdecl Scanner_SharedDll(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (const Value& value : Values(HKEY_LOCAL_MACHINE, kSharedDlls)) {
        if (value.type != REG_DWORD || value.data.size() != sizeof(DWORD)) continue;
        DWORD count = 0;
        memcpy(&count, value.data.data(), sizeof(count));
        if (count == 0 && !SBIsFileExistW(value.name.c_str()))
            Report(wnd, kSharedDll, HKEY_LOCAL_MACHINE, kSharedDlls, value.name, value.name, true, 0);
    }
    return 0;
}

int __cdecl Scanner_InvalidShortcut(void**) { return 0; }

// Further names of the same (empty) scanner.
int __cdecl Scanner_SoundSection(void**) __attribute__((alias("Scanner_InvalidShortcut"), nothrow));
int __cdecl Scanner_StartupMenuItem(void**) __attribute__((alias("Scanner_InvalidShortcut"), nothrow));

int __cdecl Scanner_StartupProgram(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const Value& value : Values(root, kRun))
            if (value.IsText() && ProgramMissing(Expanded(value)))
                Report(wnd, kStartupProgram, root, kRun, value.name, value.Text(), true, 0);
    return 0;
}

int __cdecl Scanner_SystemService(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (const std::wstring& name : SubKeys(HKEY_LOCAL_MACHINE, kServices, KEY_READ)) {
        const std::wstring path = std::wstring(kServices) + L"\\" + name;
        DWORD type = 0;
        if (!SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, path.c_str(), L"Type", type) || type != SERVICE_WIN32_OWN_PROCESS)
            continue;
        std::wstring stored, image;
        if (!SBRegGetStringValueNoExpandW(HKEY_LOCAL_MACHINE, path.c_str(), L"ImagePath", stored)) continue;
        SBRegGetStringValueW(HKEY_LOCAL_MACHINE, path.c_str(), L"ImagePath", image);
        if (ProgramMissing(image))
            Report(wnd, kSystemService, HKEY_LOCAL_MACHINE, path, L"ImagePath", stored, false, 0);
    }
    return 0;
}

int __cdecl Scanner_Uninstall(void** context)
{
    HWND wnd = ReportWindow(context);
    if (!wnd) return 0;
    for (const std::wstring& name : SubKeys(HKEY_LOCAL_MACHINE, kUninstall, KEY_READ)) {
        const std::wstring path = std::wstring(kUninstall) + L"\\" + name;
        DWORD component = 0;
        if (SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, path.c_str(), L"SystemComponent", component) && component == 1)
            continue;
        if (SBRegValueExistW(HKEY_LOCAL_MACHINE, path.c_str(), L"NoRemove") ||
            SBRegValueExistW(HKEY_LOCAL_MACHINE, path.c_str(), L"NoModify") ||
            SBRegValueExistW(HKEY_LOCAL_MACHINE, path.c_str(), L"NoRepair"))
            continue;
        std::wstring command;
        if (SBRegGetStringValueW(HKEY_LOCAL_MACHINE, path.c_str(), L"UninstallString", command) &&
            ProgramMissing(command))
            Report(wnd, kUninstallEntry, HKEY_LOCAL_MACHINE, path, L"UninstallString", L"", false, 0);
    }
    return 0;
}

}  // extern "C"

RegScannerProc getScanner(unsigned index)
{
    static const RegScannerProc kScanners[] = {
        Scanner_ActiveX,           Scanner_AppPath,
        Scanner_EmptyRegistryKeys, Scanner_FileExt,
        Scanner_FontEntry,         Scanner_HelpSection,
        Scanner_InvalidFileAsso,   Scanner_RecentFile,
        Scanner_SharedDll,         Scanner_InvalidShortcut,
        Scanner_InvalidShortcut,   Scanner_StartupProgram,
        Scanner_SystemService,     Scanner_SystemSoftwareSetting,
        Scanner_Uninstall,         Scanner_UserSoftwareSetting,
    };
    return index < sizeof(kScanners) / sizeof(kScanners[0]) ? kScanners[index] : nullptr;
}
