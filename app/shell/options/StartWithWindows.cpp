#include "StartWithWindows.h"

#include <Common.h>
#include <QGuards.h>

namespace Shell {

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"Quorvel.exe";
const wchar_t kProgramName[] = L"Quorvel.exe";
const wchar_t kLauncherName[] = L"laucher.bat";

bool NeedsQuotes(wchar_t c)
{
    switch (c) {
    case L' ':
    case L'&':
    case L'^':
    case L'|':
    case L'<':
    case L'>':
    case L'(':
    case L')':
    case L',':
    case L';':
    case L'=':
    case L'%': return true;
    default: return false;
    }
}

// Characters that make cmd take the quotes off a command it is given with /c (the way a batch file in the Run
// value is started), and % which it expands there: a launcher in such a folder could not be started safely.
bool IsSafeForCmdLine(const std::wstring& path) { return path.find_first_of(L"&<>()@^|%") == std::wstring::npos; }

LONG WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    qcore::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LONG(::GetLastError());
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr)) return LONG(::GetLastError());
    return written == bytes.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LONG RemoveFile(const std::wstring& path)
{
    if (::DeleteFileW(path.c_str())) return ERROR_SUCCESS;
    DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : LONG(error);
}

LONG RemoveRunValue()
{
    LONG result = SBRegDeleteValueW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

}  // namespace

std::wstring LauncherBatchText(const std::wstring& programPath)
{
    std::wstring text = L"@start ";
    bool quoted = false;
    for (wchar_t c : programPath) {
        // One pair of quotes around each run: two quoted characters side by side ("a"" "...) would read as an
        // escaped quote.
        if (NeedsQuotes(c) != quoted) {
            text += L'"';
            quoted = !quoted;
        }
        text += c;
        if (c == L'%') text += L'%';  // cmd expands % inside quotes too; %% is a literal one
    }
    if (quoted) text += L'"';
    return text + L"\r\nexit";
}

bool ToAnsiExactly(const std::wstring& text, std::string& ansi)
{
    ansi.clear();
    if (text.empty()) return true;
    BOOL lossy = FALSE;
    int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), int(text.size()), nullptr, 0, nullptr,
                                      &lossy);
    if (bytes <= 0 || lossy) return false;
    ansi.resize(size_t(bytes));
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), int(text.size()), &ansi[0], bytes, nullptr,
                          &lossy);
    return !lossy;
}

bool IsStartWithWindowsOn()
{
    std::wstring command;
    return SBRegGetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, command) && !command.empty();
}

LONG SetStartWithWindows(bool on, const std::wstring& programFolder)
{
    const std::wstring launcher = programFolder + kLauncherName;
    // Without the Run value nothing starts the launcher; it is left in place.
    if (!on) return RemoveRunValue();
    const std::wstring program = programFolder + kProgramName;
    std::string batch;
    if (!ToAnsiExactly(LauncherBatchText(program), batch)) {
        // A batch file could not name this program: the Run value starts it itself.
        LONG result =
            SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, (L"\"" + program + L"\"").c_str());
        if (result == ERROR_SUCCESS) RemoveFile(launcher);
        return result;
    }
    // The file first: a Run value must never point at a launcher that is missing.
    LONG result = WriteWholeFile(launcher, batch);
    if (result != ERROR_SUCCESS) return result;
    // Quoted, so a path with blanks cannot start "C:\Program.exe" and the like first. A folder name that cmd
    // would act on even in quotes gets the program itself.
    const std::wstring command = L"\"" + (IsSafeForCmdLine(launcher) ? launcher : program) + L"\"";
    result = SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, command.c_str());
    if (result != ERROR_SUCCESS) RemoveFile(launcher);
    return result;
}

}  // namespace Shell
