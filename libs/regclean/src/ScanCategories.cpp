// The ten category checks: each walks its table key and reports the entries that point at nothing.
#include <vector>

#include "PathTests.h"
#include "RegNames.h"
#include "QGuards.h"
#include "RegWalk.h"
#include "RegistryData.h"
#include "ScanContext.h"

using namespace bexlar;

namespace {

typedef CRegistryData::SCAN_DATA ScanData;

// A walk below one subkey of a table entry (history subkeys, class and library versions).
struct SubWalk {
    const ScanData* entry;
    std::wstring key;   // the walked key, ending in a backslash
    std::wstring name;  // the name of the subkey it belongs to
};

const ScanData& EntryOf(void* user) { return *static_cast<const ScanData*>(user); }

// The engine behind a walk of a table entry, or null once it was asked to stop.
CRegistryData* Running(const ScanData& entry) { return entry.pOwner->Stopped() ? nullptr : entry.pOwner; }

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Text of string data from a walk; false when it does not fit the capacity.
bool DataText(const BYTE* data, DWORD size, size_t capacity, std::wstring* text)
{
    size_t chars = size / sizeof(wchar_t);
    const wchar_t* p = reinterpret_cast<const wchar_t*>(data);
    while (chars > 0 && p[chars - 1] == 0) --chars;
    if (chars >= capacity) return false;
    text->assign(p, chars);
    size_t nul = text->find(L'\0');
    if (nul != std::wstring::npos) text->resize(nul);
    return true;
}

// Reads a string value of at most capacity - 1 characters.
bool ReadString(HKEY root, const std::wstring& subKey, const wchar_t* valueName, size_t capacity, std::wstring* text)
{
    qcore::UniqueRegKey key;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return false;
    std::vector<BYTE> data(capacity * sizeof(wchar_t) + sizeof(wchar_t));
    DWORD type = REG_NONE, size = static_cast<DWORD>(capacity * sizeof(wchar_t));
    LONG err = RegQueryValueExW(key.Get(), valueName, nullptr, &type, data.data(), &size);
    if (err != ERROR_SUCCESS || !IsString(type)) return false;
    data[size] = 0;
    data[size + 1] = 0;
    return DataText(data.data(), size, capacity, text);
}

// ERROR_FILE_NOT_FOUND when the key does not exist; 0 when it does; other errors as they come.
LONG KeyState(HKEY root, const std::wstring& subKey)
{
    qcore::UniqueRegKey key;
    return RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, key.Put());
}

// Counts of a key's subkeys and values and whether its default value can be read.
struct KeyShape {
    LONG error = ERROR_SUCCESS;
    DWORD subKeys = 0;
    DWORD values = 0;
    bool defaultReadable = false;
};

KeyShape ShapeOf(HKEY root, const std::wstring& subKey)
{
    KeyShape shape;
    qcore::UniqueRegKey key;
    shape.error = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.Put());
    if (shape.error != ERROR_SUCCESS) return shape;
    shape.error = RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &shape.subKeys, nullptr, nullptr,
                                   &shape.values, nullptr, nullptr, nullptr, nullptr);
    shape.defaultReadable = RegQueryValueExW(key.Get(), L"", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    return shape;
}

// No subkeys, and no values or only a readable default value.
bool HoldsNothing(const KeyShape& s)
{
    return s.error == ERROR_SUCCESS && s.subKeys == 0 && (s.values == 0 || (s.values == 1 && s.defaultReadable));
}

bool MissingOrEmpty(HKEY root, const std::wstring& subKey)
{
    KeyShape s = ShapeOf(root, subKey);
    return s.error == ERROR_FILE_NOT_FOUND || HoldsNothing(s);
}

// A command that opens the file itself ("%1" as the program) is not tested.
bool OpensFileItself(const std::wstring& command)
{
    if (command.find(L"\"%1\" %*") != std::wstring::npos) return true;
    return command.size() >= 7 && command.substr(0, 6).find(L"\"%1\" ") != std::wstring::npos;
}

