#include "SysOpStartupOptDlg.h"

#include <shellapi.h>

#include <Common.h>
#include <Tessik/TweakView.h>

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;
using tessik::CRegAutoStartupItemMan;

QUORVEL_REGISTER_PAGE(PAGE_ID_OPTIMIZE_STARTUP, CSysOpStartupOptDlg);

namespace {

// Still there when the list is filled: the Run value reads as a string in the view it was listed from.
bool StillPresent(const CSysOpStartupOptDlg::Item& item, bool wow64)
{
    std::wstring command;
    return SBRegGetStringValueW(item.root, item.keyPath.c_str(), item.name.c_str(), command,
                                tessik::TweakView(item.root, wow64));
}

// Gone afterwards; a value removed meanwhile by another program counts as removed.
bool RemoveRunValue(const CSysOpStartupOptDlg::Item& item, bool wow64)
{
    const LONG status =
        SBRegDeleteValueW(item.root, tessik::kRunKeyPath, item.name.c_str(), tessik::TweakView(item.root, wow64));
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// "Label: value": the dictionary's texts lose their trailing blank, so the page puts one in (a full-width colon
// carries its own space).
CString LabelAndValue(const wchar_t* labelKey, const std::wstring& value)
{
    CString label = TranslateCode(labelKey);
    label.TrimRight();
    if (!label.IsEmpty() && label[label.GetLength() - 1] != L'\xFF1A') label += L' ';
    return label + value.c_str();
}

HICON ProgramIcon(const wchar_t* program)
{
    SHFILEINFOW info = {};
    if (SHGetFileInfoW(program, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES) &&
        info.hIcon)
        return info.hIcon;
    return ExtractIconW(AfxGetInstanceHandle(), L"shell32.dll", 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CSysOpStartupOptDlg, CFunctionDlg)
    ON_NOTIFY(LVN_ITEMCHANGED, CSysOpStartupOptDlg::IDC_LIST, &CSysOpStartupOptDlg::OnItemChanged)
    ON_BN_CLICKED(CSysOpStartupOptDlg::IDC_REMOVE, &CSysOpStartupOptDlg::OnRemove)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSysOpStartupOptDlg::CSysOpStartupOptDlg() : CSysOpStartupOptDlg(IsWow64()) {}

CSysOpStartupOptDlg::CSysOpStartupOptDlg(bool wow64) : m_wow64(wow64) {}

void CSysOpStartupOptDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    m_bShowPanel = true;
    m_rcPanel[0] = CRect(10, 10, client.right - 10, 480);
    m_nPanelCount = 1;

    CreateList(m_list, IDC_LIST, CRect(30, 20, client.right - 30, 350), WS_TABSTOP | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               {{L"IDS_SYS_OP_STARTUP_LIST_ITEM", 150}, {L"IDS_SYS_OP_STARTUP_LIST_FILENAME", 500}});
    m_list.SetFont(&TextFont());
    m_smallIcons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 50, 10);
    m_largeIcons.Create(32, 32, ILC_COLOR32 | ILC_MASK, 50, 10);
    m_list.SetImageList(&m_smallIcons, LVSIL_SMALL);

    CreateGroupBox(m_details, L"IDS_SYS_OP_STARTUP_TEXT_DETAIL_INFORMATION", IDC_DETAILS,
                   CRect(30, 360, client.right - 180, 470));
    m_icon.Create(L"", WS_CHILD | WS_VISIBLE | SS_ICON, CRect(45, 385, 77, 417), this, IDC_PROGRAM_ICON);
    const int textRight = client.right - 195;
    CreateText(m_name, L"IDS_SYS_OP_STARTUP_TEXT_INSTRUCTION", IDC_NAME, CRect(90, 382, textRight, 400),
               SS_LEFT | SS_ENDELLIPSIS);
    CreateText(m_file, L"IDS_SYS_OP_STARTUP_TEXT_FILENAME", IDC_FILE, CRect(90, 406, textRight, 424),
               SS_LEFT | SS_PATHELLIPSIS);
    CreateText(m_location, L"IDS_SYS_OP_STARTUP_TEXT_LOCATION", IDC_LOCATION, CRect(90, 430, textRight, 448),
               SS_LEFT | SS_PATHELLIPSIS);
    CreateButton(m_remove, L"IDS_SYS_OP_STARTUP_BUTTON_REMOVE", IDC_REMOVE,
                 CRect(client.right - 164, 420, client.right - 40, 460));
}

void CSysOpStartupOptDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    m_name.SetWindowText(TranslateCode(L"IDS_SYS_OP_STARTUP_TEXT_INSTRUCTION"));
    m_file.SetWindowText(TranslateCode(L"IDS_SYS_OP_STARTUP_TEXT_FILENAME_INIT"));
    m_location.SetWindowText(TranslateCode(L"IDS_SYS_OP_STARTUP_TEXT_LOCATION_INIT"));
    m_icon.SetIcon(nullptr);
    Refresh();
}

