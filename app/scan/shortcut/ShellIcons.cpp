#include "ShellIcons.h"

#include <shellapi.h>

#include "QGuards.h"

namespace ShortcutPage {

void LoadShellIcons(CImageList& list, std::initializer_list<UINT> indices)
{
    list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 30, 10);
    for (UINT index : indices) {
        const HICON extracted = ::ExtractIconW(AfxGetInstanceHandle(), L"shell32.dll", index);
        if (!extracted || extracted == reinterpret_cast<HICON>(1)) continue;  // 1: not a file with icons
        qcore::UniqueIcon icon(extracted);
        list.Add(icon.Get());
    }
}

}  // namespace ShortcutPage
