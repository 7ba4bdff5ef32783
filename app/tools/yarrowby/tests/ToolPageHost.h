// The Yarrowby pages hosted in the test process as the main window hosts them: a main window registered as the
// application's (it records the busy messages and page requests it gets), the page container, the English texts,
// and what a user does with the controls.
#pragma once

#include <QMfc.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "WindowTestHost.h"

namespace tools_test {

class BusyRecordingHost : public shell_test::HostWindow {
public:
    std::vector<WPARAM> busy;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class PageHost {
public:
    PageHost();
    ~PageHost();

    template <typename Page>
    Page* Add(int pageId)
    {
        Page* page = new Page;
        m_pages.emplace_back(page);
        CFunctionDlgContainer::AddPage(page, &m_container, pageId);
        m_container.ShowPage(pageId);
        return page;
    }
    void Show(int pageId) { m_container.ShowPage(pageId); }
    // The WM_SET_BUSY values the main window got, in order.
    const std::vector<WPARAM>& Busy() const { return m_host.busy; }

private:
    BusyRecordingHost m_host;
    CFunctionDlgContainer m_container;
    std::vector<std::unique_ptr<CFunctionDlg>> m_pages;
};

// A click as the button reports it to its parent.
void Click(CWnd* parent, int id);
// Types into an edit: the text is set and the edit reports the change to its parent.
void Type(CWnd* parent, int id, const std::wstring& text);
std::wstring ItemText(CWnd* parent, int id);
std::vector<std::wstring> Column(CListCtrl& list, int column = 0);
void SelectRows(CListCtrl& list, std::initializer_list<int> rows);

// Answers the next open-file dialog of this process from a thread: types `names` into its file name box (for
// several files: "\"a\" \"b\"") and presses Open; Found() tells whether a dialog came.
class FileDialogDriver {
public:
    explicit FileDialogDriver(std::wstring names);
    ~FileDialogDriver();
    bool Found() const { return m_found; }

private:
    std::wstring m_names;
    bool m_found = false;
    HANDLE m_thread = nullptr;
};

}  // namespace tools_test
