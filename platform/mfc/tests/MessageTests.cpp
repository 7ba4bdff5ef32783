// Message dispatch: attach at creation, message-map chaining, 16-bit command ids, reflection, Default().
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"

using namespace qmfc_test;

namespace {

const UINT WM_TEST_USER = WM_APP + 5;
const UINT WM_TEST_BASE_ONLY = WM_APP + 6;

class CBaseWnd : public CWnd {
public:
    std::vector<std::wstring> log;
    LRESULT OnUser(WPARAM w, LPARAM)
    {
        log.push_back(L"base-user" + std::to_wstring(w));
        return 1;
    }
    LRESULT OnBaseOnly(WPARAM, LPARAM)
    {
        log.push_back(L"base-only");
        return 2;
    }
    void OnCmdA() { log.push_back(L"base-cmdA"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(WM_TEST_USER, &CBaseWnd::OnUser)
    ON_MESSAGE(WM_TEST_BASE_ONLY, &CBaseWnd::OnBaseOnly)
    ON_COMMAND(50, &CBaseWnd::OnCmdA)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
public:
    UINT rangeId = 0;
    UINT_PTR timerId = 0;
    LRESULT OnUser(WPARAM w, LPARAM l)
    {
        log.push_back(L"derived-user");
        return CBaseWnd::OnUser(w, l) + 10;  // explicit call to the base handler
    }
    void OnBigCommand() { log.push_back(L"cmd100001"); }
    void OnRange(UINT id) { rangeId = id; }
    void OnTimer(UINT_PTR id) { timerId = id; }
    void OnClicked7() { log.push_back(L"clicked7"); }
    void OnNotifyClick(NMHDR* nm, LRESULT* r)
    {
        log.push_back(L"parent-nmclick" + std::to_wstring(nm->idFrom));
        *r = 5;
    }
    void OnDrawItem(int id, LPDRAWITEMSTRUCT) { log.push_back(L"parent-draw" + std::to_wstring(id)); }
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT kind)
    {
        log.push_back(L"parent-color" + std::to_wstring(kind));
        return (HBRUSH)GetStockObject(GRAY_BRUSH);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_MESSAGE(WM_TEST_USER, &CDerivedWnd::OnUser)
    ON_COMMAND(100001, &CDerivedWnd::OnBigCommand)
    ON_COMMAND_RANGE(25200, 25300, &CDerivedWnd::OnRange)
    ON_COMMAND_RANGE(65535, 65540, &CDerivedWnd::OnRange)
    ON_BN_CLICKED(7, &CDerivedWnd::OnClicked7)
    ON_NOTIFY(NM_CLICK, 8, &CDerivedWnd::OnNotifyClick)
    ON_NOTIFY(NM_CLICK, 9, &CDerivedWnd::OnNotifyClick)
    ON_WM_TIMER()
    ON_WM_DRAWITEM()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// Records the messages the object sees, to prove it was attached before the first one.
class CRecordingList : public CListCtrl {
public:
    std::vector<UINT> seen;
    int measured = 0;
    bool preSubclassed = false;
    void PreSubclassWindow() override { preSubclassed = true; }
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
    {
        seen.push_back(m);
        return CListCtrl::WindowProc(m, w, l);
    }
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        ++measured;
        mis->itemHeight = 31;
    }
};

class COwnerButton : public CButton {
public:
    int drawn = 0, clicked = 0, notified = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
    void OnReflectedClick() { ++clicked; }
    void OnReflectedNotify(NMHDR*, LRESULT* r)
    {
        ++notified;
        *r = 9;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(COwnerButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, &COwnerButton::OnReflectedClick)
    ON_NOTIFY_REFLECT(NM_CLICK, &COwnerButton::OnReflectedNotify)
END_MESSAGE_MAP()

class CColorStatic : public CStatic {
public:
    HBRUSH brush = NULL;
    HBRUSH CtlColor(CDC*, UINT) { return brush; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColorStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CMeasuredStatic : public CStatic {
public:
    int measured = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT) { ++measured; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMeasuredStatic, CStatic)
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

// Runs "after the default handling": the edit's own procedure stores the text first.
class CAfterDefaultEdit : public CEdit {
public:
    std::wstring textSeenAfterDefault;
    LRESULT OnSetText(WPARAM, LPARAM)
    {
        LRESULT r = Default();
        CString t;
        GetWindowText(t);
        textSeenAfterDefault = (LPCWSTR)t;
        return r;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CAfterDefaultEdit, CEdit)
    ON_MESSAGE(WM_SETTEXT, &CAfterDefaultEdit::OnSetText)
END_MESSAGE_MAP()

}  // namespace

TEST(MessageMap, DerivedEntriesWinAndBaseEntriesStillApply)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(CreateHost(wnd));
    EXPECT_EQ(11, wnd.SendMessage(WM_TEST_USER, 3));
    EXPECT_EQ(2, wnd.SendMessage(WM_TEST_BASE_ONLY));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(50, 0), 0);
    std::vector<std::wstring> expected = {L"derived-user", L"base-user3", L"base-only", L"base-cmdA"};
    EXPECT_EQ(expected, wnd.log);
    wnd.SendMessage(WM_TIMER, 77);
    EXPECT_EQ(77u, wnd.timerId);
    wnd.DestroyWindow();
}

TEST(MessageMap, CommandsMatchOnTheLowWordOfTheirIds)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(CreateHost(wnd));
    struct Case {
        UINT sentId;  // what WM_COMMAND carries
        UINT expectedRangeId;
        const wchar_t* expectedLog;
    };
    const Case cases[] = {
        {LOWORD(100001), 0, L"cmd100001"},  // 100001 arrives as 34465
        {25200, 25200, nullptr},
        {25300, 25300, nullptr},
        {LOWORD(65536 + 2), 65538, nullptr},  // a range across 65536: the full id is rebuilt
        {25301, 0, nullptr},
    };
    for (const Case& c : cases) {
        wnd.log.clear();
        wnd.rangeId = 0;
        wnd.SendMessage(WM_COMMAND, MAKEWPARAM(c.sentId, 0), 0);
        EXPECT_EQ(c.expectedRangeId, wnd.rangeId) << c.sentId;
        if (c.expectedLog) {
            ASSERT_EQ(1u, wnd.log.size()) << c.sentId;
            EXPECT_EQ(c.expectedLog, wnd.log[0]);
        } else {
            EXPECT_TRUE(wnd.log.empty()) << c.sentId;
        }
    }
    wnd.DestroyWindow();
}

TEST(CreationHook, ObjectIsAttachedBeforeTheFirstMessageAndMeasuredDuringCreate)
{
    CDerivedWnd parent;
    ASSERT_TRUE(CreateHost(parent));
    CRecordingList list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 200, 200), &parent, 100007));
    ASSERT_FALSE(list.seen.empty());
    EXPECT_TRUE(list.seen[0] == WM_NCCREATE || list.seen[0] == WM_GETMINMAXINFO) << list.seen[0];
    EXPECT_TRUE(list.preSubclassed);
    // The owner-drawn list view asks its parent for the row height while it is created; the parent reflects the
    // request (found by its full 32-bit CtlID) to the list object.
    EXPECT_GE(list.measured, 1);
    list.InsertColumn(0, L"c", LVCFMT_LEFT, 100);
    list.InsertItem(0, L"row");
    CRect rc;
    ASSERT_TRUE(list.GetItemRect(0, rc, LVIR_BOUNDS));
    EXPECT_EQ(31, rc.Height());
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, list.m_hWnd);  // destroyed with its parent and detached
}

TEST(Reflection, ChildNotificationsReachTheChildObjectFirst)
{
    CDerivedWnd parent;
    ASSERT_TRUE(CreateHost(parent));
    COwnerButton button;
    ASSERT_TRUE(button.Create(L"b", WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 50, 20), &parent, 7));

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 7;
    dis.hwndItem = button;
    EXPECT_EQ(TRUE, parent.SendMessage(WM_DRAWITEM, 7, (LPARAM)&dis));
    EXPECT_EQ(1, button.drawn);

    parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), (LPARAM)button.m_hWnd);
    EXPECT_EQ(1, button.clicked);

    NMHDR nm = {button.m_hWnd, 7, (UINT)NM_CLICK};
    EXPECT_EQ(9, parent.SendMessage(WM_NOTIFY, 7, (LPARAM)&nm));
    EXPECT_EQ(1, button.notified);
    EXPECT_TRUE(parent.log.empty());  // the parent's own entries did not run

    // Without a reflecting child object the parent's entries run.
    HWND raw = CreateWindowExW(0, L"BUTTON", L"r", WS_CHILD, 0, 0, 5, 5, parent, (HMENU)8, NULL, NULL);
    NMHDR rawNm = {raw, 8, (UINT)NM_CLICK};
    EXPECT_EQ(5, parent.SendMessage(WM_NOTIFY, 8, (LPARAM)&rawNm));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), (LPARAM)raw);
    DRAWITEMSTRUCT rawDis = {};
    rawDis.CtlType = ODT_BUTTON;
    rawDis.CtlID = 8;
    rawDis.hwndItem = raw;
    parent.SendMessage(WM_DRAWITEM, 8, (LPARAM)&rawDis);
    std::vector<std::wstring> expected = {L"parent-nmclick8", L"clicked7", L"parent-draw8"};
    EXPECT_EQ(expected, parent.log);
    parent.DestroyWindow();
}

