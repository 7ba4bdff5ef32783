// Skinned controls in this process: image buttons, the tab button, the drawer menu and the memory DC.
#include <gtest/gtest.h>

#include "DrawerMenu.h"
#include "ImageButton.h"
#include "MemDC.h"
#include "SkinDraw.h"
#include "TabButton.h"
#include "QTestSupport.h"
#include "WindowTestHost.h"
#include "resource.h"

using shell_test::HostWindow;
using shell_test::SolidBitmap;
using shell_test::WindowSize;

namespace {

void Repaint(CWnd& wnd)
{
    wnd.Invalidate();
    wnd.UpdateWindow();
    shell_test::PumpFor(30);
}

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_button.m_bmpNormal.Attach(SolidBitmap(40, 20, RGB(200, 0, 0), RGB(255, 255, 255)));
        m_button.m_bmpHover.Attach(SolidBitmap(50, 24, RGB(0, 0, 200)));
        m_button.m_bmpPressed.Attach(SolidBitmap(60, 30, RGB(0, 0, 100)));
        m_button.m_crTransNormal = m_button.m_crTransHover = m_button.m_crTransPressed = RGB(255, 255, 255);
        ASSERT_TRUE(m_button.Create(L"", WS_CHILD | WS_VISIBLE, CRect(100, 100, 110, 110), &m_host, 4242));
        m_button.SizeToBitmap();
        Repaint(m_button);
    }
    HostWindow m_host;
    CImageButton m_button;
};

TEST_F(ImageButtonTest, TakesTheSizeOfEachStateBitmapAndComesBackAfterTheMouseLeaves)
{
    EXPECT_TRUE(m_button.GetStyle() & BS_OWNERDRAW);
    EXPECT_EQ(40, WindowSize(m_button).cx);
    m_button.SendMessage(WM_MOUSEHOVER, 0, 0);
    Repaint(m_button);
    EXPECT_EQ(CImageButton::StateHover, m_button.GetDrawnState());
    EXPECT_EQ(50, WindowSize(m_button).cx);
    EXPECT_EQ(24, WindowSize(m_button).cy);
    m_button.SendMessage(BM_SETSTATE, TRUE, 0);
    Repaint(m_button);
    EXPECT_EQ(CImageButton::StatePressed, m_button.GetDrawnState());
    EXPECT_EQ(60, WindowSize(m_button).cx);
    m_button.SendMessage(BM_SETSTATE, FALSE, 0);
    m_button.SendMessage(WM_MOUSELEAVE, 0, 0);
    Repaint(m_button);
    EXPECT_EQ(CImageButton::StateNormal, m_button.GetDrawnState());
    EXPECT_EQ(40, WindowSize(m_button).cx);
    CRect rect;
    m_button.GetWindowRect(&rect);
    m_host.ScreenToClient(&rect);
    EXPECT_EQ(CPoint(100, 100), rect.TopLeft());  // resized around its top-left corner
}

TEST_F(ImageButtonTest, TransparentPixelsShowTheParentAndOpaqueOnesTheBitmap)
{
    EXPECT_EQ(HostWindow::kBackground, shell_test::ScreenPixel(m_button, 0, 0));
    EXPECT_EQ(RGB(200, 0, 0), shell_test::ScreenPixel(m_button, 5, 5));
    // With no transparent colour the whole bitmap is drawn.
    m_button.m_crTransNormal = CLR_INVALID;
    Repaint(m_button);
    EXPECT_EQ(RGB(255, 255, 255), shell_test::ScreenPixel(m_button, 0, 0));
}

TEST_F(ImageButtonTest, ADisabledButtonDrawsItsNormalBitmapAndIgnoresMouseSpaceEnterAndClick)
{
    m_button.SetDisabled(true);
    m_button.SendMessage(WM_MOUSEHOVER, 0, 0);
    Repaint(m_button);
    EXPECT_EQ(CImageButton::StateDisabled, m_button.GetDrawnState());
    EXPECT_EQ(40, WindowSize(m_button).cx);
    m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    m_button.SetFocus();
    m_button.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    m_button.SendMessage(WM_KEYUP, VK_SPACE, 0);
    m_button.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    m_button.SendMessage(BM_CLICK);
    shell_test::PumpFor(50);
    EXPECT_TRUE(m_host.commands.empty());

    m_button.SetDisabled(false);
    m_button.SendMessage(BM_CLICK);
    m_button.SendMessage(WM_KEYDOWN, VK_RETURN, 0);  // Enter presses a focused button as a click does
    ASSERT_TRUE(shell_test::PumpUntil([&] { return m_host.commands.size() >= 2; }));
    ASSERT_EQ(2u, m_host.commands.size());
    EXPECT_EQ(4242u, m_host.commands[0]);
    EXPECT_EQ(4242u, m_host.commands[1]);

    // A button disabled as a window looks disabled too.
    m_button.EnableWindow(FALSE);
    Repaint(m_button);
    EXPECT_EQ(CImageButton::StateDisabled, m_button.GetDrawnState());
    m_button.EnableWindow(TRUE);
    m_button.SendMessage(WM_MOUSELEAVE, 0, 0);
    Repaint(m_button);
    EXPECT_EQ(CImageButton::StateNormal, m_button.GetDrawnState());
}

