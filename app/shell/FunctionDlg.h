// The page frame. CFunctionDlg is the base of every page, sub-page and the options window: a child dialog
// created from IDD_FUNCTION_PAGE that builds its controls in OnInitPage (once) and is brought to the front by
// OnShowPage; Enter and Escape never close it. Keyboard: Tab moves through every control of the window holding
// the page (its other pages and the main window's own controls included), Enter presses the focused button or
// else the page's default button. CFunctionDlgContainer holds the top-level pages of the main
// window and shows one of them at a time. When the main window closes (tray "Exit") its pages are retired
// (PageRetirement.h): their workers are asked to stop, and a page is deleted only once every worker that may
// touch it has ended.
#pragma once

#include <QMfc.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "PageControls.h"
#include "QWorker.h"
#include "resource.h"

class CImageButton;

class CFunctionDlg : public CDialogEx {
    DECLARE_DYNAMIC(CFunctionDlg)
public:
    static constexpr int kMaxPanels = 10;

    explicit CFunctionDlg(UINT nIDTemplate = IDD_FUNCTION_PAGE, CWnd* pParent = nullptr);

    void OnOK() override {}
    void OnCancel() override {}
    // Each time the page is brought to the front: shows it, then sub-page 0 when there is one.
    virtual void OnShowPage();
    // Once, right after the window exists and is sized: the page builds its controls here.
    virtual void OnInitPage();

    // Creates pPage from IDD_FUNCTION_PAGE as a child of pParent over its client area, keyed nKey, then
    // calls its OnInitPage (the key is already set inside it).
    static void AddSubPage(CFunctionDlg* pPage, CFunctionDlg* pParent, int nKey);
    // The same over a part of pParent's client area (a page with tabs above its sub-pages).
    static void AddSubPage(CFunctionDlg* pPage, CFunctionDlg* pParent, int nKey, const RECT& area);
    // The first child page in z-order with that key, or null.
    CFunctionDlg* GetSubPage(int nKey);
    // Hides every child page with another key and calls OnShowPage of the (last) one with this key.
    void ShowSubPage(int nKey);

    // Asks every worker of this page and of its sub-pages to stop, without waiting: the watched workers' stop
    // flags are set. A page whose workers stop some other way as well adds that and calls the base.
    virtual void StopWorkers();
    // Adds the threads still running that may touch this page or its sub-pages (the handles stay valid during
    // the call): the watched workers' threads. A page with threads of another kind adds them and calls the base.
    virtual void AddRunningWorkers(std::vector<HANDLE>& threads);

    int GetPageId() const { return m_nPageId; }
    void SetPageId(int id) { m_nPageId = id; }

    // The button Enter presses while the focus is on a control of this page that does not take Enter itself
    // (0: none). It is pressed only while visible and enabled.
    void SetDefaultButton(int id) { m_nDefaultButtonId = id; }
    // A page that is not built: the frame paints a translated note on it, that the page is not available yet or,
    // with a library's name, that the page cannot work without that library.
    void MarkNotBuilt(const wchar_t* missingLibrary = L"")
    {
        m_bNotBuilt = true;
        m_strMissingLibrary = missingLibrary;
    }
    bool IsNotBuilt() const { return m_bNotBuilt; }
    // The note of a page that is not built, in the current language.
    CString NotBuiltNote() const;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Page identifier (or sub-page key); 0 until registered.
    int m_nPageId = 0;
    // Framed panels painted behind the controls: set the flag, the rectangles and their count (at most 10).
    bool m_bShowPanel = false;
    RECT m_rcPanel[kMaxPanels] = {};
    int m_nPanelCount = 0;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    int m_nDefaultButtonId = 0;
    bool m_bNotBuilt = false;
    CString m_strMissingLibrary;

    // Adds the thread to the list when it is still running (a null handle is ignored).
    static void AddIfRunning(std::vector<HANDLE>& threads, HANDLE thread);
    // Makes a worker of this page (a member, so it lives as long as the page) known to StopWorkers and
    // AddRunningWorkers.
    void WatchWorker(qcore::CWorker& worker) { m_watchedWorkers.push_back(&worker); }

    // The page brush and panel bitmap shared by all pages.
    static HBRUSH SharedWhiteBrush();
    static HBITMAP SharedPanelBitmap();

    // The controls a page builds in code, visible children of the page with the caption translated from the key
    // (null or empty: no caption) and the style added to the kind's own. Texts, edits, check boxes (radio
    // buttons by their style) and group boxes are in the page's text font; the skinned button keeps its own, and
    // a list takes the font its page gives it.
    void CreateText(CStatic& text, const wchar_t* key, UINT id, const RECT& rect, DWORD style = SS_LEFT);
    void CreateEdit(CEdit& edit, UINT id, const RECT& rect, DWORD style);
    void CreateButton(CImageButton& button, const wchar_t* key, UINT id, const RECT& rect, DWORD style = 0);
    // A check box is BS_AUTOCHECKBOX unless the style names another button type.
    void CreateCheckBox(CButton& box, const wchar_t* key, UINT id, const RECT& rect, DWORD style = 0);
    void CreateGroupBox(CButton& box, const wchar_t* key, UINT id, const RECT& rect);
    // A bordered report list with the columns given (headers translated, left-aligned).
    void CreateList(CListCtrl& list, UINT id, const RECT& rect, DWORD style, DWORD extendedStyle,
                    std::initializer_list<PageListColumn> columns = {});
    // Makes the table's controls; the page keeps them until it is destroyed.
    void CreateControls(const PageControlRow* rows, size_t count);
    template <size_t N>
    void CreateControls(const PageControlRow (&rows)[N])
    {
        CreateControls(rows, N);
    }
    CWnd* CreateControl(const PageControlRow& row);
    // Verdana 13 unless the page made it otherwise (CreateSkinFont) before building its controls.
    CFont& TextFont();

private:
    std::vector<qcore::CWorker*> m_watchedWorkers;
    std::vector<std::unique_ptr<CWnd>> m_tableControls;
    CFont m_pageFont;
};

// Holds the main window's top-level pages; only the last requested one is visible.
class CFunctionDlgContainer : public CDialogEx {
    DECLARE_DYNAMIC(CFunctionDlgContainer)
public:
    CFunctionDlgContainer();

    // Creates pPage as a child of pContainer over its client area, calls its OnInitPage, then sets its id.
    static void AddPage(CFunctionDlg* pPage, CFunctionDlgContainer* pContainer, int nPageId);
    // Shows the page with that id and hides the others; with no such page the container hides itself.
    void ShowPage(int nPageId);
    int GetCurrentPageId() const { return m_nCurrentPageId; }

    void OnOK() override {}
    void OnCancel() override {}

protected:
    int m_nCurrentPageId = 0;
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

// Draws the panel bitmap into a rectangle: stretched, or as four corner quadrants when the rectangle is lower
// than the bitmap (so a flat panel keeps its rounded corners).
void DrawPagePanel(HDC dc, const RECT& rect, HBITMAP panel);
