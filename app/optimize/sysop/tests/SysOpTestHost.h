// Window-test support of the optimisation pages: a host main window (the application's main window, recording
// page requests) with a page container, clicks as controls send them, and registry fixtures.
#pragma once

#include <QMfc.h>

#include <memory>
#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "RegFixture.h"
#include "WindowTestHost.h"

namespace sysop_test {

using namespace tessik_test;

class PageHost {
public:
    PageHost();
    ~PageHost();

    template <typename Page, typename... Args>
    Page* Add(int pageId, Args... args)
    {
        Page* page = new Page(args...);
        m_pages.emplace_back(page);
        CFunctionDlgContainer::AddPage(page, &m_container, pageId);
        return page;
    }
    void Show(int pageId) { m_container.ShowPage(pageId); }
    std::vector<WPARAM>& Switches() { return m_host.switches; }

private:
    shell_test::HostWindow m_host;
    CFunctionDlgContainer m_container;
    std::vector<std::unique_ptr<CFunctionDlg>> m_pages;
};

// A click as the button reports it to its parent.
void Click(HWND parent, int id);
// A click on a check box: it toggles itself and reports the click to its parent.
void Toggle(HWND parent, int id);
std::wstring ControlText(CWnd* parent, int id);

// Denies everyone the right to write values of the key while it lives (restored afterwards).
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const wchar_t* key);
    ~ReadOnlyKey();
    // False when a write still succeeds (the registry does not enforce the key's security here).
    bool Enforced() const { return m_enforced; }

private:
    HKEY m_root;
    std::wstring m_key;
    std::vector<BYTE> m_saved;
    bool m_enforced = false;
};

// Every value below the keys a network tweak would touch, to show nothing changed.
struct RegistrySnapshot {
    RegistrySnapshot();
    bool operator==(const RegistrySnapshot& other) const { return dump == other.dump; }
    std::wstring dump;
};

}  // namespace sysop_test