const CSysOpStartupOptDlg::Item* CSysOpStartupOptDlg::ItemOfRow(int row) const
{
    return row >= 0 && row < static_cast<int>(m_items.size()) ? &m_items[row] : nullptr;
}

void CSysOpStartupOptDlg::Refresh()
{
    m_list.DeleteAllItems();
    ImageList_RemoveAll(m_smallIcons.GetSafeHandle());
    ImageList_RemoveAll(m_largeIcons.GetSafeHandle());
    m_items.clear();

    // A local manager: the shared one exists only after the library's set-up, which the program does not run.
    std::vector<Item> found;
    CRegAutoStartupItemMan().GetStartupItems(found, m_wow64);
    for (const Item& item : found) {
        if (!StillPresent(item, m_wow64)) continue;
        std::wstring program;
        if (!SBGetFileNameFromCommandW(item.command.c_str(), program) || program.empty()) continue;
        HICON icon = ProgramIcon(program.c_str());
        m_smallIcons.Add(icon);
        m_largeIcons.Add(icon);
        if (icon) DestroyIcon(icon);
        const int row = m_list.GetItemCount();
        m_list.InsertItem(row, item.name.c_str(), row);
        m_list.SetItemText(row, 1, item.command.c_str());
        m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(item.root));
        m_items.push_back(item);
    }
}

void CSysOpStartupOptDlg::OnItemChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    const Item* item = ItemOfRow(row);
    if (!item) return;
    m_name.SetWindowText(item->name.c_str());
    m_file.SetWindowText(LabelAndValue(L"IDS_SYS_OP_STARTUP_TEXT_FILENAME", item->name));
    m_location.SetWindowText(LabelAndValue(L"IDS_SYS_OP_STARTUP_TEXT_LOCATION", item->command));
    HICON previous = m_icon.SetIcon(ImageList_GetIcon(m_largeIcons.GetSafeHandle(), row, ILD_NORMAL));
    if (previous) DestroyIcon(previous);
    // The statics have no background of their own: repaint the panel under the details.
    CRect area;
    m_details.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area);
}

void CSysOpStartupOptDlg::OnRemove()
{
    bool anyChecked = false;
    CString failed;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const Item* item = ItemOfRow(row);
        if (!item || !m_list.GetCheck(row)) continue;
        anyChecked = true;
        if (!RemoveRunValue(*item, m_wow64)) failed += L"\n- " + CString(item->name.c_str());
    }
    Refresh();
    if (!anyChecked)
        AfxMessageBox(TranslateCode(L"IDS_SYS_OP_STARTUP_NOTHING_REMOVED"));
    else if (failed.IsEmpty())
        AfxMessageBox(TranslateCode(L"IDS_SYS_OP_STARTUP_REMOVE_COMPLETE"));
    else
        AfxMessageBox(TranslateCode(L"IDS_SYS_OP_STARTUP_REMOVE_FAILED") + failed, MB_OK | MB_ICONWARNING);
}

HBRUSH CSysOpStartupOptDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) pDC->SetBkMode(TRANSPARENT);
    const int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    if (id >= IDC_DETAILS && id <= IDC_LOCATION) return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    return SharedWhiteBrush();
}
