#include "CategoryFixtures.h"

#include <shlobj.h>

#include "TestUtil.h"

namespace bxtest {

namespace {

std::wstring Forward(std::wstring s)
{
    for (auto& c : s)
        if (c == L'\\') c = L'/';
    return s;
}

std::wstring ProgramsFolder()
{
    wchar_t buf[MAX_PATH + 1] = L"";
    SHGetSpecialFolderPathW(nullptr, buf, CSIDL_PROGRAMS, TRUE);
    return buf;
}

}  // namespace

std::vector<std::wstring> ClassesFixtureKeys(const std::wstring& t)
{
    return {L"." + t + L"noprog",
            L"." + t + L"good",
            t + L"prog",
            t + L"badcmd",
            t + L"self",
            t + L"badicon",
            t + L"pcticon",
            L"CLSID\\{" + t + L"-1}",
            L"CLSID\\{" + t + L"-2}",
            L"CLSID\\{" + t + L"-3}",
            L"CLSID\\{" + t + L"-4}",
            L"TypeLib\\{" + t + L"-L1}",
            L"TypeLib\\{" + t + L"-L2}",
            L"." + t + L"ok",
            L"." + t + L"ok2",
            t + L"rdl1",
            t + L"rdl2",
            t + L"rdl3",
            t + L"rdl4",
            t + L"rdlbad"};
}

std::vector<FixtureEntry> SeedCategoryFixtures(const std::wstring& t)
{
    const HKEY LM = HKEY_LOCAL_MACHINE, CU = HKEY_CURRENT_USER, CR = HKEY_CLASSES_ROOT;
    const std::wstring d = NewTempDir(L"fixture");
    const std::wstring gone = d + L"\\gone";  // never created
    const std::wstring dll = d + L"\\" + t + L"-exists.dll";
    MakeFile(dll);
    MakeDir(d + L"\\app dir");
    const std::wstring app = d + L"\\app dir\\app.exe";
    MakeFile(app);
    MakeDir(d + L"\\folder" + t);
    std::vector<FixtureEntry> rows;

    // 1. shared DLL records: the value name is the path.
    SetDword(LM, kSharedDlls, dll, 1);
    SetDword(LM, kSharedDlls, d + L"\\folder" + t, 1);
    SetDword(LM, kSharedDlls, gone + L"\\" + t + L"-missing.dll", 1);
    SetDword(LM, kSharedDlls, L"%SystemRoot%\\" + t + L"-gone.dll", 1);
    SetString(LM, kSharedDlls, gone + L"\\" + t + L"-sz.dll", L"1");
    wchar_t windir[MAX_PATH + 1];
    GetWindowsDirectoryW(windir, MAX_PATH);
    rows.push_back({L"shared dll, file exists", LM, kSharedDlls, dll, false, RST_SHAREDDLL, 0, L""});
    rows.push_back({L"shared dll, folder exists", LM, kSharedDlls, d + L"\\folder" + t, false, RST_SHAREDDLL, 0, L""});
    rows.push_back({L"shared dll, missing", LM, kSharedDlls, gone + L"\\" + t + L"-missing.dll", true, RST_SHAREDDLL,
                    RSR_FILE_NOT_FOUND, gone + L"\\" + t + L"-missing.dll"});
    rows.push_back({L"shared dll, expanded", LM, kSharedDlls, L"%SystemRoot%\\" + t + L"-gone.dll", true, RST_SHAREDDLL,
                    RSR_FILE_NOT_FOUND, std::wstring(windir) + L"\\" + t + L"-gone.dll"});
    rows.push_back(
        {L"shared dll, not a DWORD", LM, kSharedDlls, gone + L"\\" + t + L"-sz.dll", false, RST_SHAREDDLL, 0, L""});

    // 2. open/save history: one-letter values name files.
    const std::wstring mru = std::wstring(kOpenSaveMru) + t + L"\\";
    SetString(CU, mru, L"a", gone + L"\\x.txt");
    SetString(CU, mru, L"b", dll);
    SetString(CU, mru, L"MRUList", L"ab");
    rows.push_back({L"mru, missing", CU, mru, L"a", true, RST_OPENSAVEMRU, RSR_JUNK_VALUE, t + L"\\a"});
    rows.push_back({L"mru, exists", CU, mru, L"b", false, RST_OPENSAVEMRU, 0, L""});
    rows.push_back({L"mru, MRUList", CU, mru, L"MRUList", false, RST_OPENSAVEMRU, 0, L""});

    // 3. per-extension history.
    const std::wstring extGone = L"." + t + L"zq", extOk = L"." + t + L"ok", extNoProg = L"." + t + L"ok2";
    CreateKey(CU, std::wstring(kFileExts) + extGone + L"\\OpenWithList");
    SetString(CU, std::wstring(kFileExts) + extOk + L"\\UserChoice", L"Progid", t + L"prog");
    SetString(CU, std::wstring(kFileExts) + extNoProg + L"\\UserChoice", L"Progid", t + L"noprogid");
    SetString(CR, extOk, L"", t + L"prog");
    SetString(CR, extNoProg, L"", t + L"prog");
    rows.push_back({L"file exts, no class", CU, std::wstring(kFileExts) + extGone + L"\\", L"", true, RST_EXTHISTORY,
                    RSR_JUNK_VALUE, extGone});
    rows.push_back(
        {L"file exts, live choice", CU, std::wstring(kFileExts) + extOk + L"\\", L"", false, RST_EXTHISTORY, 0, L""});
    rows.push_back({L"file exts, chosen class missing", CU, std::wstring(kFileExts) + extNoProg + L"\\", L"", true,
                    RST_EXTHISTORY, RSR_JUNK_VALUE, extNoProg});

    // 4. Start menu order.
    MakeDir(ProgramsFolder() + L"\\" + t + L"-present");
    CreateKey(CU, std::wstring(kMenuOrder) + t + L"-present");
    CreateKey(CU, std::wstring(kMenuOrder) + t + L"-absent");
    rows.push_back({L"menu order, folder exists", CU, std::wstring(kMenuOrder) + t + L"-present\\", L"", false,
                    RST_STARTMENU, 0, L""});
    rows.push_back({L"menu order, folder gone", CU, std::wstring(kMenuOrder) + t + L"-absent\\", L"", true,
                    RST_STARTMENU, RSR_FILE_NOT_FOUND, t + L"-absent"});

    // 5. MUI cache.
    SetString(CU, kMuiCache, L"@" + t + L"shell32.dll,-1", L"x");
    SetString(CU, kMuiCache, gone + L"\\" + t + L"-app.exe", L"App");
    SetString(CU, kMuiCache, dll, L"Dll");
    rows.push_back({L"mui, resource", CU, kMuiCache, L"@" + t + L"shell32.dll,-1", false, RST_MUICACHE, 0, L""});
    rows.push_back({L"mui, missing", CU, kMuiCache, gone + L"\\" + t + L"-app.exe", true, RST_MUICACHE, RSR_JUNK_VALUE,
                    gone + L"\\" + t + L"-app.exe"});
    rows.push_back({L"mui, exists", CU, kMuiCache, dll, false, RST_MUICACHE, 0, L""});

    // 6. help files: the data is the folder, the name the file.
    SetString(LM, kHelp, t + L"-a.hlp", d);
    SetString(LM, kHelp, t + L"-b.hlp", gone);
    SetString(LM, kHelp, L"notepad.exe", L"");
    SetString(LM, kHtmlHelp, t + L"-c.chm", gone);
    rows.push_back({L"help, folder exists", LM, kHelp, t + L"-a.hlp", false, RST_HELP, 0, L""});
    rows.push_back({L"help, folder gone", LM, kHelp, t + L"-b.hlp", true, RST_HELP, RSR_FILE_NOT_FOUND,
                    gone + L"\\" + t + L"-b.hlp"});
    rows.push_back({L"help, empty data, found in system", LM, kHelp, L"notepad.exe", false, RST_HELP, 0, L""});
    rows.push_back({L"html help, folder gone", LM, kHtmlHelp, t + L"-c.chm", true, RST_HELP, RSR_FILE_NOT_FOUND,
                    gone + L"\\" + t + L"-c.chm"});

    // 7. application paths.
    const std::wstring appGone = std::wstring(kAppPaths) + t + L"-gone.exe\\";
    SetString(LM, appGone, L"", gone + L"\\" + t + L"-gone.exe");
    SetString(LM, std::wstring(kAppPaths) + t + L"-ok.exe", L"", L"\"" + app + L"\"");
    rows.push_back({L"app path, missing", LM, appGone, L"", true, RST_APPPATH, RSR_FILE_NOT_FOUND,
                    L"\"" + gone + L"\\" + t + L"-gone.exe\"\u4E0D\u5B58\u5728"});
    rows.push_back(
        {L"app path, exists", LM, std::wstring(kAppPaths) + t + L"-ok.exe\\", L"", false, RST_APPPATH, 0, L""});

    // 8. uninstall entries.
    SetString(LM, std::wstring(kUninstall) + t + L"-gone", L"UninstallString", L"\"" + gone + L"\\unins000.exe\" /x");
    SetString(LM, std::wstring(kUninstall) + t + L"-ok", L"UninstallString", app + L" /uninstall");
    SetString(LM, std::wstring(kUninstall) + t + L"-msi", L"UninstallString", L"MsiExec.exe /X{00000000-0000}");
    rows.push_back({L"uninstall, missing", LM, std::wstring(kUninstall) + t + L"-gone\\", L"", true, RST_UNINSTALL,
                    RSR_FILE_NOT_FOUND,
                    L"\u201C" + t + L"-gone\u201D\u5BF9\u5E94\u7684\u5B89\u88C5\u4FE1\u606F\u4E0D\u5B58\u5728"});
    rows.push_back(
        {L"uninstall, exists", LM, std::wstring(kUninstall) + t + L"-ok\\", L"", false, RST_UNINSTALL, 0, L""});
    rows.push_back({L"uninstall, program in the system folder", LM, std::wstring(kUninstall) + t + L"-msi\\", L"",
                    false, RST_UNINSTALL, 0, L""});

    // 9. file associations.
    SetString(CR, L"." + t + L"noprog", L"", t + L"-noprogid");
    SetString(CR, L"." + t + L"good", L"", t + L"prog");
    SetString(CR, t + L"prog\\shell\\open\\command", L"", L"\"" + app + L"\" \"%1\"");
    SetString(CR, t + L"prog\\DefaultIcon", L"", dll + L",3");
    SetString(CR, t + L"badcmd\\shell\\open\\command", L"", gone + L"\\tool.exe %1");
    SetString(CR, t + L"self\\shell\\open\\command", L"", L"\"%1\" %*");
    SetString(CR, t + L"badicon\\DefaultIcon", L"", gone + L"\\icon.dll,0");
    SetString(CR, t + L"pcticon\\DefaultIcon", L"", L"%1");
    rows.push_back({L"ext, class missing", CR, L"." + t + L"noprog\\", L"", true, RST_FILEASSOC, RSR_JUNK_VALUE, L""});
    rows.push_back({L"ext, class exists", CR, L"." + t + L"good\\", L"", false, RST_FILEASSOC, 0, L""});
    rows.push_back({L"command, exists", CR, t + L"prog\\shell\\open\\command\\", L"", false, RST_FILEASSOC, 0, L""});
    rows.push_back(
        {L"icon, file with index exists", CR, t + L"prog\\DefaultIcon\\", L"", false, RST_FILEASSOC, 0, L""});
    rows.push_back({L"command, missing", CR, t + L"badcmd\\shell\\open\\command\\", L"", true, RST_FILEASSOC,
                    RSR_JUNK_VALUE, t + L"badcmd"});
    rows.push_back(
        {L"command, the file itself", CR, t + L"self\\shell\\open\\command\\", L"", false, RST_FILEASSOC, 0, L""});
    rows.push_back({L"icon, missing", CR, t + L"badicon\\DefaultIcon\\", L"", true, RST_FILEASSOC, RSR_JUNK_VALUE,
                    t + L"badicon"});
    rows.push_back({L"icon, %1", CR, t + L"pcticon\\DefaultIcon\\", L"", false, RST_FILEASSOC, 0, L""});
    // Commands that mention rundll: only a rundll program whose module is gone is an error.
    MakeDir(d + L"\\rundll tools");
    MakeFile(d + L"\\rundll tools\\uninst.exe");
    const struct {
        const wchar_t* label;
        const wchar_t* name;
        std::wstring command;
        bool reported;
    } rundll[] = {
        {L"command, /rundll switch", L"rdl1", L"\"" + app + L"\" /rundll " + gone + L"\\missing.ini", false},
        {L"command, rundll in the folder name", L"rdl2", L"\"" + d + L"\\rundll tools\\uninst.exe\" /log x", false},
        {L"command, rundll32 with a folder", L"rdl3",
         L"rundll32.exe shell32.dll,ShellExec_RunDLL " + d + L"\\folder" + t, false},
        {L"command, rundll32 with a placeholder", L"rdl4",
         L"rundll32.exe url.dll,FileProtocolHandler " + d + L"\\folder" + t + L"\\%1", false},
        {L"command, rundll32 module missing", L"rdlbad", L"rundll32.exe " + gone + L"\\m.dll,Entry %1", true},
    };
    for (const auto& r : rundll) {
        const std::wstring key = t + r.name + L"\\shell\\open\\command";
        SetString(CR, key, L"", r.command);
        rows.push_back({r.label, CR, key + L"\\", L"", r.reported, RST_FILEASSOC, r.reported ? RSR_JUNK_VALUE : 0,
                        r.reported ? t + r.name : L""});
    }

    // 10. COM classes.
    const std::wstring c1 = L"CLSID\\{" + t + L"-1}\\", c2 = L"CLSID\\{" + t + L"-2}\\",
                       c3 = L"CLSID\\{" + t + L"-3}\\", c4 = L"CLSID\\{" + t + L"-4}\\";
    SetString(CR, c1 + L"InprocServer32", L"", gone + L"\\a.dll");
    SetString(CR, c1 + L"InprocServer32\\2.0", L"CodeBase", L"file:///" + Forward(gone) + L"/c.dll");
    SetString(CR, c2 + L"InprocServer32", L"", gone + L"\\b.dll");
    SetString(CR, c2 + L"LocalServer32", L"", L"\"" + app + L"\" /automation");
    SetString(CR, c3 + L"InprocServer32", L"", t + L"-mscoree.dll");
    SetString(CR, c4 + L"InprocServer32", L"", dll);
    SetString(CR, c4 + L"InprocServer32\\1.0", L"CodeBase", L"file:///" + Forward(gone) + L"/a.dll");
    rows.push_back({L"class, server missing", CR, c1, L"", true, RST_COM, RSR_FILE_NOT_FOUND, gone + L"\\a.dll"});
    rows.push_back({L"class, code base under a missing class", CR, c1 + L"InprocServer32\\2.0\\", L"CodeBase", true,
                    RST_COM, RSR_FILE_NOT_FOUND, Forward(gone) + L"/c.dll"});
    rows.push_back({L"class, local server alive", CR, c2, L"", false, RST_COM, 0, L""});
    rows.push_back({L"class, bare name", CR, c3, L"", false, RST_COM, 0, L""});
    rows.push_back({L"class, server exists", CR, c4, L"", false, RST_COM, 0, L""});
    rows.push_back({L"class, code base missing", CR, c4 + L"InprocServer32\\1.0\\", L"CodeBase", true, RST_COM,
                    RSR_FILE_NOT_FOUND, Forward(gone) + L"/a.dll"});

    // 11. type libraries.
    SetString(CR, L"TypeLib\\{" + t + L"-L1}\\1.0\\0\\win32", L"", gone + L"\\x.tlb\\2");
    SetString(CR, L"TypeLib\\{" + t + L"-L2}\\1.0\\0\\win32", L"", gone + L"\\x.tlb");
    rows.push_back({L"type library, resource index", CR, L"TypeLib\\{" + t + L"-L1}\\1.0\\0\\win32\\", L"", false,
                    RST_COM, 0, L""});
    rows.push_back({L"type library, missing", CR, L"TypeLib\\{" + t + L"-L2}\\1.0\\0\\win32\\", L"", true, RST_COM,
                    RSR_FILE_NOT_FOUND, gone + L"\\x.tlb"});
    rows.back().defaultValue = true;
    return rows;
}

}  // namespace bxtest