// A type-library path may end in a backslash and a resource index.
bool EndsInResourceIndex(const std::wstring& path)
{
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return false;
    for (size_t i = slash + 1; i < path.size(); ++i)
        if (path[i] < L'0' || path[i] > L'9') return false;
    return true;
}

}  // namespace

// ---- path tests --------------------------------------------------------------------------------------------

long CRegistryData::CheckFilePath(SCAN_RESULT& result)
{
    std::wstring text;
    if (result.pathLocation == 0) {
        text = result.data.valueName;
    } else if (result.pathLocation == 1) {
        if (!ReadString(result.data.root, result.data.subKey, result.data.valueName.c_str(), kPathCapacity, &text))
            return E_FAIL;
    } else {
        return E_INVALIDARG;
    }
    return TestPath(text, result.pathKind, m_ctx->probe, &result.path);
}

long CRegistryData::CheckCmdline(SCAN_RESULT& result)
{
    std::wstring text;
    if (result.pathLocation == 0) {
        text = result.data.valueName;
    } else if (result.pathLocation == 1) {
        if (!ReadString(result.data.root, result.data.subKey, result.data.valueName.c_str(), kCommandCapacity, &text))
            return E_FAIL;
    } else {
        return E_INVALIDARG;
    }
    text = TrimBlanks(text);
    result.path = text;
    if (text.empty()) return E_FAIL;
    return TestCommandLine(text, m_ctx->probe);
}

// ---- scan members ------------------------------------------------------------------------------------------

namespace {

template <typename Callback>
long RunScan(CRegistryData* engine, const ScanData& entry, Callback callback,
             void (*walk)(HKEY, const wchar_t*, Callback, void*), HWND notify, const std::atomic<bool>& stop)
{
    ScanData copy = entry;
    copy.pOwner = engine;
    walk(copy.key.root, copy.key.subKey.c_str(), callback, &copy);
    if (notify) SendMessageW(notify, WM_REGSCAN_CATEGORY_DONE, static_cast<WPARAM>(entry.type), 0);
    return stop.load() ? 1 : 0;
}

}  // namespace

#define SUBKEY_SCAN(member, callback)                                                                \
    long CRegistryData::member(const SCAN_DATA& entry)                                               \
    {                                                                                                \
        return RunScan<SubKeyCallback>(this, entry, &callback, &WalkSubKeys, m_hNotifyWnd, m_bStop); \
    }
#define VALUE_SCAN(member, callback)                                                               \
    long CRegistryData::member(const SCAN_DATA& entry)                                             \
    {                                                                                              \
        return RunScan<ValueCallback>(this, entry, &callback, &WalkValues, m_hNotifyWnd, m_bStop); \
    }

VALUE_SCAN(ScanSharedDlls, CheckValueNamePath)
SUBKEY_SCAN(ScanOpenSaveMRU, CheckOpenSaveMRUSubKey)
SUBKEY_SCAN(ScanFileExts, CheckFileExts)
SUBKEY_SCAN(ScanMenuOrder, CheckMenuOrder)
VALUE_SCAN(ScanMUICache, CheckMUICache)
VALUE_SCAN(ScanHelp, CheckHelp)
SUBKEY_SCAN(ScanAppPath, CheckAppPath)
SUBKEY_SCAN(ScanUninstall, CheckUninstall)
SUBKEY_SCAN(ScanFileAssociate, CheckFileAssociateSubKey)
SUBKEY_SCAN(ScanClsid, CheckClsidSubKey)
SUBKEY_SCAN(ScanTypeLib, CheckTypeLibSubKey)

// ---- 1. shared DLL records ---------------------------------------------------------------------------------

bool CRegistryData::CheckValueNamePath(HKEY, const wchar_t* name, const BYTE*, DWORD type, DWORD, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (type != REG_DWORD || !*name) return true;
    SCAN_RESULT r = self->NewResult(entry, entry.key.subKey, name, 0);
    if (self->CheckFilePath(r) == 1) self->Report(r, RSR_FILE_NOT_FOUND, &CRegistryData::CleanValue, r.path);
    return true;
}

