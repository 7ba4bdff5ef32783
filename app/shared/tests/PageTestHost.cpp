#include "PageTestHost.h"

#include <commctrl.h>

#include "QTestSupport.h"
#include "resource.h"

namespace wizard_test {

namespace {

// The application object of the test program: AfxGetMainWnd answers the host window through it.
CWinApp& TestApp()
{
    static CWinApp app(L"RepairPageTests");
    return app;
}

}  // namespace

PageHost::PageHost()
{
    TestApp().m_pMainWnd = &m_main;
    m_container.Create(IDD_FUNCTION_PAGE, &m_main);
    m_container.MoveWindow(186, 126, 737, 536);
    m_container.ShowWindow(SW_SHOW);
}

PageHost::~PageHost()
{
    m_container.DestroyWindow();
    TestApp().m_pMainWnd = nullptr;
}

void PageHost::Add(CFunctionDlg* page, int pageId)
{
    CFunctionDlgContainer::AddPage(page, &m_container, pageId);
    m_container.ShowPage(pageId);
}

void Click(CWnd* parent, int id)
{
    ::SendMessageW(parent->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   (LPARAM)::GetDlgItem(parent->GetSafeHwnd(), id));
}

int RowCount(HWND list) { return (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); }

bool RowSelected(HWND list, int row)
{
    return (::SendMessageW(list, LVM_GETITEMSTATE, (WPARAM)row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void SelectRow(HWND list, int row)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

void CheckRow(HWND list, int row, bool check)
{
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(check ? 2 : 1);
    ::SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

bool RowChecked(HWND list, int row)
{
    return ((::SendMessageW(list, LVM_GETITEMSTATE, (WPARAM)row, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1;
}

std::wstring ItemText(CWnd* parent, int id) { return shell_test::WindowText(::GetDlgItem(parent->GetSafeHwnd(), id)); }

bool ItemShown(CWnd* parent, int id)
{
    HWND item = ::GetDlgItem(parent->GetSafeHwnd(), id);
    return item && (::GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) && ::IsWindowEnabled(item);
}

}  // namespace wizard_test