// A pixel of a skin bitmap as drawn over a parent (white is transparent where the control says so).
COLORREF SkinPixel(UINT id, int x, int y)
{
    HBITMAP bitmap = Shell::LoadSkinBitmap(id);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return c;
}

// Bitmaps are loaded when first drawn or measured: the first drawing of each state shows the right picture,
// whether it is the standard one or one given.
TEST(ImageButtonPictures, EachStateShowsItsBitmapFromTheResourcesWhenFirstDrawn)
{
    struct {
        bool given;
        UINT normal, hover;
    } cases[] = {{false, IDB_BUTTON_NORMAL, IDB_BUTTON_HOVER}, {true, 144, 143}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.normal);
        HostWindow host;
        CImageButton button;
        if (c.given) button.SetBitmaps(c.normal, c.hover, c.hover, CLR_INVALID);
        ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 20, 20), &host, 4242));
        button.SizeToBitmap();
        HBITMAP normal = Shell::LoadSkinBitmap(c.normal);
        SIZE size = Shell::BitmapSize(normal);
        ::DeleteObject(normal);
        EXPECT_EQ(size.cx, WindowSize(button).cx);
        EXPECT_EQ(size.cy, WindowSize(button).cy);
        const POINT at = {size.cx / 2, size.cy / 2};
        Repaint(button);
        EXPECT_EQ(SkinPixel(c.normal, at.x, at.y), shell_test::ScreenPixel(button, at.x, at.y));
        button.SendMessage(WM_MOUSEHOVER, 0, 0);
        Repaint(button);
        EXPECT_EQ(SkinPixel(c.hover, at.x, at.y), shell_test::ScreenPixel(button, at.x, at.y));
    }
}

TEST(TabButtonTest, StateChangesKeepAValidRegionOfTheBitmapAndLeakNoGdiObjects)
{
    HostWindow host;
    CTabButton tab;
    tab.m_bmpNormal.Attach(SolidBitmap(104, 31, RGB(200, 200, 200)));
    tab.m_bmpHover.Attach(SolidBitmap(104, 31, RGB(220, 220, 220)));
    tab.m_bmpPressed.Attach(SolidBitmap(100, 30, RGB(150, 150, 150)));
    tab.m_bmpSelected.Attach(SolidBitmap(110, 33, RGB(255, 255, 255)));
    CTabButton::CreateRegionFromBitmap(&tab.m_bmpNormal, &tab.m_rgnNormal);
    CTabButton::CreateRegionFromBitmap(&tab.m_bmpHover, &tab.m_rgnHover);
    CTabButton::CreateRegionFromBitmap(&tab.m_bmpPressed, &tab.m_rgnPressed);
    CTabButton::CreateRegionFromBitmap(&tab.m_bmpSelected, &tab.m_rgnSelected);
    ASSERT_TRUE(tab.Create(L"General", WS_CHILD | WS_VISIBLE, CRect(40, 40, 144, 71), &host, 81003));
    Repaint(tab);

    DWORD before = 0;
    for (int i = 0; i < 20; ++i) {
        tab.SetSelected(i % 2);
        Repaint(tab);
        if (i == 1) before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(SIMPLEREGION, ::GetWindowRgn(tab.GetSafeHwnd(), region)) << i;
        RECT box;
        ::GetRgnBox(region, &box);
        ::DeleteObject(region);
        EXPECT_EQ(i % 2 ? 110 : 104, box.right) << i;
        EXPECT_EQ(i % 2 ? CTabButton::StateSelected : CTabButton::StateNormal, tab.GetDrawnState());
        EXPECT_EQ(i % 2 ? 110 : 104, WindowSize(tab).cx);
    }
    EXPECT_LE(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), before + 2);
}

// ---- drawer -------------------------------------------------------------------------------------------------

class DrawerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_drawer.Create(L"", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(4, 123, 183, 688), &m_host, 0xFFFF);
        int g0 = m_drawer.AddGroup(144, 143, 142, 110000, L"Scan");
        for (int id : {110001, 110002, 110003, 110004}) m_drawer.AddItem(g0, 156, 155, 154, id, L"item");
        int g1 = m_drawer.AddGroup(153, 152, 151, 150000, L"Tools");
        for (int id : {150001, 50006, 50007}) m_drawer.AddItem(g1, 229, 228, 227, id, L"item");
        m_drawer.AddGroup(138, 137, 136, 160000, L"Backup");
    }
    bool Open(int group)
    {
        return m_drawer.GetGroup(group)->m_bExpanded && m_drawer.GetGroup(group)->m_body.IsWindowVisible();
    }
    int Top(int group)
    {
        CRect r;
        m_drawer.GetGroup(group)->GetWindowRect(&r);
        m_drawer.ScreenToClient(&r);
        return r.top;
    }
    CMenuButtonItem* Item(int group, int index) { return m_drawer.GetGroup(group)->m_body.GetItem(index); }

    HostWindow m_host;
    CDrawerMenuCtrl m_drawer;
};

