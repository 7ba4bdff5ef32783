// The skinned controls in a window of this process: check box states, clicks and animation; progress bar ranges
// and painting; image rotator frames; the registry result list's rows, checks and column width.
#include <gtest/gtest.h>

#include <thread>

#include "Dictionary.h"
#include "RegScanResultListCtrl.h"
#include "ScanTestHost.h"
#include "QTestSupport.h"
#include "controls/CheckBoxEx.h"
#include "controls/ImageRotator.h"
#include "controls/ProgressCtrlEx.h"

using namespace scan_test;
using shell_test::ListCellText;

namespace {

// A plain parent window that counts the messages numbered like a control id.
class ParentWnd : public CWnd {
public:
    ParentWnd() { CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr); }
    ~ParentWnd() override { DestroyWindow(); }
    int notified = 0;
    UINT watchId = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (watchId && message == watchId) ++notified;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(CheckBoxEx, StatesClicksAndNotification)
{
    ParentWnd parent;
    CCheckBoxEx box;
    ASSERT_TRUE(box.Create(L"Category", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 30), &parent, 11005));
    parent.watchId = 11005;
    EXPECT_EQ(0, box.GetState());
    EXPECT_EQ(0, box.GetStyle() & WS_BORDER);
    EXPECT_NE(0u, box.GetStyle() & SS_NOTIFY);
    for (int s = 0; s <= 6; ++s) {
        box.SetState(s);
        EXPECT_EQ(s, box.GetState());
    }

    struct Case {
        int before, x, after, notified;
    } cases[] = {
        {0, 2, 1, 1},                 // in the square: unchecked -> checked, parent told
        {1, 2, 0, 1},  {2, 2, 2, 1},  // scanning keeps its state but still notifies
        {3, 19, 3, 1},                // the square is as wide as the control is high (20)
        {0, 25, 0, 0},                // right of the square: nothing at all
    };
    for (const Case& c : cases) {
        box.SetState(c.before);
        parent.notified = 0;
        ClickAt(box.m_hWnd, c.x, 5);
        EXPECT_EQ(c.after, box.GetState()) << c.before << " at " << c.x;
        EXPECT_EQ(c.notified, parent.notified) << c.before << " at " << c.x;
    }
}

TEST(CheckBoxEx, ScanningAnimatesEightFramesWithoutLeaking)
{
    ParentWnd parent;
    CCheckBoxEx box;
    ASSERT_TRUE(box.Create(L"Category", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 30), &parent, 11006));
    box.SetState(2);
    for (int tick = 1; tick <= 8; ++tick) {
        box.SendMessage(WM_TIMER, CCheckBoxEx::kAnimationTimer, 0);
        EXPECT_EQ(tick % 8, box.GetFrameIndex());
    }
    box.SetState(1);
    box.SendMessage(WM_TIMER, CCheckBoxEx::kAnimationTimer, 0);
    EXPECT_EQ(0, box.GetFrameIndex());  // one frame: stays

    box.SetState(2);
    DWORD before = GdiObjects();
    for (int tick = 0; tick < 100; ++tick) {
        box.SendMessage(WM_TIMER, CCheckBoxEx::kAnimationTimer, 0);
        box.UpdateWindow();
    }
    EXPECT_LE(GdiObjects(), before + 2);
}

TEST(ProgressCtrlEx, ClampsToASettableRangeAndPaintsTheFraction)
{
    ParentWnd parent;
    CProgressCtrlEx bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 202, 20), &parent, 100));
    bar.SetPos(40);
    EXPECT_EQ(40, bar.SetPos(150));
    EXPECT_EQ(100, bar.m_nPos);

    bar.SetRange32(0, 1000);
    bar.SetPos(500);
    EXPECT_EQ(500, bar.m_nPos);
    int w = 0, h = 0;
    std::vector<DWORD> px = RenderWindow(bar.m_hWnd, w, h);
    ASSERT_EQ(202, w);
    DWORD barPixel = px[size_t(10 * w + 50)], backPixel = px[size_t(10 * w + 150)];
    EXPECT_NE(barPixel, backPixel);  // half the bar drawn
    CRect outer, inner;
    bar.GetWindowRect(&outer);
    bar.GetClientRect(&inner);
    bar.ClientToScreen(&inner);
    int left = inner.left - outer.left, top = inner.top - outer.top;
    EXPECT_EQ(0xB2B2B2u, px[size_t((top + 5) * w + left)]);  // the frame along the client edge

    // Another thread moves the bar through the window message.
    std::thread worker([&] { ::SendMessageW(bar.m_hWnd, PBM_SETPOS, 1000, 0); });
    shell_test::PumpUntil([&] { return bar.m_nPos == 1000; }, 2000);
    worker.join();
    EXPECT_EQ(1000, (int)::SendMessageW(bar.m_hWnd, PBM_GETPOS, 0, 0));

    // An empty range paints nothing and divides by nothing.
    bar.SetRange32(0, 0);
    bar.m_nPos = 7;
    px = RenderWindow(bar.m_hWnd, w, h);
    EXPECT_EQ(backPixel, px[size_t(10 * w + 50)]);
}

