// The real Quorvel.exe: the OPTIONS button opens the options window on its General tab; switching the language
// there translates the main window, the page on show and the options window at once, and the next start uses
// it. Screenshots of the options window in English and German go to Q:\artifacts.
#include <gtest/gtest.h>

#include <map>

#include <Common.h>

#include "Dictionary.h"
#include "QAppDriver.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

const int kOptionsButton = 100005;
const int kLanguageList = 81014, kLanguageChange = 81016, kGeneralPage = 81005, kSchedulePage = 81006;

HWND OptionsWindow(const QuorvelProcess& app)
{
    return FindProcessWindow(app.ProcessId(), [](HWND wnd) { return FindDescendant(wnd, kLanguageList) != nullptr; });
}

std::wstring Setting()
{
    std::wstring lang;
    SBRegGetStringValueW(HKEY_LOCAL_MACHINE, L"Software\\Quorvel\\Param", L"Lang", lang);
    return lang;
}

bool IsCaption(HWND wnd)
{
    wchar_t cls[32] = L"";
    ::GetClassNameW(wnd, cls, 32);
    return _wcsicmp(cls, L"Static") == 0 || _wcsicmp(cls, L"Button") == 0;
}

// Every caption of the windows with its control id, in window order: two starts showing the same windows
// compare equal when they show the same texts.
std::vector<std::wstring> Captions(const std::vector<HWND>& roots)
{
    std::vector<std::wstring> captions;
    for (HWND root : roots)
        for (HWND wnd : Descendants(root))
            if (IsCaption(wnd) && ::IsWindowVisible(wnd))
                captions.push_back(std::to_wstring(::GetDlgCtrlID(wnd)) + L" " + WindowText(wnd));
    return captions;
}

// The captions of `now` that differ from those of `fresh`, or all of them when the windows differ.
std::string Differences(const std::vector<std::wstring>& fresh, const std::vector<std::wstring>& now)
{
    if (fresh.size() != now.size()) return "other windows: " + std::to_string(now.size()) + " captions";
    std::string wrong;
    for (size_t i = 0; i < fresh.size(); ++i)
        if (fresh[i] != now[i]) wrong += std::string(now[i].begin(), now[i].end()) + "; ";
    return wrong;
}

std::string RawKeysOf(const std::vector<HWND>& roots)
{
    std::string raw;
    for (HWND root : roots)
        for (const std::wstring& key : RawKeys(root)) raw += std::string(key.begin(), key.end()) + " ";
    return raw;
}

// Selects language `number` in the options window's list and presses Change.
void ChooseLanguage(HWND options, int number)
{
    HWND list = FindDescendant(options, kLanguageList);
    int count = int(::SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (::SendMessageW(list, CB_GETITEMDATA, WPARAM(i), 0) == number)
            ::SendMessageW(list, CB_SETCURSEL, WPARAM(i), 0);
    PressButton(FindDescendant(options, kLanguageChange));
}

std::wstring SelectedLanguageName(HWND options)
{
    HWND list = FindDescendant(options, kLanguageList);
    int selected = int(::SendMessageW(list, CB_GETCURSEL, 0, 0));
    wchar_t name[128] = L"";
    if (selected >= 0) ::SendMessageW(list, CB_GETLBTEXT, WPARAM(selected), LPARAM(name));
    return name;
}

TEST(OptionsApp, TheLanguageSwitchesAtOnceAndStaysForTheNextStart)
{
    SetLanguageSetting(nullptr);
    SetRecentLastScan();
    std::vector<std::wstring> english;
    {
        QuorvelProcess app;
        ASSERT_TRUE(app.Start());
        ASSERT_GE(app.WaitUntilVisible(), 0);
        PumpFor(500);
        HWND main = app.MainWindow();
        ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(kOptionsButton, 0), 0);
        HWND options = OptionsWindow(app);
        ASSERT_NE(nullptr, options);
        EXPECT_TRUE(::IsWindowVisible(options));
        EXPECT_EQ(main, ::GetWindow(options, GW_OWNER));
        EXPECT_TRUE(::IsWindowVisible(FindDescendant(options, kGeneralPage)));
        EXPECT_FALSE(::IsWindowVisible(FindDescendant(options, kSchedulePage)));
        EXPECT_EQ(L"General", WindowText(FindDescendant(options, 81003)));
        EXPECT_EQ(L"English", SelectedLanguageName(options));
        EXPECT_EQ(11, ::SendMessageW(FindDescendant(options, kLanguageList), CB_GETCOUNT, 0, 0));
        EXPECT_TRUE(SaveWindowShot(options, ArtifactPath(L"options_en.bmp")));

        const std::vector<HWND> roots = {main, options};
        english = Captions(roots);
        ASSERT_GT(english.size(), 30u) << "the test found too few captions";
        // Through every language and back: each caption comes back as a fresh English start shows it.
        for (int number = 2; number <= 11; ++number) {
            ChooseLanguage(options, number);
            EXPECT_EQ("", RawKeysOf(roots)) << number;
        }
        ChooseLanguage(options, 1);
        EXPECT_EQ("", Differences(english, Captions(roots)));
        ChooseLanguage(options, 2);
        EXPECT_EQ(L"2", Setting());
        EXPECT_EQ(L"Optionen", WindowText(FindDescendant(main, kOptionsButton)));
        EXPECT_EQ(L"Allgemein", WindowText(FindDescendant(options, 81003)));
        EXPECT_EQ(L"Deutsch", SelectedLanguageName(options));
        EXPECT_TRUE(SaveWindowShot(options, ArtifactPath(L"options_de.bmp")));
        app.Exit();
    }
    {
        QuorvelProcess app;  // the stored language is used at the next start
        ASSERT_TRUE(app.Start());
        ASSERT_GE(app.WaitUntilVisible(), 0);
        HWND main = app.MainWindow();
        EXPECT_EQ(L"Optionen", WindowText(FindDescendant(main, kOptionsButton)));
        ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(kOptionsButton, 0), 0);
        HWND options = OptionsWindow(app);
        ASSERT_NE(nullptr, options);
        EXPECT_EQ(L"Deutsch", SelectedLanguageName(options));

        const std::vector<HWND> roots = {main, options};
        ChooseLanguage(options, 1);
        EXPECT_EQ(L"1", Setting());
        EXPECT_EQ("", Differences(english, Captions(roots))) << "a German start switched to English";
        EXPECT_EQ(L"Options", WindowText(FindDescendant(main, kOptionsButton)));
        app.Exit();
    }
    SetLanguageSetting(nullptr);
}

}  // namespace