// ---- 2. open/save dialog history ---------------------------------------------------------------------------

bool CRegistryData::CheckOpenSaveMRUSubKey(HKEY, const wchar_t* name, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (!*name) return true;
    SubWalk sub{&entry, entry.key.subKey + name + L"\\", name};
    WalkValues(entry.key.root, sub.key.c_str(), &CheckOpenSaveMRUDataPath, &sub);
    return !self->Stopped();
}

bool CRegistryData::CheckOpenSaveMRUDataPath(HKEY, const wchar_t* name, const BYTE* data, DWORD type, DWORD size,
                                             void* user)
{
    const SubWalk& sub = *static_cast<const SubWalk*>(user);
    CRegistryData* self = Running(*sub.entry);
    if (!self) return false;
    std::wstring text;
    if (!IsString(type) || wcslen(name) != 1 || !DataText(data, size, kPathCapacity, &text)) return true;
    SCAN_RESULT r = self->NewResult(*sub.entry, sub.key, name, 1);
    if (TestPath(text, r.pathKind, self->m_ctx->probe, &r.path) == 1)
        self->Report(r, RSR_JUNK_VALUE, &CRegistryData::CleanValue, sub.name + L"\\" + name);
    return true;
}

// ---- 3. per-extension Explorer history ---------------------------------------------------------------------

bool CRegistryData::CheckFileExts(HKEY, const wchar_t* name, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (name[0] != L'.') return true;
    const std::wstring ext = name;
    const std::wstring key = entry.key.subKey + ext + L"\\";

    bool error = false;
    if (KeyState(HKEY_CLASSES_ROOT, ext) == ERROR_FILE_NOT_FOUND) {
        error = true;
    } else if (MissingOrEmpty(entry.key.root, key + L"OpenWithList") &&
               MissingOrEmpty(entry.key.root, key + L"OpenWithProgids")) {
        std::wstring progId;
        error = !ReadString(entry.key.root, key + L"UserChoice", L"Progid", kPathCapacity, &progId) || progId.empty() ||
                KeyState(HKEY_CLASSES_ROOT, progId) == ERROR_FILE_NOT_FOUND;
    }
    if (error) {
        SCAN_RESULT r = self->NewResult(entry, key, L"", 1);
        self->Report(r, RSR_JUNK_VALUE, &CRegistryData::CleanKey, ext);
    }
    return true;
}

// ---- 4. Start menu order -----------------------------------------------------------------------------------

bool CRegistryData::CheckMenuOrder(HKEY, const wchar_t* name, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (!*name) return true;
    ScanContext& ctx = *self->m_ctx;
    std::wstring userFolder = ctx.userPrograms.empty() ? L"" : JoinKey(ctx.userPrograms, name);
    std::wstring commonFolder = ctx.commonPrograms.empty() ? L"" : JoinKey(ctx.commonPrograms, name);
    // Missing only when neither Programs folder definitely has it.
    if (TestAbsolutePath(userFolder, kFolderOnly, ctx.probe) != 1 ||
        TestAbsolutePath(commonFolder, kFolderOnly, ctx.probe) != 1)
        return true;
    SCAN_RESULT r = self->NewResult(entry, entry.key.subKey + name + L"\\", L"", 1);
    r.path = userFolder;
    self->Report(r, RSR_FILE_NOT_FOUND, &CRegistryData::CleanKey, name);
    return true;
}

// ---- 5. MUI cache ------------------------------------------------------------------------------------------

bool CRegistryData::CheckMUICache(HKEY, const wchar_t* name, const BYTE*, DWORD type, DWORD, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (type != REG_SZ || !*name || name[0] == L'@') return true;
    SCAN_RESULT r = self->NewResult(entry, entry.key.subKey, name, 0);
    if (self->CheckFilePath(r) == 1) self->Report(r, RSR_JUNK_VALUE, &CRegistryData::CleanValue, r.path);
    return true;
}

