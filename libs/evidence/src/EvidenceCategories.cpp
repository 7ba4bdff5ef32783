#include "EvidenceCategories.h"

#include <shlobj.h>

#include <iterator>

namespace Lumbrey {

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

#define KEYS(...) TraceSource::RegistryKeys, {__VA_ARGS__}, nullptr, 0
#define APPDATA(sub) TraceSource::LocalAppData, {sub}, nullptr, 0

const CategoryRow kCategories[] = {
    // Internet Explorer
    {0, GROUP_INTERNET_EXPLORER, L"Cache", TraceSource::SpecialFolder, {}, nullptr, CSIDL_INTERNET_CACHE},
    {1, GROUP_INTERNET_EXPLORER, L"Address Bar History", KEYS(L"Software\\Microsoft\\Internet Explorer\\TypedURLs")},
    {2, GROUP_INTERNET_EXPLORER, L"Cookies", TraceSource::SpecialFolder, {}, nullptr, CSIDL_COOKIES},
    {5, GROUP_INTERNET_EXPLORER, L"AutoCompleteData", KEYS(L"Software\\Microsoft\\Internet Explorer\\IntelliForms")},
    // "Download Directory" and "Save Directory" are values of the Main key, not keys of their own.
    {6,
     GROUP_INTERNET_EXPLORER,
     L"Download Directory",
     TraceSource::RegistryValue,
     {L"Software\\Microsoft\\Internet Explorer\\Main"},
     L"Download Directory",
     0},
    {7,
     GROUP_INTERNET_EXPLORER,
     L"Save Directory",
     TraceSource::RegistryValue,
     {L"Software\\Microsoft\\Internet Explorer\\Main"},
     L"Save Directory",
     0},

    // Windows software
    {8, GROUP_WINDOWS_SOFTWARE, L"Paint",
     KEYS(L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List")},
    {9, GROUP_WINDOWS_SOFTWARE, L"WordPad",
     KEYS(L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List")},
    {10, GROUP_WINDOWS_SOFTWARE, L"Media Player History_List",
     KEYS(L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList")},
    {13, GROUP_WINDOWS_SOFTWARE, L"Microsoft Office", KEYS(L"Software\\Microsoft\\Office\\11.0\\Access\\Settings")},
    {16, GROUP_WINDOWS_SOFTWARE, L"Microsoft Netmeeting", KEYS(L" UNICODE Program Groups")},
    {18, GROUP_WINDOWS_SOFTWARE, L"MSDN Project MRU_List",
     KEYS(L"Software\\Microsoft\\MSDN\\8.0\\ProjectMRUList", L"Software\\Microsoft\\MSDN\\9.0\\ProjectMRUList",
          L"Software\\Microsoft\\MSDN\\6.0\\ProjectMRUList", L"Software\\Microsoft\\MSDN\\7.0\\ProjectMRUList")},
    {19, GROUP_WINDOWS_SOFTWARE, L"WinRar History",
     KEYS(L"Software\\WinRAR\\DialogEditHistory\\ExtrPath", L"Software\\WinRAR\\ArcHistory")},

    // Windows system
    {27, GROUP_WINDOWS_SYSTEM, L"Run History", KEYS(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU")},
    {28, GROUP_WINDOWS_SYSTEM, L"Windows Send To", TraceSource::ShellFolderValue, {kShellFolders}, L"SendTo", 0},
    {29, GROUP_WINDOWS_SYSTEM, L"Recent Files", TraceSource::ShellFolderValue, {kShellFolders}, L"Recent", 0},
    {34, GROUP_WINDOWS_SYSTEM, L"Microsoft Management Console MRU List",
     KEYS(L"Software\\Microsoft\\Microsoft Management Console\\Recent File List")},
    {35, GROUP_WINDOWS_SYSTEM, L"Regedit32 History",
     KEYS(L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit")},
    {36, GROUP_WINDOWS_SYSTEM, L"Start Menu Click History",
     KEYS(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
          L"{75048700-EF1F-11D0-9888-006097DEACF9}\\Count")},
    {38, GROUP_WINDOWS_SYSTEM, L"TrayNotify",
     KEYS(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify")},
    {39, GROUP_WINDOWS_SYSTEM, L"ShareFolder",
     KEYS(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WorkgroupCrawler\\Shares")},
    {40, GROUP_WINDOWS_SYSTEM, L"Exe MUI Cache", KEYS(L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache")},
    {41, GROUP_WINDOWS_SYSTEM, L"RecycleBin", TraceSource::RecycleBin, {}, nullptr, 0},
    {42, GROUP_WINDOWS_SYSTEM, L"Windows Log", TraceSource::SystemRootFolder, {L"\\system32\\wbem\\Logs"}, nullptr, 0},

    // Internet software, below the local application-data folder. Netscape keeps its profiles in a folder of
    // its own (not in another browser's).
    {48, GROUP_INTERNET_SOFTWARE, L"NetScape History", APPDATA(L"\\Netscape\\Navigator\\Profiles\\History")},
    {49, GROUP_INTERNET_SOFTWARE, L"NetScape Cookies", APPDATA(L"\\Netscape\\Navigator\\Profiles\\Cookies")},
    {50, GROUP_INTERNET_SOFTWARE, L"NetScape Cache", APPDATA(L"\\Netscape\\Navigator\\Profiles\\Cache")},
    {51, GROUP_INTERNET_SOFTWARE, L"FireFox History", APPDATA(L"\\Mozilla\\Firefox\\Profiles\\History")},
    {52, GROUP_INTERNET_SOFTWARE, L"FireFox Cookies", APPDATA(L"\\Mozilla\\Firefox\\Profiles\\Cookies")},
    {53, GROUP_INTERNET_SOFTWARE, L"FireFox Cache", APPDATA(L"\\Mozilla\\Firefox\\Profiles\\Cache")},
    {54, GROUP_INTERNET_SOFTWARE, L"Chrome History", APPDATA(L"\\Google\\Chrome\\User Data\\Default\\History")},
    {55, GROUP_INTERNET_SOFTWARE, L"Chrome Cookies", APPDATA(L"\\Google\\Chrome\\User Data\\Default\\Cookies")},
    {56, GROUP_INTERNET_SOFTWARE, L"Chrome Cache", APPDATA(L"\\Google\\Chrome\\User Data\\Default\\Cache")},
    {57, GROUP_INTERNET_SOFTWARE, L"Opera History", APPDATA(L"\\Opera\\Opera\\User Data\\Default\\History")},
    {58, GROUP_INTERNET_SOFTWARE, L"Opera Cookies", APPDATA(L"\\Opera\\Opera\\User Data\\Default\\cookies")},
    {59, GROUP_INTERNET_SOFTWARE, L"Opera Cache", APPDATA(L"\\Opera\\Opera\\User Data\\Default\\cache")},
};

#undef KEYS
#undef APPDATA

}  // namespace

const CategoryRow* FindCategory(CategoryGroup group, int number)
{
    for (const CategoryRow& row : kCategories) {
        if (row.number == number && row.group == group) return &row;
    }
    return nullptr;
}

}  // namespace Lumbrey
