// The controls a page builds in code through the page frame's helpers and tables, on a page of this process
// with a small dictionary of the test's own.
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
        s_folder = shell_test::MakeScratchFolder(L"pagecontrols");
        shell_test::WriteUtf16(s_folder + L"p.ini",
                               L"[DICTIONARY_MAINID]\r\nMAINID=1\r\n\r\n[IDS_P_TEXT]\r\n1=A text\r\n\r\n"
                               L"[IDS_P_BUTTON]\r\n1=Go\r\n\r\n[IDS_P_BOX]\r\n1=Tick me\r\n\r\n"
                               L"[IDS_P_GROUP]\r\n1=Group\r\n\r\n[IDS_P_COLUMN]\r\n1=Name\r\n\r\n");
        ASSERT_EQ(0, nsVendrel::LoadDictionarys(s_folder.c_str()));
    }
    static void TearDownTestSuite() { shell_test::RemoveTree(s_folder); }
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

    static std::wstring s_folder;
    shell_test::HostWindow m_host;
    CFunctionDlg m_parent;
    TablePage m_page;
};
std::wstring PageControls::s_folder;

TEST_F(PageControls, EachKindOfRowIsMadeWithItsClassStyleCaptionAndFont)
{
    const PageControlRow rows[] = {
        {501, PageControlKind::Text, {10, 10, 200, 30}, L"IDS_P_TEXT", SS_RIGHT},
        {502, PageControlKind::Edit, {10, 40, 200, 60}, nullptr, ES_AUTOHSCROLL | ES_READONLY},
        {503, PageControlKind::Button, {10, 70, 134, 110}, L"IDS_P_BUTTON", WS_TABSTOP},
        {504, PageControlKind::CheckBox, {10, 120, 200, 140}, L"IDS_P_BOX"},
        {505, PageControlKind::CheckBox, {10, 150, 200, 170}, L"IDS_P_BOX", BS_RADIOBUTTON},
        {506, PageControlKind::GroupBox, {5, 180, 300, 260}, L"IDS_P_GROUP"},
    };
    m_page.CreateControls(rows);

    struct Expected {
        const wchar_t* className;
        DWORD style, typeMask;  // the style bits it has, and the bits that say which kind of static or button
        const wchar_t* caption;
        bool pageFont;
    } expected[] = {
        {L"Static", SS_RIGHT, SS_TYPEMASK, L"A text", true},
        {L"Edit", ES_AUTOHSCROLL | ES_READONLY, 0, L"", true},  // its border the edit draws itself
        {L"Button", WS_TABSTOP, 0, L"Go", false},
        {L"Button", BS_AUTOCHECKBOX, BS_TYPEMASK, L"Tick me", true},
        {L"Button", BS_RADIOBUTTON, BS_TYPEMASK, L"Tick me", true},
        {L"Button", BS_GROUPBOX, BS_TYPEMASK, L"Group", true},
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
    CWnd* text = m_page.CreateControl({601, PageControlKind::Text, {10, 10, 200, 30}, L"IDS_P_TEXT"});
    CButton box;
    m_page.CreateCheckBox(box, L"IDS_P_BOX", 602, CRect(10, 40, 200, 60));
    CListCtrl list;
    m_page.CreateList(list, 603, CRect(10, 70, 300, 200), LVS_SHOWSELALWAYS, LVS_EX_FULLROWSELECT,
                      {{L"IDS_P_COLUMN", 120}, {nullptr, 80}});

    Shell::TextSource source;
    ASSERT_TRUE(Shell::CaptionKey(text->GetSafeHwnd(), -1, L"A text", source));
    EXPECT_EQ(L"IDS_P_TEXT", source.key);
    ASSERT_TRUE(Shell::CaptionKey(box.GetSafeHwnd(), -1, L"Tick me", source));
    EXPECT_EQ(L"IDS_P_BOX", source.key);

    EXPECT_EQ(DWORD(LVS_REPORT), list.GetStyle() & LVS_TYPEMASK);
    EXPECT_TRUE(list.GetStyle() & WS_BORDER);
    EXPECT_EQ(DWORD(LVS_EX_FULLROWSELECT), list.GetExtendedStyle());
    wchar_t header[32] = L"";
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header;
    column.cchTextMax = 32;
    ASSERT_TRUE(::SendMessageW(list.GetSafeHwnd(), LVM_GETCOLUMNW, 0, LPARAM(&column)));
    EXPECT_EQ(std::wstring(L"Name"), header);
    EXPECT_EQ(120, column.cx);
    header[0] = L'x';
    ASSERT_TRUE(::SendMessageW(list.GetSafeHwnd(), LVM_GETCOLUMNW, 1, LPARAM(&column)));
    EXPECT_EQ(std::wstring(L""), header);
    box.DestroyWindow();
    list.DestroyWindow();
}

}  // namespace
