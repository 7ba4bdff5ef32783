#include "ToolPageHost.h"

#include <QTestSupport.h>
#include <QWorker.h>

#include "Dictionary.h"

namespace tools_test {

namespace {
// The application, with the English texts loaded, as the pages' messages are checked by their texts.
CWinApp& TestApp()
{
    static CWinApp app(L"YarrowbyPagesTests");
    static const long loaded = nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str());
    (void)loaded;
    return app;
}
}  // namespace

LRESULT BusyRecordingHost::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SET_BUSY) {
        busy.push_back(wParam);
        return 0;
    }
    return shell_test::HostWindow::WindowProc(message, wParam, lParam);
}

PageHost::PageHost()
{
    TestApp().m_pMainWnd = &m_host;
    m_container.Create(IDD_FUNCTION_PAGE, &m_host);
    m_container.MoveWindow(186, 126, 737, 536);
    m_container.ShowWindow(SW_SHOW);
}

PageHost::~PageHost()
{
    m_container.DestroyWindow();
    m_pages.clear();
    TestApp().m_pMainWnd = nullptr;
}

void Click(CWnd* parent, int id)
{
    ::SendMessageW(parent->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   (LPARAM)::GetDlgItem(parent->GetSafeHwnd(), id));
}

void Type(CWnd* parent, int id, const std::wstring& text)
{
    // SetWindowText on an edit sends EN_CHANGE itself.
    ::SetDlgItemTextW(parent->GetSafeHwnd(), id, text.c_str());
}

std::wstring ItemText(CWnd* parent, int id)
{
    wchar_t text[2048] = L"";
    ::GetDlgItemTextW(parent->GetSafeHwnd(), id, text, 2048);
    return text;
}

std::vector<std::wstring> Column(CListCtrl& list, int column)
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < list.GetItemCount(); ++row) texts.push_back(std::wstring(list.GetItemText(row, column)));
    return texts;
}

void SelectRows(CListCtrl& list, std::initializer_list<int> rows)
{
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows) list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

namespace {

struct DialogSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindFileDialog(HWND wnd, LPARAM param)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    wchar_t cls[32] = L"";
    ::GetClassNameW(wnd, cls, 32);
    // The open dialog holds the file name box (cmb13, 0x47C).
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(wnd) && wcscmp(cls, L"#32770") == 0 &&
        ::GetDlgItem(wnd, 0x47C)) {
        reinterpret_cast<DialogSearch*>(param)->found = wnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

FileDialogDriver::FileDialogDriver(std::wstring names) : m_names(std::move(names))
{
    m_thread = qcore::StartThread([this] {
        DialogSearch search;
        const DWORD start = ::GetTickCount();
        while (!search.found && ::GetTickCount() - start < 15000) {
            ::EnumWindows(FindFileDialog, reinterpret_cast<LPARAM>(&search));
            if (!search.found) ::Sleep(20);
        }
        if (!search.found) return;
        m_found = true;
        HWND box = ::GetDlgItem(search.found, 0x47C);
        HWND edit = ::FindWindowExW(box, nullptr, L"Edit", nullptr);
        ::SendMessageW(edit ? edit : box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_names.c_str()));
        ::PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       (LPARAM)::GetDlgItem(search.found, IDOK));
    });
}

FileDialogDriver::~FileDialogDriver()
{
    qcore::WaitForHandle(m_thread, INFINITE, qcore::Pump::All);
    ::CloseHandle(m_thread);
}

}  // namespace tools_test
