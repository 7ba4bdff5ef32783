// TranslateWnd and TranslateMenu on real windows and menus, with a small dictionary of the test's own.
#include <gtest/gtest.h>

#include "Dictionary.h"
#include "QTestSupport.h"

namespace {

class TranslateWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_folder = shell_test::MakeScratchFolder(L"translate");
        shell_test::WriteUtf16(s_folder + L"t.ini",
                               L"[DICTIONARY_MAINID]\r\nMAINID=1\r\n\r\n[IDS_T_PARENT]\r\n1=Parent\r\n\r\n"
                               L"[IDS_T_CHILD]\r\n1=Child\r\n\r\n[IDS_T_MENU]\r\n1=Menu\r\n\r\n"
                               L"[IDS_T_ITEM]\r\n1=Item\r\n\r\n[IDS_T_SUB]\r\n1=Sub\r\n\r\n");
        ASSERT_EQ(0, nsVendrel::LoadDictionarys(s_folder.c_str()));
    }
    static void TearDownTestSuite() { shell_test::RemoveTree(s_folder); }
    static std::wstring s_folder;
};
std::wstring TranslateWindows::s_folder;

TEST_F(TranslateWindows, TranslateWndSetsEveryDescendantCaptionDepthFirst)
{
    HWND top =
        ::CreateWindowExW(0, L"STATIC", L"IDS_T_PARENT", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND child =
        ::CreateWindowExW(0, L"STATIC", L"IDS_T_PARENT", WS_CHILD, 0, 0, 50, 50, top, nullptr, nullptr, nullptr);
    HWND grandchild =
        ::CreateWindowExW(0, L"STATIC", L"IDS_T_CHILD", WS_CHILD, 0, 0, 20, 20, child, nullptr, nullptr, nullptr);
    HWND plain = ::CreateWindowExW(0, L"BUTTON", L"not a key", WS_CHILD, 0, 0, 20, 20, top, nullptr, nullptr, nullptr);

    CWnd* wnd = CWnd::FromHandle(top);
    EXPECT_EQ(1, nsVendrel::TranslateWnd(wnd));
    EXPECT_EQ(L"IDS_T_PARENT", shell_test::WindowText(top));  // the window itself keeps its caption
    EXPECT_EQ(L"Parent", shell_test::WindowText(child));
    EXPECT_EQ(L"Child", shell_test::WindowText(grandchild));
    EXPECT_EQ(L"not a key", shell_test::WindowText(plain));
    EXPECT_EQ(0, nsVendrel::TranslateWnd(nullptr));
    ::DestroyWindow(top);
}

TEST_F(TranslateWindows, TranslateMenuRewritesItemsAndPopupsAndKeepsSeparators)
{
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, 11, L"IDS_T_SUB");
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 10, L"IDS_T_ITEM");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"IDS_T_MENU");

    CMenu wrapper;
    wrapper.Attach(menu);
    EXPECT_EQ(1, nsVendrel::TranslateMenu(&wrapper));
    wchar_t text[64];
    ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Item", text);
    EXPECT_EQ(10u, ::GetMenuItemID(menu, 0));
    EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    ::GetMenuStringW(menu, 2, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Menu", text);
    EXPECT_EQ(sub, ::GetSubMenu(menu, 2));
    ::GetMenuStringW(sub, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Sub", text);
    EXPECT_EQ(11u, ::GetMenuItemID(sub, 0));

    EXPECT_EQ(0, nsVendrel::TranslateMenu(nullptr));
    CMenu empty;
    empty.Attach(::CreatePopupMenu());
    EXPECT_EQ(1, nsVendrel::TranslateMenu(&empty));
}

}  // namespace
