#include "RegistryPlaces.h"

#include <windows.h>

#include <wchar.h>

#include <Common.h>
#include <QPathText.h>

namespace Grennow {

const wchar_t kMainKey[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kBrowserKey[] = L"Software\\Microsoft\\Internet Explorer";
const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kCacheKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache";
const wchar_t kTypedUrlsKey[] = L"Software\\Microsoft\\Internet Explorer\\TypedUrls";
const wchar_t kDistributionUnitsKey[] = L"SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
const wchar_t kBrowserHelperObjectsKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const wchar_t kMenuExtKey[] = L"Software\\Microsoft\\Internet Explorer\\MenuExt";
const wchar_t kExplorerBarsKey[] = L"Software\\Microsoft\\Internet Explorer\\Explorer Bars";

std::wstring EntryKey(const wchar_t* group, const std::wstring& name) { return std::wstring(group) + L"\\" + name; }

bool IsGroupKey(const std::wstring& keyPath, const wchar_t* group) { return qpath::EqualsNoCase(keyPath, group); }

bool IsEntryKeyOf(const std::wstring& keyPath, const wchar_t* group)
{
    const size_t length = wcslen(group);
    if (keyPath.size() <= length + 1 || keyPath[length] != L'\\') return false;
    if (!qpath::StartsWithNoCase(keyPath, group)) return false;
    return keyPath.find(L'\\', length + 1) == std::wstring::npos;
}

bool ReadClassName(const std::wstring& clsid, std::wstring& name)
{
    return SBRegGetStringValueW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid).c_str(), L"", name);
}

bool ReadClassFile(const std::wstring& clsid, std::wstring& file)
{
    return SBRegGetStringValueW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid + L"\\InprocServer32").c_str(), L"", file);
}

void ReadVersionTexts(const std::wstring& file, std::wstring& company, std::wstring& version, std::wstring& description)
{
    company = SBGetFileCompanyW(file.c_str());
    description = SBGetFileDescriptionW(file.c_str());
    version = SBGetFileVersionW(file.c_str());
}

}  // namespace Grennow
