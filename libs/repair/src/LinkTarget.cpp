#include "LinkTarget.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwchar>

namespace Moravin {

namespace {

// Advertised installer shortcuts carry a Darwin descriptor; what GetPath gives for them is not their target.
bool IsAdvertised(IShellLinkW* shellLink)
{
    IShellLinkDataList* dataList = nullptr;
    if (FAILED(shellLink->QueryInterface(IID_IShellLinkDataList, reinterpret_cast<void**>(&dataList))))
        return false;
    DWORD flags = 0;
    bool advertised = SUCCEEDED(dataList->GetFlags(&flags)) && (flags & SLDF_HAS_DARWINID);
    dataList->Release();
    return advertised;
}

int ReadLoadedLink(IShellLinkW* shellLink, const wchar_t* link, wchar_t* target, int capacity)
{
    IPersistFile* file = nullptr;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return 0;
    int result = 0;
    WIN32_FIND_DATAW findData;
    // S_FALSE from GetPath: the link has no file-system path.
    if (SUCCEEDED(file->Load(link, STGM_READ)) && !IsAdvertised(shellLink) &&
        shellLink->GetPath(target, capacity, &findData, 0) == S_OK) {
        size_t length = wcsnlen(target, static_cast<size_t>(capacity));
        result = length > 0 && length + 1 < static_cast<size_t>(capacity) ? 1 : 0;
    }
    file->Release();
    return result;
}

}  // namespace

int ReadLinkTarget(const wchar_t* link, wchar_t* target, int capacity)
{
    if (!target || capacity < 2) return 0;
    target[0] = 0;
    if (!link || !*link) return 0;

    HRESULT init = CoInitialize(nullptr);
    int result = 0;
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        result = ReadLoadedLink(shellLink, link, target, capacity);
        shellLink->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    if (!result) target[0] = 0;
    return result;
}

}  // namespace Moravin
