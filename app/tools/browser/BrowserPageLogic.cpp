#include "BrowserPageLogic.h"

namespace BrowserPage {

const wchar_t kSaveFailedKey[] = L"IDS_SYS_TOOLS_IE_MSG_SAVE_FAILED";
const wchar_t kSomeFailedKey[] = L"IDS_SYS_TOOLS_IE_MSG_SOME_FAILED";

RowTexts ActiveXRow(const IEActiveXInfo& info, const std::wstring& blockedText, const std::wstring& unblockedText)
{
    return {info.name, info.blocked ? blockedText : unblockedText, info.description, info.version, info.company,
            info.file};
}

RowTexts PluginRow(const IEPluginInfo& info)
{
    return {info.name, L"BHO", info.description, info.version, info.company, info.file};
}

RowTexts BhoRow(const IEBhoInfo& info) { return {info.displayName, info.keyPath}; }

RowTexts RestoreRow(const IERestoreInfo& item, const std::wstring& current)
{
    return {item.displayName, current, item.defaultValue};
}

bool IsProtectionOn(const CIESecurityMan& security, SecurityOption option)
{
    switch (option) {
    case kClearTempOnExit: return security.GetIsClearTmpExitIE();
    case kNoBackgroundSounds: return !security.GetIsPlayBkgndSound();
    case kNoPictures: return !security.GetIsDisplayImage();
    default: return false;
    }
}

bool ToggleProtection(CIESecurityMan& security, SecurityOption option)
{
    switch (option) {
    case kClearTempOnExit: return security.EnableClearTmpExitIE(!security.GetIsClearTmpExitIE());
    case kNoBackgroundSounds: return security.EnablePlayBkgndSound(!security.GetIsPlayBkgndSound());
    case kNoPictures: return security.EnableDisplayImage(!security.GetIsDisplayImage());
    default: return false;
    }
}

const wchar_t* SecurityStatusKey(bool protectionOn)
{
    return protectionOn ? L"IDS_SYS_TOOLS_IE_SECURITY_CLEAR_TEXT_STATIC_MSG_ENABLED"
                        : L"IDS_SYS_TOOLS_IE_SECURITY_CLEAR_TEXT_STATIC_MSG_DISABLED";
}

const wchar_t* SecurityButtonKey(bool protectionOn)
{
    return protectionOn ? L"IDS_SYS_TOOLS_IE_SECURITY_TEXT_DISENABLE" : L"IDS_SYS_TOOLS_IE_SECURITY_TEXT_ENABLE";
}

const wchar_t* OutcomeMessageKey(const ActionOutcome& outcome, const wchar_t* doneKey, const wchar_t* noneKey)
{
    if (outcome.attempted == 0) return noneKey;
    if (outcome.failed > 0) return kSomeFailedKey;
    return doneKey;
}

}  // namespace BrowserPage
