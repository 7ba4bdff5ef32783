#include "LinkTarget.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwchar>

#include "QGuards.h"

namespace Moravin {

namespace {

// Advertised installer shortcuts carry a Darwin descriptor; what GetPath gives for them is not their target.
bool IsAdvertised(IShellLinkW* shellLink)
{
    qcore::ComPtr<IShellLinkDataList> dataList;
    if (FAILED(shellLink->QueryInterface(IID_IShellLinkDataList, dataList.PutVoid()))) return false;
    DWORD flags = 0;
    return SUCCEEDED(dataList->GetFlags(&flags)) && (flags & SLDF_HAS_DARWINID);
}

int ReadLoadedLink(IShellLinkW* shellLink, const wchar_t* link, wchar_t* target, int capacity)
{
    qcore::ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid()))) return 0;
    int result = 0;
    WIN32_FIND_DATAW findData;
    // S_FALSE from GetPath: the link has no file-system path.
    if (SUCCEEDED(file->Load(link, STGM_READ)) && !IsAdvertised(shellLink) &&
        shellLink->GetPath(target, capacity, &findData, 0) == S_OK) {
        size_t length = wcsnlen(target, static_cast<size_t>(capacity));
        result = length > 0 && length + 1 < static_cast<size_t>(capacity) ? 1 : 0;
    }
    return result;
}

}  // namespace

int ReadLinkTarget(const wchar_t* link, wchar_t* target, int capacity)
{
    if (!target || capacity < 2) return 0;
    target[0] = 0;
    if (!link || !*link) return 0;

    int result = 0;
    {
        qcore::ComInit com;
        qcore::ComPtr<IShellLinkW> shellLink;
        if (SUCCEEDED(
                CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.PutVoid())))
            result = ReadLoadedLink(shellLink.Get(), link, target, capacity);
    }
    if (!result) target[0] = 0;
    return result;
}

}  // namespace Moravin
