#include "YarrowbyUninstallDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_UNINSTALL, CYarrowbyUninstallDlg);

BEGIN_MESSAGE_MAP(CYarrowbyUninstallDlg, CFunctionDlg)
    ON_BN_CLICKED(CYarrowbyUninstallDlg::IDC_SHOW_ALL, &CYarrowbyUninstallDlg::OnShowAll)
    ON_BN_CLICKED(CYarrowbyUninstallDlg::IDC_REFRESH, &CYarrowbyUninstallDlg::OnRefreshClicked)
    ON_BN_CLICKED(CYarrowbyUninstallDlg::IDC_UNINSTALL, &CYarrowbyUninstallDlg::OnUninstall)
    ON_BN_CLICKED(CYarrowbyUninstallDlg::IDC_REMOVE, &CYarrowbyUninstallDlg::OnRemove)
    ON_NOTIFY(LVN_ITEMCHANGED, CYarrowbyUninstallDlg::IDC_LIST, &CYarrowbyUninstallDlg::OnItemChanged)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CYarrowbyUninstallDlg::CYarrowbyUninstallDlg() { CreateSkinFont(m_titleFont, 15, TRUE); }

CYarrowbyUninstallDlg::~CYarrowbyUninstallDlg()
{
    DeleteRecords();
    if (m_shownIcon) ::DestroyIcon(m_shownIcon);
}

void CYarrowbyUninstallDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right - 20;
    CreateCheckBox(m_showAll, L"IDS_SYS_TOOLS_UNISTALL_SHOW_ALL_UPDATE", IDC_SHOW_ALL, CRect(20, 10, 500, 30));
    CreateList(m_list, IDC_LIST, CRect(20, 38, right, 330), WS_TABSTOP | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.SetFont(&TextFont());
    m_list.InsertColumn(0, TranslateCode(L"IDS_SYS_TOOLS_UNISTALL_LIST1"), LVCFMT_LEFT, 330);
    m_list.InsertColumn(1, TranslateCode(L"IDS_SYS_TOOLS_UNISTALL_LIST2"), LVCFMT_RIGHT, 90);
    m_list.InsertColumn(2, TranslateCode(L"IDS_SYS_TOOLS_UNISTALL_LIST3"), LVCFMT_LEFT, 250);
    m_icons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 50, 10);
    m_list.SetImageList(&m_icons, LVSIL_SMALL);

    const int detailsRight = right - 150;
    m_details.Create(L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(20, 340, detailsRight, 516), this, IDC_DETAILS);
    m_icon.Create(L"", WS_CHILD | WS_VISIBLE | SS_ICON, CRect(35, 362, 67, 394), this, IDC_PROGRAM_ICON);
    CreateText(m_title, nullptr, IDC_TITLE, CRect(80, 366, detailsRight - 15, 388), SS_LEFT | SS_ENDELLIPSIS);
    m_title.SetFont(&m_titleFont);
    // Each detail's label, and its value under the next id.
    const struct {
        CStatic* value;
        const wchar_t* key;
        int id;
    } details[] = {{&m_version, L"IDS_SYS_TOOLS_UNISTALL_VERSION", IDC_VERSION_LABEL},
                   {&m_publisher, L"IDS_SYS_TOOLS_UNISTALL_PUBLISHER", IDC_PUBLISHER_LABEL},
                   {&m_homePage, L"IDS_SYS_TOOLS_UNISTALL_HOMEPAGE", IDC_HOMEPAGE_LABEL}};
    for (int i = 0; i < 3; ++i) {
        const int y = 410 + i * 30;
        CreateControl({details[i].id, PageControlKind::Text, {35, y, 150, y + 18}, details[i].key});
        CreateText(*details[i].value, nullptr, UINT(details[i].id + 1), CRect(155, y, detailsRight - 15, y + 18),
                   SS_LEFT | SS_ENDELLIPSIS);
    }

    const PageControlRow buttons[] = {
        {IDC_REFRESH, PageControlKind::Button, {right - 124, 350, right, 390}, L"IDS_SYS_TOOLS_UNISTALL_REFRESH"},
        {IDC_UNINSTALL, PageControlKind::Button, {right - 124, 408, right, 448}, L"IDS_SYS_TOOLS_UNISTALL_UNISTALL"},
        {IDC_REMOVE, PageControlKind::Button, {right - 124, 466, right, 506}, L"IDS_SYS_TOOLS_UNISTALL_REMOVE"},
    };
    CreateControls(buttons);
}

void CYarrowbyUninstallDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    CWaitCursor wait;
    Refresh();
}

void CYarrowbyUninstallDlg::DeleteRecords()
{
    for (UnInstallItem* record : m_records) {
        if (!record) continue;  // taken off by a removal
        if (record->icon) ::DestroyIcon(record->icon);
        delete record;
    }
    m_records.clear();
}

void CYarrowbyUninstallDlg::Refresh()
{
    // Rows first: their item data points at the records.
    m_list.DeleteAllItems();
    DeleteRecords();
    for (int i = m_icons.GetImageCount() - 1; i >= 0; --i) m_icons.Remove(i);

    m_manager.EnumPrograms(m_records);
    for (UnInstallItem* record : m_records) {
        if (record->hidden && !m_bShowAll) continue;
        // A private copy, which the record may destroy with itself.
        if (!record->icon)
            record->icon = static_cast<HICON>(
                ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kDefaultIcon), IMAGE_ICON, 16, 16, 0));
        const int row = m_list.GetItemCount();
        const int image = m_icons.Add(record->icon);
        m_list.InsertItem(row, record->displayName.c_str(), image);
        m_list.SetItemText(row, 1, record->size.c_str());
        m_list.SetItemText(row, 2, record->publisher.c_str());
        m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(record));
    }
}

const UnInstallItem* CYarrowbyUninstallDlg::RecordOfRow(int row) const
{
    if (row < 0 || row >= m_list.GetItemCount()) return nullptr;
    return reinterpret_cast<const UnInstallItem*>(m_list.GetItemData(row));
}

int CYarrowbyUninstallDlg::SelectedRow() const { return m_list.GetNextItem(-1, LVNI_SELECTED); }

void CYarrowbyUninstallDlg::OnShowAll()
{
    // Each click turns it over, whatever the box shows.
    m_bShowAll = !m_bShowAll;
    Refresh();
}

void CYarrowbyUninstallDlg::OnRefreshClicked()
{
    CWaitCursor wait;
    Refresh();
}

void CYarrowbyUninstallDlg::OnItemChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    const UnInstallItem* record = RecordOfRow(SelectedRow());
    if (!record) return;
    m_title.SetWindowText(record->displayName.c_str());
    m_version.SetWindowText(record->version.c_str());
    m_publisher.SetWindowText(record->publisher.c_str());
    m_homePage.SetWindowText(record->homePage.c_str());
    HICON copy = record->icon ? ::CopyIcon(record->icon) : nullptr;
    m_icon.SetIcon(copy);
    if (m_shownIcon) ::DestroyIcon(m_shownIcon);
    m_shownIcon = copy;
    RepaintDetails();
}

void CYarrowbyUninstallDlg::RepaintDetails()
{
    CRect area;
    m_details.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area);
}

void CYarrowbyUninstallDlg::AskToChooseAProgram()
{
    AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_UNISTALL_CHOOSE"), MB_OK | MB_ICONINFORMATION);
}

void CYarrowbyUninstallDlg::OnUninstall()
{
    const UnInstallItem* record = RecordOfRow(SelectedRow());
    if (!record) {
        AskToChooseAProgram();
        return;
    }
    if (!m_manager.UninstallProgram(record->uninstallCmd))
        AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_UNISTALL_START_FAILED"), MB_OK | MB_ICONWARNING);
}

void CYarrowbyUninstallDlg::OnRemove()
{
    const int row = SelectedRow();
    UnInstallItem* record = const_cast<UnInstallItem*>(RecordOfRow(row));
    if (!record) {
        AskToChooseAProgram();
        return;
    }
    if (AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_UNINSTALL_WARNNING"), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (!m_manager.RemoveProgram(record)) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_UNISTALL_REMOVE_FAILED"), MB_OK | MB_ICONWARNING);
        return;
    }
    // The row goes before its record; the details keep showing their own copy of the icon.
    m_list.DeleteItem(row);
    for (UnInstallItem*& slot : m_records)
        if (slot == record) slot = nullptr;
    if (record->icon) ::DestroyIcon(record->icon);
    delete record;
}

HBRUSH CYarrowbyUninstallDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    }
    return SharedWhiteBrush();
}
