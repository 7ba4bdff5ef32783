#include "AssocTable.h"

#include "QPathText.h"

namespace Moravin {

const AssocRow kAssocRows[14] = {
    {L".bat", L"batfile\\shell\\open\\command", L"\"%1\" %*"},
    {L".chm", L"chm.file\\shell\\open\\command", L"\"%SystemRoot%\\hh.exe\" %1"},
    {L".com", L"comfile\\shell\\open\\command", L"\"%1\" %*"},
    {L".exe", L"exefile\\shell\\open\\command", L"\"%1\" %*"},
    {L".hlp", L"hlpfile\\shell\\open\\command", L"%SystemRoot%\\System32\\winhlp32.exe %1"},
    {L".inf", L"inffile\\shell\\open\\command", L"%SystemRoot%\\System32\\notepad.exe %1"},
    {L".ini", L"inifile\\shell\\open\\command", L"%SystemRoot%\\system32\\notepad.exe %1"},
    {L".js", L"JSfile\\shell\\open\\command", L"%SystemRoot%\\System32\\WScript.exe \"%1\" %*"},
    {L".lnk", L"lnkfile\\CLSID", L"{00021401-0000-0000-C000-000000000046}"},
    {L".pif", L"piffile\\shell\\open\\command", L"\"%1\" %*"},
    {L".reg", L"regfile\\shell\\open\\command", L"regedit.exe \"%1\""},
    {L".scr", L"scrfile\\shell\\open\\command", L"\"%1\" /S"},
    {L".txt", L"txtfile\\shell\\open\\command", L"%SystemRoot%\\System32\\notepad.exe %1"},
    {L".vbs", L"vbsfile\\shell\\open\\command", L"%SystemRoot%\\System32\\WScript.exe \"%1\" %*"},
};

namespace {

// The expected command with the Windows folder in place of %SystemRoot% found at `at`, case-folded; empty when
// the command has no %SystemRoot% there.
std::wstring ExpandedAt(const std::wstring& expected, size_t at, const std::wstring& windowsDir)
{
    static const std::wstring token = L"%systemroot%";
    if (qpath::FoldCase(expected.substr(at, token.size())) != token) return std::wstring();
    return qpath::FoldCase(expected.substr(0, at) + windowsDir + expected.substr(at + token.size()));
}

}  // namespace

bool IsAssocValueNormal(const std::wstring& current, const std::wstring& expected, const std::wstring& windowsDir)
{
    if (current == expected) return true;
    if (windowsDir.empty() || current.empty()) return false;
    const std::wstring foldedCurrent = qpath::FoldCase(current);
    if (ExpandedAt(expected, 0, windowsDir) == foldedCurrent) return true;
    return !expected.empty() && expected[0] == L'"' && ExpandedAt(expected, 1, windowsDir) == foldedCurrent;
}

}  // namespace Moravin
