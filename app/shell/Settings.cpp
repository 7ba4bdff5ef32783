#include "Settings.h"

#include <Common.h>

#include "Language.h"

// The key is spelled once; the last scan's subkey is below it.
#define SETTINGS_KEY L"Software\\Quorvel\\Param"

namespace Settings {

const wchar_t kLastScanKey[] = SETTINGS_KEY L"\\RegScore";

namespace {

const wchar_t kKey[] = SETTINGS_KEY;

const wchar_t kLanguage[] = L"Lang";
const wchar_t kServiceUrl[] = L"ServiceUrl";
const wchar_t kLastScanScore[] = L"LastScanScore";
const wchar_t kLastScanTime[] = L"LastScanTime";
const wchar_t* const kLastScanCountNames[kLastScanCounts] = {L"RegCleanErrorCount", L"ScanEvidenceErrorCount",
                                                             L"ScanJunkFileErrorCount", L"ScanShortcutErrorCount",
                                                             L"ScanFileAssociateErrorCount"};

std::wstring Text(const wchar_t* key, const wchar_t* value)
{
    std::wstring text;
    SBRegGetStringValueW(HKEY_LOCAL_MACHINE, key, value, text);
    return text;
}

// A string keeps the type it was stored with (a REG_EXPAND_SZ stays one); a new value is a REG_SZ.
LONG SetText(const wchar_t* key, const wchar_t* value, const std::wstring& text)
{
    return SBRegSetStringValueW(HKEY_LOCAL_MACHINE, key, value, text.c_str());
}

}  // namespace

int Language() { return Shell::ChooseLanguage(Text(kKey, kLanguage)).index + 1; }

LONG SetLanguage(int number) { return SetText(kKey, kLanguage, std::to_wstring(number)); }

std::wstring ServiceUrl() { return Text(kKey, kServiceUrl); }

LONG SetServiceUrl(const std::wstring& url) { return SetText(kKey, kServiceUrl, url); }

bool LastScanScore(DWORD& score)
{
    return SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, kLastScanKey, kLastScanScore, score);
}

LONG SetLastScanScore(DWORD score)
{
    return SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, kLastScanKey, kLastScanScore, score);
}

bool LastScanTime(std::wstring& text)
{
    return SBRegGetStringValueW(HKEY_LOCAL_MACHINE, kLastScanKey, kLastScanTime, text);
}

LONG SetLastScanTime(const std::wstring& text) { return SetText(kLastScanKey, kLastScanTime, text); }

DWORD LastScanCount(int index)
{
    DWORD count = 0;
    if (index >= 0 && index < kLastScanCounts)
        SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, kLastScanKey, kLastScanCountNames[index], count);
    return count;
}

LONG SetLastScanCount(int index, DWORD count)
{
    if (index < 0 || index >= kLastScanCounts) return ERROR_INVALID_PARAMETER;
    return SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, kLastScanKey, kLastScanCountNames[index], count);
}

}  // namespace Settings
