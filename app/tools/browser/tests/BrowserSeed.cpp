#include "BrowserSeed.h"

#include <Common.h>

#include "RegistrySeed.h"

using namespace grennow_test;

namespace browser_test {

const std::wstring kMainKey = L"Software\\Microsoft\\Internet Explorer\\Main";
const std::wstring kBrowserKey = L"Software\\Microsoft\\Internet Explorer";
const std::wstring kShellFoldersKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kCacheKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache";
const std::wstring kTypedUrlsKey = L"Software\\Microsoft\\Internet Explorer\\TypedUrls";
const std::wstring kUnitsKey = L"SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
const std::wstring kCompatKey = L"Software\\Microsoft\\Internet Explorer\\ActiveX Compatibility";
const std::wstring kHelpersKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const std::wstring kMenuExtKey = L"Software\\Microsoft\\Internet Explorer\\MenuExt";
const std::wstring kBarsKey = L"Software\\Microsoft\\Internet Explorer\\Explorer Bars";
const std::wstring kAboutKey = L"Software\\Microsoft\\Internet Explorer\\AboutURLs";

const std::wstring kVersioned = L"{6A1D1001-0000-4000-8000-000000000001}";
const std::wstring kPlain = L"{6A1D1002-0000-4000-8000-000000000002}";
const std::wstring kHelperA = L"{6A1D1003-0000-4000-8000-000000000003}";
const std::wstring kHelperB = L"{6A1D1004-0000-4000-8000-000000000004}";
const std::wstring kBar = L"{6A1D1005-0000-4000-8000-000000000005}";

namespace {

void RegisterClass(const std::wstring& clsid, const wchar_t* name, const std::wstring& file)
{
    SetString(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid, nullptr, name);
    SetString(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid + L"\\InprocServer32", nullptr, file);
}

}  // namespace

void SeedBrowser()
{
    for (const std::wstring* key : {&kMainKey, &kCacheKey, &kTypedUrlsKey, &kMenuExtKey, &kBarsKey})
        DeleteTree(HKEY_CURRENT_USER, *key);
    for (const std::wstring* key : {&kMainKey, &kUnitsKey, &kCompatKey, &kHelpersKey, &kBarsKey, &kAboutKey})
        DeleteTree(HKEY_LOCAL_MACHINE, *key);

    for (const wchar_t* folder : {L"C:\\Downloads", L"C:\\Saved pages", L"C:\\Pictures"})
        ::CreateDirectoryW(folder, nullptr);
    SetString(HKEY_CURRENT_USER, kMainKey, L"Start Page", L"http://start.example.test/");
    SetString(HKEY_CURRENT_USER, kBrowserKey, L"Download Directory", L"C:\\Downloads");
    SetString(HKEY_CURRENT_USER, kMainKey, L"Save Directory", L"C:\\Saved pages");
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, L"My Pictures", L"C:\\Pictures");

    SetDword(HKEY_CURRENT_USER, kCacheKey, L"Persistent", 1);
    SetString(HKEY_CURRENT_USER, kMainKey, L"Play_Background_Sounds", L"yes");
    SetString(HKEY_CURRENT_USER, kMainKey, L"Display Inline Images", L"no");
    SetString(HKEY_CURRENT_USER, kTypedUrlsKey, L"url1", L"http://typed.example.test/");
    SetString(HKEY_CURRENT_USER, kTypedUrlsKey, L"url2", L"http://typed.example.test/two");

    const std::wstring dll = SBGetAppPathW() + L"CommonVersioned.dll";
    CreateKey(HKEY_LOCAL_MACHINE, kUnitsKey + L"\\" + kVersioned);
    CreateKey(HKEY_LOCAL_MACHINE, kUnitsKey + L"\\" + kPlain);
    RegisterClass(kVersioned, L"Versioned Viewer", dll);
    SetDword(HKEY_LOCAL_MACHINE, kCompatKey + L"\\" + kVersioned, L"Compatibility Flags", 0x401);

    CreateKey(HKEY_LOCAL_MACHINE, kHelpersKey + L"\\" + kHelperA);
    CreateKey(HKEY_LOCAL_MACHINE, kHelpersKey + L"\\" + kHelperB);
    RegisterClass(kHelperA, L"Toolbar Helper", dll);

    SetString(HKEY_CURRENT_USER, kMenuExtKey + L"\\&Send to Notes", nullptr, L"res://notes.htm");
    SetString(HKEY_CURRENT_USER, kMenuExtKey + L"\\E&xport Page", nullptr, L"res://export.htm");
    CreateKey(HKEY_CURRENT_USER, kBarsKey + L"\\" + kBar);
}

}  // namespace browser_test
