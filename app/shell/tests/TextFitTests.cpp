// Captions that do not fit their control, in the real main window created in this process: on every built page
// and sub-page, every static and button shown there whose caption, measured with the font the control draws it
// in, is wider (or, wrapped, taller) than the control. The pages are measured where they stand, without bringing
// each to the screen. PageScreenshots (CTest label "screenshots") saves a picture of each page the drawer leads
// to in each language into the artefacts (the registry page's as registry_page_<language>.bmp).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "DrawerMenu.h"
#include "ImageButton.h"
#include "MainFrameTables.h"
#include "MainWindowInProcess.h"
#include "PageFactory.h"
#include "PageIds.h"
#include "QAppDriver.h"
#include "QTestSupport.h"
#include "TabButton.h"
#include "controls/CheckBoxEx.h"

using namespace shell_test;

namespace {

struct Language {
    const wchar_t* setting;
    const char* folder;
};

std::string Narrow(const std::wstring& text)
{
    std::string out;
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
        out.resize(size_t(n - 1));
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    }
    return out;
}

// Where the caption starts inside the control, for the controls that draw it themselves; -1 for the others.
int SkinnedTextLeft(HWND h)
{
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    RECT client;
    ::GetClientRect(h, &client);
    if (auto* b = dynamic_cast<CImageButton*>(wnd)) return b->m_bCenter ? 0 : b->m_nTextX;
    if (auto* t = dynamic_cast<CTabButton*>(wnd)) return t->m_bCenter ? 0 : t->m_nTextX;
    if (dynamic_cast<CCheckBoxEx*>(wnd)) return client.bottom + 5;
    if (auto* m = dynamic_cast<CMenuButtonItem*>(wnd)) return m->m_nTextX;
    return -1;
}

CFunctionDlg* PageObject(HWND h) { return dynamic_cast<CFunctionDlg*>(CWnd::FromHandlePermanent(h)); }
bool IsPage(HWND h) { return PageObject(h) != nullptr; }

// Whether a page shows when its page is brought to the front: a top-level page does, a sub-page when it is the
// one shown now or, where none is, the sub-page 0 a page's first show brings.
bool PageShowsWithItsPage(HWND page)
{
    HWND parent = ::GetParent(page);
    if (!IsPage(parent)) return true;
    if (::GetWindowLongW(page, GWL_STYLE) & WS_VISIBLE) return true;
    for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT))
        if (IsPage(sibling) && (::GetWindowLongW(sibling, GWL_STYLE) & WS_VISIBLE)) return false;
    return PageObject(page)->GetPageId() == 0;
}

// Whether the control shows when the pages holding it are brought to the front: it and every window between it
// and root are visible, the pages judged by PageShowsWithItsPage.
bool ShownWithItsPage(HWND h, HWND root)
{
    for (; h && h != root; h = ::GetParent(h)) {
        bool shown = IsPage(h) ? PageShowsWithItsPage(h) : (::GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
        if (!shown) return false;
    }
    return h == root && ::IsWindowVisible(root);
}

// The id of the top-level page holding the control ("frame" outside every page).
std::string PageOf(HWND h)
{
    std::string page = "frame";
    for (; h; h = ::GetParent(h))
        if (IsPage(h) && !IsPage(::GetParent(h))) page = "page " + std::to_string(::GetDlgCtrlID(h));
    return page;
}

// A text for each shown caption that does not fit its control.
std::vector<std::string> ClippedCaptions(HWND root)
{
    std::vector<std::string> clipped;
    for (HWND h : Descendants(root)) {
        if (!ShownWithItsPage(h, root)) continue;
        std::wstring text = WindowText(h);
        if (text.empty()) continue;
        wchar_t cls[64] = L"";
        ::GetClassNameW(h, cls, 64);
        bool isStatic = lstrcmpiW(cls, L"Static") == 0, isButton = lstrcmpiW(cls, L"Button") == 0;
        if (!isStatic && !isButton) continue;
        LONG style = ::GetWindowLongW(h, GWL_STYLE);
        int skinnedLeft = SkinnedTextLeft(h);
        if (isStatic && skinnedLeft < 0) {
            int type = style & SS_TYPEMASK;
            // Containers of the drawer and pictures carry no caption of their own.
            if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
                type != SS_LEFTNOWORDWRAP)
                continue;
            if (::GetWindow(h, GW_CHILD)) continue;
        }
        if (isButton && skinnedLeft < 0 && (style & BS_TYPEMASK) == BS_GROUPBOX) skinnedLeft = 8;

        RECT client;
        ::GetClientRect(h, &client);
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0));
        HDC dc = ::GetDC(h);
        HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(SYSTEM_FONT));
        int width = client.right, height = client.bottom, need = 0, needHeight = 0;
        if (skinnedLeft >= 0) {
            SIZE extent = {};
            ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
            need = skinnedLeft + extent.cx;
        } else if (isButton) {
            SIZE extent = {};
            ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
            int type = style & BS_TYPEMASK;
            bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                       type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
            need = extent.cx + (box ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4 : 6);
        } else {
            int type = style & SS_TYPEMASK;
            RECT calc = {0, 0, width, 0};
            UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
            // A static that ends in an ellipsis shows one line, cut.
            if (type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP && !(style & SS_ELLIPSISMASK)) flags |= DT_WORDBREAK;
            if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
            ::DrawTextW(dc, text.c_str(), int(text.size()), &calc, flags);
            need = calc.right;
            needHeight = calc.bottom;
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(h, dc);
        if (need > width || needHeight > height) {
            clipped.push_back(PageOf(h) + ": control " + std::to_string(::GetDlgCtrlID(h)) + " '" + Narrow(text) +
                              "' needs " + std::to_string(need) + "x" + std::to_string(needHeight) + ", has " +
                              std::to_string(width) + "x" + std::to_string(height));
        }
    }
    return clipped;
}