TEST_F(DrawerTest, AttachmentTakesMouseInputAndDropsTheBorder)
{
    EXPECT_TRUE(m_drawer.GetStyle() & SS_NOTIFY);
    EXPECT_FALSE(m_drawer.GetStyle() & WS_BORDER);
    EXPECT_EQ(3, m_drawer.GetGroupCount());
}

TEST_F(DrawerTest, SelectItemOpensTheGroupHoldingTheIdAndClosesTheOthers)
{
    EXPECT_EQ((std::vector<int>{0, 50, 100}), (std::vector<int>{Top(0), Top(1), Top(2)}));

    m_drawer.SelectItem(150000);  // a header opens its group
    EXPECT_FALSE(Open(0));
    EXPECT_TRUE(Open(1));
    EXPECT_TRUE(m_drawer.GetGroup(1)->m_header.IsSelected());
    EXPECT_EQ((std::vector<int>{0, 50, 50 + 40 + 3 * 40 + 2 + 10}), (std::vector<int>{Top(0), Top(1), Top(2)}));

    m_drawer.SelectItem(110003);  // an item of another group moves the open group
    EXPECT_TRUE(Open(0));
    EXPECT_FALSE(Open(1));
    EXPECT_FALSE(m_drawer.GetGroup(1)->m_header.IsSelected());
    EXPECT_TRUE(Item(0, 2)->IsSelected());
    EXPECT_EQ(40 + 4 * 40 + 2 + 10, Top(1));

    m_drawer.SelectItem(110004);  // inside the open group: the selection moves
    EXPECT_FALSE(Item(0, 2)->IsSelected());
    EXPECT_TRUE(Item(0, 3)->IsSelected());

    m_drawer.SelectItem(PAGE_ID_START);  // no group holds the home page
    EXPECT_FALSE(Open(0));
    EXPECT_FALSE(Open(1));
    EXPECT_FALSE(Open(2));
    EXPECT_FALSE(Item(0, 3)->IsSelected());
    EXPECT_EQ(PAGE_ID_START, m_drawer.GetSelectedId());
}

TEST_F(DrawerTest, AClickSendsOnePageRequestUpUnlessTheDrawerIsDisabled)
{
    m_drawer.SelectItem(150000);
    CMenuButtonItem* item = Item(1, 1);
    item->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(1u, m_host.switches.size());
    EXPECT_EQ(50006u, m_host.switches[0]);
    EXPECT_TRUE(item->IsSelected());  // the drawer follows the click itself

    m_drawer.EnableItems(FALSE);
    item->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    m_drawer.GetGroup(0)->m_header.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1u, m_host.switches.size());
    // Hovering still changes the picture of a disabled item.
    item->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(item->IsHoverShown());
    item->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(500, 5));
    EXPECT_FALSE(item->IsHoverShown());

    m_drawer.EnableItems(TRUE);
    item->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(2u, m_host.switches.size());
}

TEST_F(DrawerTest, ItemsShowTheirPicturesForEachStateWhenFirstDrawn)
{
    m_drawer.SelectItem(110002);
    CMenuButtonItem* shown[] = {&m_drawer.GetGroup(1)->m_header, Item(0, 0), Item(0, 1)};
    const UINT expected[] = {153, 156, 154};  // a header, an item, the selected item
    for (int i = 0; i < 3; ++i) {
        Repaint(*shown[i]);
        EXPECT_EQ(SkinPixel(expected[i], 150, 20), shell_test::ScreenPixel(*shown[i], 150, 20)) << i;
    }
    Item(0, 0)->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Repaint(*Item(0, 0));
    EXPECT_EQ(SkinPixel(155, 150, 20), shell_test::ScreenPixel(*Item(0, 0), 150, 20));
    Item(0, 0)->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(500, 5));
}

TEST(MemDC, DrawsOffScreenAndCopiesItsRectangleBackAtItsOrigin)
{
    HDC screen = ::GetDC(nullptr);
    CDC target;
    target.CreateCompatibleDC(CDC::FromHandle(screen));
    HBITMAP canvas = ::CreateCompatibleBitmap(screen, 50, 50);
    HGDIOBJ old = ::SelectObject(target.GetSafeHdc(), canvas);
    ::PatBlt(target.GetSafeHdc(), 0, 0, 50, 50, WHITENESS);
    {
        nsVendrel::CMemDC mem(&target, CRect(10, 10, 30, 30));
        mem.FillSolidRect(CRect(10, 10, 30, 30), RGB(255, 0, 0));
        mem.FillSolidRect(CRect(12, 12, 14, 14), RGB(0, 0, 255));                // target coordinates
        EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(target.GetSafeHdc(), 15, 15));  // nothing on the target yet
    }
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(target.GetSafeHdc(), 15, 15));
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(target.GetSafeHdc(), 12, 12));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(target.GetSafeHdc(), 5, 5));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(target.GetSafeHdc(), 30, 30));
    ::SelectObject(target.GetSafeHdc(), old);
    ::DeleteObject(canvas);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace
