// The controls a page builds in code through the page frame's helpers and tables, on a page of this process
// with the English dictionary.
#include <gtest/gtest.h>

#include "CaptionKeys.h"
#include "Dictionary.h"
#include "FunctionDlg.h"
#include "ImageButton.h"
#include "QTestSupport.h"
#include "WindowTestHost.h"

namespace {

class TablePage : public CFunctionDlg {
public:
    using CFunctionDlg::CreateCheckBox;
    using CFunctionDlg::CreateControl;
    using CFunctionDlg::CreateControls;
    using CFunctionDlg::CreateList;
    using CFunctionDlg::TextFont;
};

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, 64);
    return name;
}

class PageControls : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(0, nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str()));
    }
    void SetUp() override
    {
        m_parent.Create(IDD_FUNCTION_PAGE, &m_host);
        m_parent.MoveWindow(186, 126, 737, 536);
        CFunctionDlg::AddSubPage(&m_page, &m_parent, 1);
    }
    void TearDown() override
    {
        m_page.DestroyWindow();
        m_parent.DestroyWindow();
    }

    shell_test::HostWindow m_host;
    CFunctionDlg m_parent;
    TablePage m_page;
};

TEST_F(PageControls, EachKindOfRowIsMadeWithItsClassStyleCaptionAndFont)
{
    const PageControlRow rows[] = {
        {501, PageControlKind::Text, {10, 10, 200, 30}, L"IDS_SYS_TOOLS_FS_SPLIT_NAME", SS_RIGHT},
        {502, PageControlKind::Edit, {10, 40, 200, 60}, nullptr, ES_AUTOHSCROLL | ES_READONLY},
        {503, PageControlKind::Button, {10, 70, 134, 110}, L"IDS_SYS_TOOLS_FS_SPLIT_BROWSE", WS_TABSTOP},
        {504, PageControlKind::CheckBox, {10, 120, 200, 140}, L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_SELECTALL"},
        {505, PageControlKind::CheckBox, {10, 150, 200, 170}, L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_SELECTALL", BS_RADIOBUTTON},
        {506, PageControlKind::GroupBox, {5, 180, 300, 260}, L"IDS_SYS_TOOLS_FS_SPLIT_STEP1"},
    };
    m_page.CreateControls(rows);

    struct Expected {
        const wchar_t* className;
        DWORD style, typeMask;  // the style bits it has, and the bits that say which kind of static or button
        const wchar_t* caption;
        bool pageFont;
    } expected[] = {
        {L"Static", SS_RIGHT, SS_TYPEMASK, L"File:", true},
        {L"Edit", ES_AUTOHSCROLL | ES_READONLY, 0, L"", true},  // its border the edit draws itself
        {L"Button", WS_TABSTOP, 0, L"Browse...", false},
        {L"Button", BS_AUTOCHECKBOX, BS_TYPEMASK, L"Select all", true},
        {L"Button", BS_RADIOBUTTON, BS_TYPEMASK, L"Select all", true},
        {L"Button", BS_GROUPBOX, BS_TYPEMASK, L"Step 1: Choose the file to split", true},
    };
    const HFONT pageFont = static_cast<HFONT>(m_page.TextFont().GetSafeHandle());
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        SCOPED_TRACE(rows[i].id);
        const HWND control = ::GetDlgItem(m_page.GetSafeHwnd(), rows[i].id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(expected[i].className, ClassOf(control));
        const DWORD style = DWORD(::GetWindowLongW(control, GWL_STYLE));
        EXPECT_EQ(DWORD(WS_CHILD | WS_VISIBLE), style & (WS_CHILD | WS_VISIBLE));
        if (expected[i].typeMask) {
            EXPECT_EQ(expected[i].style & expected[i].typeMask, style & expected[i].typeMask);
        }
        EXPECT_EQ(expected[i].style & ~expected[i].typeMask, style & expected[i].style & ~expected[i].typeMask);
        EXPECT_EQ(expected[i].caption, shell_test::WindowText(control));
        EXPECT_EQ(expected[i].pageFont, HFONT(::SendMessageW(control, WM_GETFONT, 0, 0)) == pageFont);
        CRect rect;
        ::GetWindowRect(control, &rect);
        m_page.ScreenToClient(&rect);
        EXPECT_EQ(CRect(rows[i].rect), rect);
    }
    // The skinned button is the page's own object, reached by its id.
    EXPECT_TRUE(m_page.GetDlgItem(503)->IsKindOf(RUNTIME_CLASS(CGeneralImageButton)));
}

TEST_F(PageControls, CaptionsKeepTheKeyTheyWereTranslatedFromSoALanguageSwitchFindsIt)
{
    CWnd* text = m_page.CreateControl({601, PageControlKind::Text, {10, 10, 200, 30}, L"IDS_SYS_TOOLS_FS_SPLIT_NAME"});
    CButton box;
    m_page.CreateCheckBox(box, L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_SELECTALL", 602, CRect(10, 40, 200, 60));
    CListCtrl list;
    m_page.CreateList(list, 603, CRect(10, 70, 300, 200), LVS_SHOWSELALWAYS, LVS_EX_FULLROWSELECT,
                      {{L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_LIST_OBJECT", 120}, {nullptr, 80}});

    Shell::TextSource source;
    ASSERT_TRUE(Shell::CaptionKey(text->GetSafeHwnd(), -1, L"File:", source));
    EXPECT_EQ(L"IDS_SYS_TOOLS_FS_SPLIT_NAME", source.key);
    ASSERT_TRUE(Shell::CaptionKey(box.GetSafeHwnd(), -1, L"Select all", source));
    EXPECT_EQ(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_SELECTALL", source.key);

    EXPECT_EQ(DWORD(LVS_REPORT), list.GetStyle() & LVS_TYPEMASK);
    EXPECT_TRUE(list.GetStyle() & WS_BORDER);
    EXPECT_EQ(DWORD(LVS_EX_FULLROWSELECT), list.GetExtendedStyle());
    wchar_t header[32] = L"";
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header;
    column.cchTextMax = 32;
    ASSERT_TRUE(::SendMessageW(list.GetSafeHwnd(), LVM_GETCOLUMNW, 0, LPARAM(&column)));
    EXPECT_EQ(std::wstring(L"Control"), header);
    EXPECT_EQ(120, column.cx);
    header[0] = L'x';
    ASSERT_TRUE(::SendMessageW(list.GetSafeHwnd(), LVM_GETCOLUMNW, 1, LPARAM(&column)));
    EXPECT_EQ(std::wstring(L""), header);
    box.DestroyWindow();
    list.DestroyWindow();
}

}  // namespace