// ---- 6. help files -----------------------------------------------------------------------------------------

bool CRegistryData::CheckHelp(HKEY, const wchar_t* name, const BYTE* data, DWORD type, DWORD size, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    std::wstring folder;
    if (type != REG_SZ || !*name || !DataText(data, size, kPathCapacity, &folder)) return true;
    PathProbe& probe = self->m_ctx->probe;
    SCAN_RESULT r = self->NewResult(entry, entry.key.subKey, name, 1);
    long folderState = TestPath(folder, r.pathKind, probe, &r.path);
    if (folderState == 0 || (folderState != 1 && !folder.empty())) return true;
    std::wstring file = folder;
    if (file.size() > 1 && file.back() != L'\\') file += L'\\';
    file += name;
    if (TestPath(file, kFileOnly, probe, &r.path) == 1)
        self->Report(r, RSR_FILE_NOT_FOUND, &CRegistryData::CleanValue, r.path);
    return true;
}

// ---- 7. application paths ----------------------------------------------------------------------------------

bool CRegistryData::CheckAppPath(HKEY, const wchar_t* name, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (!*name) return true;
    SCAN_RESULT r = self->NewResult(entry, entry.key.subKey + name + L"\\", L"", 1);
    if (self->CheckFilePath(r) == 1)  // "…"不存在
        self->Report(r, RSR_FILE_NOT_FOUND, &CRegistryData::CleanKey, L"\"" + r.path + L"\"\u4E0D\u5B58\u5728");
    return true;
}

// ---- 8. uninstall entries ----------------------------------------------------------------------------------

bool CRegistryData::CheckUninstall(HKEY, const wchar_t* name, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (!*name) return true;
    self->CheckUninstallString(entry, entry.key.subKey + name + L"\\");
    return !self->Stopped();
}

bool CRegistryData::CheckUninstallString(const SCAN_DATA& entry, const std::wstring& subKey)
{
    SCAN_RESULT r = NewResult(entry, subKey, L"UninstallString", 1);
    if (CheckCmdline(r) != 1) return true;
    r.data.valueName.clear();
    std::wstring name = subKey.substr(entry.key.subKey.size());
    if (!name.empty() && name.back() == L'\\') name.pop_back();
    // “name”对应的安装信息不存在
    return Report(r, RSR_FILE_NOT_FOUND, &CRegistryData::CleanKey,
                  L"\u201C" + name + L"\u201D\u5BF9\u5E94\u7684\u5B89\u88C5\u4FE1\u606F\u4E0D\u5B58\u5728");
}

// ---- 9. file associations ----------------------------------------------------------------------------------

bool CRegistryData::CheckFileAssociateSubKey(HKEY, const wchar_t* name, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (!*name) return true;
    if (name[0] == L'.') {
        self->CheckExtAssociateKey(entry, name);
    } else {
        self->CheckShellOpenCommand(entry, name);
        if (!self->Stopped()) self->CheckDefaultIcon(entry, name);
    }
    return !self->Stopped();
}

bool CRegistryData::CheckExtAssociateKey(const SCAN_DATA& entry, const std::wstring& name)
{
    const std::wstring key = entry.key.subKey + name + L"\\";
    if (!HoldsNothing(ShapeOf(entry.key.root, key))) return true;
    std::wstring progId;
    bool error = !ReadString(entry.key.root, key, L"", kPathCapacity, &progId) || progId.empty() ||
                 KeyState(HKEY_CLASSES_ROOT, progId) == ERROR_FILE_NOT_FOUND;
    if (!error) return true;
    SCAN_RESULT r = NewResult(entry, key, L"", 1);
    r.path = progId;
    return Report(r, RSR_JUNK_VALUE, &CRegistryData::CleanKey, L"");
}

