#include "SysEvidence.h"

#include <Common.h>
#include <shlobj.h>

#include <climits>

#include "EvidenceCategories.h"
#include "FileSystemUtil.h"
#include "FolderWalk.h"
#include "QGuards.h"
#include "QPathText.h"
#include "QShellFolder.h"
#include "RecycleBin.h"

namespace Lumbrey {

namespace {

const size_t kValueNameChars = 256;
const DWORD kValueDataBytes = 256;

int ClampedSize(ULONGLONG size) { return size > static_cast<ULONGLONG>(INT_MAX) ? INT_MAX : static_cast<int>(size); }

// Value data as text up to its first null, never past the bytes actually read.
std::wstring DataAsText(const BYTE* data, DWORD size)
{
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
    const size_t chars = size / sizeof(wchar_t);
    size_t len = 0;
    while (len < chars && text[len] != 0) ++len;
    return std::wstring(text, len);
}

std::wstring SystemRoot()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD len = GetEnvironmentVariableW(L"systemroot", path, MAX_PATH);
    if (len == 0 || len >= MAX_PATH) return std::wstring();
    return path;
}

}  // namespace

CSysEvidence::CSysEvidence() : m_hParentWnd(NULL), m_nStop(0) {}

void CSysEvidence::SetParentWnd(HWND wnd)
{
    if (wnd != NULL) m_hParentWnd = wnd;
}

void CSysEvidence::StopScanEvidence(int stop) { m_nStop = stop; }

void CSysEvidence::ScanInternetExplorer(int category, std::vector<ScanResultItem>& items)
{
    ScanGroup(GROUP_INTERNET_EXPLORER, category, items);
}

void CSysEvidence::ScanWindowsSoftware(int category, std::vector<ScanResultItem>& items)
{
    ScanGroup(GROUP_WINDOWS_SOFTWARE, category, items);
}

void CSysEvidence::ScanWindowsSystem(int category, std::vector<ScanResultItem>& items)
{
    ScanGroup(GROUP_WINDOWS_SYSTEM, category, items);
}

void CSysEvidence::ScanInternetSoftware(int category, std::vector<ScanResultItem>& items)
{
    ScanGroup(GROUP_INTERNET_SOFTWARE, category, items);
}

void CSysEvidence::ScanGroup(int group, int number, std::vector<ScanResultItem>& items)
{
    const CategoryRow* row = FindCategory(static_cast<CategoryGroup>(group), number);
    if (row == nullptr || Stopped()) return;
    const std::wstring name = row->name;
    switch (row->source) {
    case TraceSource::RegistryKeys:
        for (const wchar_t* key : row->paths) {
            if (key != nullptr && !Stopped()) EnumRegKeys(HKEY_CURRENT_USER, key, items, name, number);
        }
        break;
    case TraceSource::RegistryValue:
        ReadRegValue(HKEY_CURRENT_USER, row->paths[0], row->valueName, items, name, number);
        break;
    case TraceSource::SpecialFolder: EnumFiles(qcore::SpecialFolderPath(row->csidl), items, name, number); break;
    case TraceSource::ShellFolderValue: {
        std::wstring folder;
        if (SBRegGetStringValueW(HKEY_CURRENT_USER, row->paths[0], row->valueName, folder))
            EnumFiles(folder, items, name, number);
        break;
    }
    case TraceSource::LocalAppData: {
        const std::wstring base = qcore::SpecialFolderPath(CSIDL_LOCAL_APPDATA);
        if (!base.empty()) EnumFiles(base + row->paths[0], items, name, number);
        break;
    }
    case TraceSource::SystemRootFolder: {
        const std::wstring base = SystemRoot();
        if (!base.empty()) EnumFiles(base + row->paths[0], items, name, number);
        break;
    }
    case TraceSource::RecycleBin: EnumRecyle(items, name, number); break;
    }
}

void CSysEvidence::Report(std::vector<ScanResultItem>& items, ScanResultItem&& item, int number)
{
    items.push_back(std::move(item));
    if (m_hParentWnd != NULL)
        SendMessageW(m_hParentWnd, WM_EVIDENCE_ITEM_FOUND, reinterpret_cast<WPARAM>(&items.back()), number);
}