TEST(ImageRotator, TimerZeroAdvancesAndResizesToEachFrame)
{
    ParentWnd parent;
    CImageRotator rotator;
    EXPECT_EQ(-1, rotator.GetCurrentFrame());
    ASSERT_TRUE(rotator.AddImage(343));  // 16 x 16
    ASSERT_TRUE(rotator.AddImage(345));  // larger
    EXPECT_FALSE(rotator.AddImage(1));   // no such bitmap
    rotator.m_nPeriod = 50;
    ASSERT_TRUE(rotator.Create(L"", WS_CHILD | WS_VISIBLE, CRect(5, 5, 30, 30), &parent, 200));
    EXPECT_EQ(SS_OWNERDRAW, rotator.GetStyle() & SS_TYPEMASK);

    rotator.SendMessage(WM_TIMER, 1, 0);  // another timer: nothing
    EXPECT_EQ(0, rotator.GetCurrentFrame());
    rotator.SendMessage(WM_TIMER, 0, 0);
    EXPECT_EQ(1, rotator.GetCurrentFrame());
    CRect rc;
    rotator.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    EXPECT_EQ(CPoint(5, 5), rc.TopLeft());
    EXPECT_GT(rc.Width(), 16);
    rotator.SendMessage(WM_TIMER, 0, 0);
    EXPECT_EQ(0, rotator.GetCurrentFrame());
    rotator.GetWindowRect(&rc);
    EXPECT_EQ(CSize(16, 16), rc.Size());
}

CRegistryData::SCAN_RESULT Result(int reason, const wchar_t* detail, const wchar_t* subKey)
{
    CRegistryData::SCAN_RESULT r;
    r.type = RST_MUICACHE;
    r.reason = reason;
    r.detail = detail;
    r.data.root = HKEY_CURRENT_USER;
    r.data.subKey = subKey;
    return r;
}

TEST(RegScanResultListCtrl, RowsChecksAndColumnWidth)
{
    ParentWnd parent;
    CRegScanResultListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER,
                            CRect(0, 0, 500, 300), &parent, 11103));
    list.InsertColumn(0, L"", LVCFMT_LEFT, 100);

    auto first = Result(1, L"C:\\gone\\a.exe", L"Software\\A\\");
    auto second = Result(0, std::wstring(300, L'x').c_str(), L"Software\\B\\");
    list.AddScanResult(&first);
    list.AddScanResult(&second);
    ASSERT_EQ(2, list.GetItemCount());
    EXPECT_EQ(&second, list.GetResult(0));  // the newest on top
    EXPECT_EQ(&first, list.GetResult(1));
    std::wstring reason = nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_REASON_FILE_NOT_FOUND").GetString();
    EXPECT_EQ(reason + L" C:\\gone\\a.exe\nHKCU\\Software\\A\\\n", ListCellText(list.m_hWnd, 1));
    EXPECT_EQ(L" " + second.detail + L"\nHKCU\\Software\\B\\\n", ListCellText(list.m_hWnd, 0));
    // The long description widened the column past its text.
    EXPECT_GT(list.GetColumnWidth(0), 300);

    CRect row;
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    EXPECT_EQ(50, row.Height());

    // A new row reads as checked; each click on it flips it.
    EXPECT_NE(0, list.GetCheck(1));
    list.GetItemRect(1, &row, LVIR_BOUNDS);
    ClickAt(list.m_hWnd, row.left + 30, row.top + 20);
    EXPECT_EQ(0, list.GetCheck(1));
    EXPECT_NE(0, list.GetCheck(0));
    ClickAt(list.m_hWnd, row.left + 30, row.top + 20);
    EXPECT_EQ(1, list.GetCheck(1));
}

}  // namespace