TEST(Reflection, CtlColorAndMeasureItem)
{
    CDerivedWnd parent;
    ASSERT_TRUE(CreateHost(parent));
    CColorStatic label;
    ASSERT_TRUE(label.Create(L"l", WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 11));
    HDC dc = GetDC(parent);

    label.brush = (HBRUSH)GetStockObject(WHITE_BRUSH);
    EXPECT_EQ((LRESULT)label.brush, parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label.m_hWnd));
    EXPECT_TRUE(parent.log.empty());

    label.brush = NULL;  // NULL from the child: the parent decides
    EXPECT_EQ((LRESULT)GetStockObject(GRAY_BRUSH),
              parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label.m_hWnd));
    ASSERT_EQ(1u, parent.log.size());
    EXPECT_EQ(L"parent-color" + std::to_wstring(CTLCOLOR_STATIC), parent.log[0]);
    ReleaseDC(parent, dc);

    CMeasuredStatic measured;
    ASSERT_TRUE(measured.Create(L"m", WS_VISIBLE | SS_OWNERDRAW, CRect(0, 0, 5, 5), &parent, 100005));
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_STATIC;
    mis.CtlID = 100005;  // a full 32-bit id
    parent.SendMessage(WM_MEASUREITEM, 100005, (LPARAM)&mis);
    EXPECT_EQ(1, measured.measured);
    parent.DestroyWindow();
}

TEST(Subclassing, DefaultRunsThePreviousProcedureAndUnsubclassRestoresIt)
{
    CWnd host;
    ASSERT_TRUE(CreateHost(host));
    HWND raw = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, host, (HMENU)12, NULL, NULL);
    CAfterDefaultEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(12, &host));
    EXPECT_EQ(raw, edit.m_hWnd);
    ::SetWindowTextW(raw, L"typed");
    EXPECT_EQ(L"typed", edit.textSeenAfterDefault);
    EXPECT_EQ(raw, edit.UnsubclassWindow());
    ::SetWindowTextW(raw, L"later");
    EXPECT_EQ(L"typed", edit.textSeenAfterDefault);  // no longer routed through the object
    wchar_t text[16] = {};
    GetWindowTextW(raw, text, 16);
    EXPECT_STREQ(L"later", text);  // and the edit still works
    host.DestroyWindow();
}
