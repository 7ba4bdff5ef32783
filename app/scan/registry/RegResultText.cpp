#include "RegResultText.h"

namespace {

// Descriptions the engine writes in its own language: the words before and after the path or name it names.
struct EngineDetail {
    const wchar_t* before;
    const wchar_t* after;
    const wchar_t* key;  // its text holds %s where the path or name goes
};
const EngineDetail kEngineDetails[] = {
    {L"\"", L"\"\u4E0D\u5B58\u5728", L"IDS_SCAN_CLEAN_REGISTRY_DETAIL_PATH_MISSING"},
    {L"\u201C", L"\u201D\u5BF9\u5E94\u7684\u5B89\u88C5\u4FE1\u606F\u4E0D\u5B58\u5728",
     L"IDS_SCAN_CLEAN_REGISTRY_DETAIL_NO_INSTALL_INFO"},
};

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The last part of a key path ("A\\B\\" -> "B").
std::wstring LastKeyPart(std::wstring subKey)
{
    while (!subKey.empty() && subKey.back() == L'\\') subKey.pop_back();
    const size_t cut = subKey.rfind(L'\\');
    return cut == std::wstring::npos ? subKey : subKey.substr(cut + 1);
}

}  // namespace

std::wstring GetRootKeyShortName(const CRegistryData::REG_DATA& data)
{
    const wchar_t* name = L"";
    if (data.root == HKEY_CLASSES_ROOT)
        name = L"HKCR";
    else if (data.root == HKEY_CURRENT_USER)
        name = L"HKCU";
    else if (data.root == HKEY_LOCAL_MACHINE)
        name = L"HKLM";
    else if (data.root == HKEY_USERS)
        name = L"HKU";
    else if (data.root == HKEY_CURRENT_CONFIG)
        name = L"HKEY_CURRENT_CONFIG";
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

std::wstring RegResultDetailText(const CRegistryData::SCAN_RESULT& result, const TextTranslator& translate)
{
    const std::wstring& detail = result.detail;
    if (detail.empty()) {
        if (!result.data.valueName.empty()) return result.data.valueName;
        const std::wstring part = LastKeyPart(result.data.subKey);
        return part.empty() ? GetRootKeyShortName(result.data) : part;
    }
    for (const EngineDetail& e : kEngineDetails) {
        const std::wstring before = e.before, after = e.after;
        if (detail.size() >= before.size() + after.size() && detail.compare(0, before.size(), before) == 0 &&
            EndsWith(detail, after))
            return FillTextArgument(translate(e.key),
                                    detail.substr(before.size(), detail.size() - before.size() - after.size()));
    }
    return translate(detail);
}

RegResultLines MakeRegResultLines(const CRegistryData::SCAN_RESULT& result, const TextTranslator& translate)
{
    const wchar_t* reasonKey = RegReasonKey(result.reason);
    RegResultLines lines;
    lines.title = (reasonKey ? translate(reasonKey) : std::wstring()) + L" " + RegResultDetailText(result, translate);
    lines.path = GetRootKeyShortName(result.data);
    return lines;
}

std::wstring JoinRegResultLines(const RegResultLines& lines) { return lines.title + L"\n" + lines.path + L"\n"; }

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