// Every page id the drawer leads to, in creation order. The system restore page is left out: showing it asks
// Wine's System Restore, which its own tests replace by a scripted stand-in.
std::vector<int> BuiltPageIds()
{
    std::vector<int> ids;
    int count = 0;
    const Shell::PageGroup* groups = Shell::PageGroups(&count);
    for (int g = 0; g < count; ++g)
        for (int i = 0; i < groups[g].count; ++i) {
            int id = groups[g].ids[i];
            if (Shell::IsPageRegistered(id) && id != PAGE_ID_OPTIMIZE_FAST && id != PAGE_ID_BACKUP_RESTORE_POINT)
                ids.push_back(id);
        }
    return ids;
}

TEST(TextFitCheck, FindsCaptionsWiderOrTallerThanTheirControlAndSkinnedButtonsShrinkTheirs)
{
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, AfxRegisterWndClass(0), L"text fit", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr));
    CFont font;
    CreateSkinFont(font, 13, FALSE);
    const wchar_t kLong[] = L"A caption far too long for a narrow control";
    struct Case {
        const wchar_t* text;
        DWORD style;
        RECT rect;
        bool clipped;
    } statics[] = {
        {kLong, SS_LEFT, {0, 0, 400, 20}, false},                     // fits on one line
        {kLong, SS_LEFT, {0, 30, 120, 50}, true},                     // would wrap, no room for a second line
        {kLong, SS_LEFT, {0, 60, 120, 160}, false},                   // wraps into the room it has
        {kLong, SS_LEFT | SS_ENDELLIPSIS, {0, 170, 120, 240}, true},  // one line, cut
        {kLong, SS_LEFTNOWORDWRAP, {0, 250, 200, 270}, true},
    };
    std::vector<std::unique_ptr<CStatic>> controls;
    for (const Case& c : statics) {
        controls.emplace_back(new CStatic);
        controls.back()->Create(c.text, WS_CHILD | WS_VISIBLE | c.style, c.rect, &host, 0xFFFF);
        controls.back()->SetFont(&font);
        EXPECT_EQ(c.clipped ? 1u : 0u, ClippedCaptions(host.GetSafeHwnd()).size())
            << std::string(c.text, c.text + wcslen(c.text)) << " in " << c.rect.right - c.rect.left << " px";
        controls.back()->ShowWindow(SW_HIDE);
    }

    // A skinned button draws a caption too wide for it smaller, down to a floor.
    CGeneralImageButton button;
    button.Create(L"Einstellungen", WS_CHILD | WS_VISIBLE, CRect(0, 0, 124, 40), &host, 1);
    EXPECT_TRUE(ClippedCaptions(host.GetSafeHwnd()).empty());
    button.SetWindowText(L"Jetzt reparieren!");
    std::vector<std::string> clipped = ClippedCaptions(host.GetSafeHwnd());
    EXPECT_TRUE(clipped.empty()) << "the caption is drawn smaller: " << (clipped.empty() ? "" : clipped[0]);
    button.SetWindowText(L"Einstellungen speichern, schliessen und das Programm danach neu starten");
    EXPECT_EQ(1u, ClippedCaptions(host.GetSafeHwnd()).size()) << "even the smallest font is too wide";
    host.DestroyWindow();
}

class TextFit : public ::testing::TestWithParam<Language> {};

TEST_P(TextFit, EveryCaptionOfEveryPageFitsItsControl)
{
    const Language& language = GetParam();
    MainWindowInProcess& main = SharedMainWindow();
    ASSERT_TRUE(main.SwitchLanguage(std::stoi(std::wstring(language.setting))));
    ASSERT_NE(nullptr, DrawerEntry(main.Handle(), PAGE_ID_SCAN_CLEAN_HOME)) << "the main window was not built";
    const std::vector<std::string> clipped = ClippedCaptions(main.Handle());
    std::string all;
    for (const std::string& c : clipped) all += "\n  " + c;
    EXPECT_TRUE(clipped.empty()) << clipped.size() << " clipped captions in " << language.folder << ":" << all;
}

const Language kLanguages[] = {{L"1", "en"}, {L"2", "de"}, {L"3", "es"}, {L"4", "fr"},  {L"5", "it"}, {L"6", "jp"},
                               {L"7", "cn"}, {L"8", "hk"}, {L"9", "ar"}, {L"10", "nl"}, {L"11", "pt"}};

// Each page the drawer leads to in each language, as the user sees it, into the artefacts. One test a language,
// so the screenshot runs can share the languages out.
class PageScreenshots : public ::testing::TestWithParam<Language> {};

TEST_P(PageScreenshots, EveryPage)
{
    const Language& language = GetParam();
    MainWindowInProcess& main = SharedMainWindow();
    ASSERT_TRUE(main.SwitchLanguage(std::stoi(std::wstring(language.setting))));
    const std::wstring folder(language.folder, language.folder + strlen(language.folder));
    for (int pageId : BuiltPageIds()) {
        main.ShowPage(pageId);
        EXPECT_EQ(pageId, VisiblePageId(main.Handle()));
        std::wstring name = pageId == PAGE_ID_SCAN_CLEAN_REGISTRY
                                ? L"registry_page_" + folder + L".bmp"
                                : L"page_" + folder + L"_" + std::to_wstring(pageId) + L".bmp";
        EXPECT_TRUE(SaveWindowShot(main.Handle(), ArtifactPath(name.c_str()))) << language.folder << " " << pageId;
    }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, PageScreenshots, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.folder); });

INSTANTIATE_TEST_SUITE_P(AllLanguages, TextFit, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.folder); });

}  // namespace
