// Key paths of the scan table (below their roots, with a trailing backslash).
#pragma once

namespace bexlar {

const wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls\\";
const wchar_t kOpenSaveMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\";
const wchar_t kFileExts[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
const wchar_t kMenuOrder[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs\\";
const wchar_t kMuiCache[] = L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache\\";
const wchar_t kHelp[] = L"SOFTWARE\\Microsoft\\Windows\\Help\\";
const wchar_t kHtmlHelp[] = L"SOFTWARE\\Microsoft\\Windows\\Html Help\\";
const wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\uninstall\\";

}  // namespace bexlar
