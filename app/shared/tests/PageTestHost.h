// A page of this folder hosted in the test process as the main window hosts it: a main window registered as the
// application's (it records the page requests it gets), the page container, and clicks and list reads.
#pragma once

#include <QMfc.h>

#include <string>

#include "FunctionDlg.h"
#include "WindowTestHost.h"

namespace wizard_test {

class PageHost {
public:
    PageHost();
    ~PageHost();

    // Creates the page in the container under its id and shows it.
    void Add(CFunctionDlg* page, int pageId);
    void Show(int pageId) { m_container.ShowPage(pageId); }
    shell_test::HostWindow& Main() { return m_main; }
    CFunctionDlgContainer& Container() { return m_container; }

private:
    shell_test::HostWindow m_main;
    CFunctionDlgContainer m_container;
};

// A button click as the button reports it to its parent.
void Click(CWnd* parent, int id);
int RowCount(HWND list);
bool RowSelected(HWND list, int row);
void SelectRow(HWND list, int row);
void CheckRow(HWND list, int row, bool check);
bool RowChecked(HWND list, int row);
// The text of a child control.
std::wstring ItemText(CWnd* parent, int id);
bool ItemShown(CWnd* parent, int id);

}  // namespace wizard_test
