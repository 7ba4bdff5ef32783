// A language switch back and forth through every language leaves every caption, list header and cell, drop-down item
// of the main window, its pages and the options window as a fresh start in that language shows them: each
// window is translated from the key it was made from, never guessed back from a text that two keys share.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "MainWindowInProcess.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

using Texts = std::map<std::pair<HWND, int>, std::wstring>;  // (window, item or -1) -> text

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, 64);
    return name;
}

template <typename Item>
void ItemTexts(HWND control, UINT getCount, UINT get, UINT textMask, Texts& texts)
{
    const int count = int(::SendMessageW(control, getCount, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t buffer[260] = L"";
        Item item = {};
        item.mask = textMask;
        item.pszText = buffer;
        item.cchTextMax = 260;
        if (::SendMessageW(control, get, WPARAM(i), LPARAM(&item))) texts[{control, i}] = buffer;
    }
}

void WindowTexts(HWND wnd, Texts& texts)
{
    const std::wstring cls = ClassOf(wnd);
    if (lstrcmpiW(cls.c_str(), WC_HEADERW) == 0) {
        ItemTexts<HDITEMW>(wnd, HDM_GETITEMCOUNT, HDM_GETITEMW, HDI_TEXT, texts);
    } else if (lstrcmpiW(cls.c_str(), WC_TABCONTROLW) == 0) {
        ItemTexts<TCITEMW>(wnd, TCM_GETITEMCOUNT, TCM_GETITEMW, TCIF_TEXT, texts);
    } else if (lstrcmpiW(cls.c_str(), WC_COMBOBOXW) == 0) {
        if ((::GetWindowLongW(wnd, GWL_STYLE) & 3) != CBS_DROPDOWNLIST) return;
        const int count = int(::SendMessageW(wnd, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t buffer[512] = L"";
            if (::SendMessageW(wnd, CB_GETLBTEXTLEN, WPARAM(i), 0) < 512)
                ::SendMessageW(wnd, CB_GETLBTEXT, WPARAM(i), LPARAM(buffer));
            texts[{wnd, i}] = buffer;
        }
    } else if (lstrcmpiW(cls.c_str(), WC_LISTVIEWW) == 0) {
        // Cells the program filled from the dictionary follow; the rest is data and stays.
        const HWND header = reinterpret_cast<HWND>(::SendMessageW(wnd, LVM_GETHEADER, 0, 0));
        const int columns = int(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
        const int rows = int(::SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                texts[{wnd, 1000 + row * 64 + column}] = ListCellText(wnd, row, column);
    } else if (lstrcmpiW(cls.c_str(), L"Static") == 0 || lstrcmpiW(cls.c_str(), L"Button") == 0 || cls == L"#32770" ||
               cls.compare(0, 5, L"QMfc:") == 0) {
        texts[{wnd, -1}] = WindowText(wnd);
    }
}

BOOL CALLBACK CollectTopLevel(HWND wnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
    return TRUE;
}

// Every text of the interface thread's windows, shown or hidden.
Texts InterfaceTexts()
{
    std::vector<HWND> tops;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectTopLevel, reinterpret_cast<LPARAM>(&tops));
    Texts texts;
    for (HWND top : tops) {
        WindowTexts(top, texts);
        for (HWND wnd : Descendants(top)) WindowTexts(wnd, texts);
    }
    return texts;
}

std::string Utf8(const std::wstring& text)
{
    std::string out;
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
        out.resize(size_t(n - 1));
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    }
    return out;
}

// The texts of `before` that read otherwise now (windows gone meanwhile are left out).
std::vector<std::string> Changed(const Texts& before, const Texts& now)
{
    std::vector<std::string> changed;
    for (const auto& entry : before) {
        auto it = now.find(entry.first);
        if (it == now.end() || it->second == entry.second) continue;
        changed.push_back("\"" + Utf8(entry.second) + "\" now reads \"" + Utf8(it->second) + "\"");
    }
    return changed;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (size_t i = 0; i < lines.size() && i < 40; ++i) all += "\n  " + lines[i];
    return all;
}

}  // namespace

TEST(LanguageRoundTrip, EveryTextReadsAsAtAFreshStartAfterSwitchingThroughEveryLanguage)
{
    MainWindowInProcess& main = SharedMainWindow();
    const Texts english = InterfaceTexts();
    ASSERT_GT(english.size(), 200u) << "the main window was not built";

    ASSERT_TRUE(main.SwitchLanguage(2));
    const Texts german = InterfaceTexts();
    EXPECT_FALSE(Changed(english, german).empty()) << "the switch to German changed nothing";
    for (int number = 3; number <= 11; ++number) ASSERT_TRUE(main.SwitchLanguage(number)) << number;

    ASSERT_TRUE(main.SwitchLanguage(1));
    const std::vector<std::string> english_changed = Changed(english, InterfaceTexts());
    EXPECT_TRUE(english_changed.empty()) << english_changed.size()
                                         << " texts differ from a fresh English start:" << Joined(english_changed);

    ASSERT_TRUE(main.SwitchLanguage(2));
    const std::vector<std::string> german_changed = Changed(german, InterfaceTexts());
    EXPECT_TRUE(german_changed.empty()) << german_changed.size()
                                        << " texts differ from the first German switch:" << Joined(german_changed);
}
