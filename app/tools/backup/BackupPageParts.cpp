#include "BackupPageParts.h"

#include "Dictionary.h"
#include "controls/FolderDialog.h"

using nsVendrel::TranslateCode;

namespace BackupPages {

int ShowMessage(const wchar_t* key, UINT type) { return AfxMessageBox(TranslateCode(key), type); }

int ShowMessage(const wchar_t* key, const CString& details, UINT type)
{
    return AfxMessageBox(TranslateCode(key) + details, type);
}

CRect PageButtonRect(int x, int y) { return CRect(x, y, x + 124, y + 40); }

void ChooseFolderInto(CEdit& edit)
{
    CString current;
    edit.GetWindowText(current);
    CFolderDialog dialog;
    if (!current.IsEmpty()) dialog.SetInitialFolder(current);
    if (dialog.DoModal() == IDOK) edit.SetWindowText(dialog.GetFolderPath());
}

std::vector<FolderEntry> ShownEntries(const std::wstring& folder)
{
    std::wstring base = folder;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    std::vector<FolderEntry> entries;
    CFileFind find;
    BOOL more = find.FindFile((base + L"\\*.*").c_str());
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots() || find.IsHidden()) continue;
        entries.push_back({static_cast<LPCWSTR>(find.GetFileName()), find.IsDirectory() != FALSE,
                           find.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT) != FALSE});
    }
    return entries;
}

void SetResultText(CStatic& label, const CString& text)
{
    label.SetWindowText(text);
    CWnd* parent = label.GetParent();
    if (!parent) return;
    CRect rc;
    label.GetWindowRect(&rc);
    parent->ScreenToClient(&rc);
    parent->InvalidateRect(&rc);
}

}  // namespace BackupPages
