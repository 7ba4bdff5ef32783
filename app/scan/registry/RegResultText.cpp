#include "RegResultText.h"

std::wstring GetRootKeyShortName(const CRegistryData::REG_DATA& data)
{
    const wchar_t* name = L"";
    if (data.root == HKEY_CLASSES_ROOT) name = L"HKCR";
    else if (data.root == HKEY_CURRENT_USER) name = L"HKCU";
    else if (data.root == HKEY_LOCAL_MACHINE) name = L"HKLM";
    else if (data.root == HKEY_USERS) name = L"HKU";
    else if (data.root == HKEY_CURRENT_CONFIG) name = L"HKEY_CURRENT_CONFIG";
    return std::wstring(name) + L"\\" + data.subKey;
}

const wchar_t* RegReasonKey(int reason)
{
    switch (reason) {
    case RSR_FILE_NOT_FOUND: return L"IDS_SCAN_CLEAN_REGISTRY_REASON_FILE_NOT_FOUND";
    case RSR_JUNK_VALUE: return L"IDS_SCAN_CLEAN_REGISTRY_REASON_JUNK_VALUE";
    case RSR_NO_SUB_VALUES: return L"IDS_SCAN_CLEAN_REGISTRY_REASON_NO_SUB_VALUES";
    case RSR_TYPELIB_NOT_REGISTERED: return L"IDS_SCAN_CLEAN_REGISTRY_REASON_TYPELIB_NOT_REGISTERED";
    default: return nullptr;
    }
}

RegResultLines MakeRegResultLines(const CRegistryData::SCAN_RESULT& result, const std::wstring& reasonText)
{
    RegResultLines lines;
    lines.title = reasonText + L" " + result.detail;
    lines.path = GetRootKeyShortName(result.data);
    return lines;
}

std::wstring JoinRegResultLines(const RegResultLines& lines)
{
    return lines.title + L"\n" + lines.path + L"\n";
}

void SplitRegResultText(const std::wstring& text, std::wstring& title, std::wstring& rest)
{
    size_t cut = text.find(L'\n');
    if (cut == std::wstring::npos || cut == 0) {
        title = text;
        rest.clear();
        return;
    }
    title = text.substr(0, cut);
    rest = text.substr(cut + 1);
}