bool CRegistryData::CheckShellOpenCommand(const SCAN_DATA& entry, const std::wstring& name)
{
    SCAN_RESULT r = NewResult(entry, entry.key.subKey + name + L"\\shell\\open\\command\\", L"", 1);
    if (CheckCmdline(r) != 1 || OpensFileItself(r.path)) return true;
    return Report(r, RSR_JUNK_VALUE, &CRegistryData::CleanKey, name);
}

bool CRegistryData::CheckDefaultIcon(const SCAN_DATA& entry, const std::wstring& name)
{
    SCAN_RESULT r = NewResult(entry, entry.key.subKey + name + L"\\DefaultIcon\\", L"", 1);
    if (CheckFilePath(r) != 1 || r.path.find(L"%1") != std::wstring::npos) return true;
    // An icon index after the last comma: the file before it decides.
    size_t comma = r.path.rfind(L',');
    if (comma != std::wstring::npos && TestPath(r.path.substr(0, comma), kFileOrFolder, m_ctx->probe, nullptr) != 1)
        return true;
    return Report(r, RSR_JUNK_VALUE, &CRegistryData::CleanKey, name);
}

// ---- 10. COM classes ---------------------------------------------------------------------------------------

bool CRegistryData::CheckClsidSubKey(HKEY, const wchar_t* name, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (!*name) return true;
    const std::wstring classKey = entry.key.subKey + name + L"\\";
    SCAN_RESULT r = self->NewResult(entry, classKey + L"InprocServer32\\", L"", 1);
    if (self->CheckFilePath(r) == 1 && r.path.find(L":\\") != std::wstring::npos) {
        // A class served by a live out-of-process server is still usable.
        SCAN_RESULT server = self->NewResult(entry, classKey + L"LocalServer32\\", L"", 1);
        if (self->CheckCmdline(server) != 0) {
            r.data.subKey = classKey;
            self->Report(r, RSR_FILE_NOT_FOUND, &CRegistryData::CleanKey, r.path);
        }
    }
    if (self->Stopped()) return false;
    SubWalk sub{&entry, classKey + L"InprocServer32\\", name};
    WalkSubKeys(entry.key.root, sub.key.c_str(), &CheckClsidCodeBase, &sub);
    return !self->Stopped();
}

bool CRegistryData::CheckClsidCodeBase(HKEY, const wchar_t* name, void* user)
{
    const SubWalk& sub = *static_cast<const SubWalk*>(user);
    CRegistryData* self = Running(*sub.entry);
    if (!self) return false;
    if (!*name) return true;
    SCAN_RESULT r = self->NewResult(*sub.entry, sub.key + name + L"\\", L"CodeBase", 1);
    if (self->CheckFilePath(r) == 1) self->Report(r, RSR_FILE_NOT_FOUND, &CRegistryData::CleanValue, r.path);
    return true;
}

// ---- 11. type libraries ------------------------------------------------------------------------------------

bool CRegistryData::CheckTypeLibSubKey(HKEY, const wchar_t* name, void* user)
{
    const SCAN_DATA& entry = EntryOf(user);
    CRegistryData* self = Running(entry);
    if (!self) return false;
    if (!*name) return true;
    SubWalk sub{&entry, entry.key.subKey + name + L"\\", name};
    WalkSubKeys(entry.key.root, sub.key.c_str(), &CheckTypeLibWin32Key, &sub);
    return !self->Stopped();
}

bool CRegistryData::CheckTypeLibWin32Key(HKEY, const wchar_t* name, void* user)
{
    const SubWalk& sub = *static_cast<const SubWalk*>(user);
    CRegistryData* self = Running(*sub.entry);
    if (!self) return false;
    if (!*name) return true;
    // The default value of the version's win32 key is the item.
    SCAN_RESULT r = self->NewResult(*sub.entry, sub.key + name + L"\\0\\win32\\", L"", 1);
    if (self->CheckFilePath(r) == 1 && !EndsInResourceIndex(r.path))
        self->Report(r, RSR_FILE_NOT_FOUND, &CRegistryData::CleanValue, r.path);
    return true;
}
