#include "RecycleBin.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "QGuards.h"

namespace Lumbrey {

const wchar_t kRecycleBinShellPrefix[] = L"::{645FF040-5081-101B-9F08-08002B30309D}\\";

namespace {

// Balances its own successful COM initialisation only.
class ComScope {
public:
    ComScope() : m_ok(SUCCEEDED(CoInitialize(NULL))) {}
    ~ComScope()
    {
        if (m_ok) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_ok;
};

std::wstring DisplayName(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags)
{
    STRRET name = {};
    if (FAILED(folder->GetDisplayNameOf(item, flags, &name))) return std::wstring();
    // The whole name, never one cut to a buffer.
    LPWSTR text = NULL;
    if (FAILED(StrRetToStrW(&name, item, &text)) || text == NULL) return std::wstring();
    std::wstring result = text;
    CoTaskMemFree(text);
    return result;
}

ULONGLONG EntrySize(IShellFolder* folder, LPCITEMIDLIST item)
{
    WIN32_FIND_DATAW data = {};
    if (FAILED(SHGetDataFromIDListW(folder, item, SHGDFIL_FINDDATA, &data, sizeof(data)))) return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

void ForEachRecycleBinEntry(const std::function<bool(const RecycleBinEntry&)>& visit)
{
    ComScope com;
    LPITEMIDLIST binPidl = NULL;
    if (FAILED(SHGetSpecialFolderLocation(NULL, CSIDL_BITBUCKET, &binPidl))) return;
    qcore::ComPtr<IShellFolder> desktop;
    qcore::ComPtr<IShellFolder> bin;
    qcore::ComPtr<IEnumIDList> entries;
    if (SUCCEEDED(SHGetDesktopFolder(desktop.Put())) &&
        SUCCEEDED(desktop->BindToObject(binPidl, NULL, IID_IShellFolder, bin.PutVoid())) &&
        bin->EnumObjects(NULL, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, entries.Put()) == S_OK) {
        LPITEMIDLIST item = NULL;
        bool more = true;
        while (more && entries->Next(1, &item, NULL) == S_OK) {
            RecycleBinEntry entry;
            entry.displayName = DisplayName(bin.Get(), item, SHGDN_INFOLDER);
            entry.parsingName = DisplayName(bin.Get(), item, SHGDN_FORPARSING);
            entry.size = EntrySize(bin.Get(), item);
            if (!entry.displayName.empty()) more = visit(entry);
            CoTaskMemFree(item);
        }
    }
    CoTaskMemFree(binPidl);
}

bool EmptyAllRecycleBins()
{
    const HRESULT hr = SHEmptyRecycleBinW(NULL, NULL, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    // Emptying an already empty bin may report a failure; what counts is that nothing is left.
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(SHQueryRecycleBinW(NULL, &info))) return info.i64NumItems == 0;
    return SUCCEEDED(hr);
}

}  // namespace Lumbrey