void CSysEvidence::EnumRegKeys(HKEY root, const std::wstring& keyPath, std::vector<ScanResultItem>& items,
                               const std::wstring& category, int number)
{
    qcore::UniqueRegKey owner;
    if (SBRegOpenKeyW(root, keyPath.c_str(), KEY_READ, owner.Put()) != ERROR_SUCCESS) return;
    const HKEY key = owner.Get();
    for (DWORD index = 0; !Stopped(); ++index) {
        wchar_t name[kValueNameChars] = {};
        BYTE data[kValueDataBytes + sizeof(wchar_t)] = {};  // room for a terminator after unterminated data
        DWORD nameChars = kValueNameChars;
        DWORD dataBytes = kValueDataBytes;
        DWORD type = 0;
        // The walk ends at the first value that does not fit (its name or data is too long).
        if (RegEnumValueW(key, index, name, &nameChars, NULL, &type, data, &dataBytes) != ERROR_SUCCESS) break;
        ScanResultItem item;
        item.category = category;
        item.keyPath = keyPath;
        item.valueName.assign(name, nameChars);
        item.valueData = DataAsText(data, dataBytes);
        item.kind = 0;
        Report(items, std::move(item), number);
    }
}

void CSysEvidence::ReadRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                                std::vector<ScanResultItem>& items, const std::wstring& category, int number)
{
    qcore::UniqueRegKey key;
    if (SBRegOpenKeyW(root, keyPath.c_str(), KEY_READ, key.Put()) != ERROR_SUCCESS) return;
    BYTE data[kValueDataBytes + sizeof(wchar_t)] = {};
    DWORD dataBytes = kValueDataBytes;
    DWORD type = 0;
    const LONG status = RegQueryValueExW(key.Get(), valueName.c_str(), NULL, &type, data, &dataBytes);
    if (status != ERROR_SUCCESS) return;
    ScanResultItem item;
    item.category = category;
    item.keyPath = keyPath;
    item.valueName = valueName;
    item.valueData = DataAsText(data, dataBytes);
    item.kind = 0;
    Report(items, std::move(item), number);
}

void CSysEvidence::EnumFiles(const std::wstring& folder, std::vector<ScanResultItem>& items,
                             const std::wstring& category, int number)
{
    // A relative folder (an empty shell-folder value, say) would be resolved against the current folder.
    if (!qpath::IsAbsolutePath(folder) || Stopped()) return;
    std::wstring dir = folder;
    while (dir.size() > 3 && dir.back() == L'\\') dir.pop_back();
    if (dir.size() == 3 && dir[1] == L':') dir.pop_back();

    // Files first, then the sub-folders, each sub-folder's files before its own sub-folders.
    std::vector<std::wstring> subFolders;
    ListFolder(dir, [&](const FolderEntry& entry) {
        if (Stopped()) return false;
        if (entry.IsFolder()) {
            // Linked folders are not entered: they could lead out of the tree or loop.
            if (!entry.IsLink()) subFolders.push_back(entry.path);
            return true;
        }
        // A file that does not open exclusively is in use (or locked to us) and is not offered.
        if (!OpensExclusively(entry.path)) return true;
        ScanResultItem item;
        item.category = category;
        item.filePath = entry.path;
        item.kind = 1;
        const ULONGLONG size = (static_cast<ULONGLONG>(entry.data.nFileSizeHigh) << 32) | entry.data.nFileSizeLow;
        item.size = ClampedSize(size);
        Report(items, std::move(item), number);
        return true;
    });
    for (const std::wstring& sub : subFolders) {
        if (Stopped()) break;
        EnumFiles(sub, items, category, number);
    }
}

void CSysEvidence::EnumRecyle(std::vector<ScanResultItem>& items, const std::wstring& category, int number)
{
    ForEachRecycleBinEntry([&](const RecycleBinEntry& entry) {
        if (Stopped()) return false;
        ScanResultItem item;
        item.category = category;
        item.kind = 1;
        if (qpath::IsAbsolutePath(entry.parsingName)) {
            item.filePath = entry.parsingName;
            const long long size = SBGetFileSizeW(entry.parsingName.c_str());
            item.size = size > 0 ? ClampedSize(static_cast<ULONGLONG>(size)) : 0;
        } else {
            // No file-system path: name the entry inside the recycle bin's shell folder instead.
            item.filePath = std::wstring(RecycleBinShellPrefix()) + entry.displayName;
            item.size = ClampedSize(entry.size);
        }
        Report(items, std::move(item), number);
        return true;
    });
}

int CSysEvidence::deleteFileInRecy(std::wstring /*path*/, HWND /*wnd*/) { return EmptyAllRecycleBins() ? 1 : 0; }

bool CSysEvidence::IsRecycleBinItem(const ScanResultItem& item)
{
    return item.kind == 1 && item.category == L"RecycleBin";
}

const wchar_t* CSysEvidence::RecycleBinShellPrefix() { return kRecycleBinShellPrefix; }

}  // namespace Lumbrey
