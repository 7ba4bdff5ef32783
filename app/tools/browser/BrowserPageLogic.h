// What the browser page shows and decides, without windows: the texts of the list rows, the security switches'
// texts and the message after an action on the checked rows.
#pragma once

#include <string>
#include <vector>

#include <Grennow.h>

namespace BrowserPage {

// Column texts of one list row.
typedef std::vector<std::wstring> RowTexts;

// name, state, description, version, company, file.
RowTexts ActiveXRow(const IEActiveXInfo& info, const std::wstring& blockedText, const std::wstring& unblockedText);
// name, "BHO", description, version, company, file.
RowTexts PluginRow(const IEPluginInfo& info);
// display name, key path.
RowTexts BhoRow(const IEBhoInfo& info);
// display name, current text, default text.
RowTexts RestoreRow(const IERestoreInfo& item, const std::wstring& current);

// The three switches of the security tab, in the tab's order. Each is shown as a protection: on when the cache is
// cleared on exit, when background sounds are off, when pictures are off.
enum SecurityOption { kClearTempOnExit = 0, kNoBackgroundSounds = 1, kNoPictures = 2, kSecurityOptionCount = 3 };
bool IsProtectionOn(const CIESecurityMan& security, SecurityOption option);
// Flips the option (writes the negation of its current value). True when the registry took it.
bool ToggleProtection(CIESecurityMan& security, SecurityOption option);
// The status text key and the button caption key for a protection's state.
const wchar_t* SecurityStatusKey(bool protectionOn);
const wchar_t* SecurityButtonKey(bool protectionOn);

// How an action on the checked rows went.
struct ActionOutcome {
    int attempted = 0;  // rows the action was tried on
    int failed = 0;     // of those, rows the registry did not take
    void Add(bool done)
    {
        ++attempted;
        if (!done) ++failed;
    }
};
// The message to show after the action: `noneKey` when no row was acted on, the failure text when any row
// failed, else `doneKey`. Null: no message.
const wchar_t* OutcomeMessageKey(const ActionOutcome& outcome, const wchar_t* doneKey, const wchar_t* noneKey);

// Failure texts of the page.
extern const wchar_t kSaveFailedKey[];  // one setting was not saved
extern const wchar_t kSomeFailedKey[];  // some of the checked rows were not changed

}  // namespace BrowserPage
