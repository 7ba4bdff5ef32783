// Start with Windows: a value "Quorvel.exe" under the machine's Run key that starts the batch file laucher.bat
// beside the program (its quoted path), which starts the program. The Run value names the program itself
// (quoted) where a batch file cannot be started safely: a folder name with & < > ( ) @ ^ | or %, which cmd acts on
// in the command that starts a batch file; and a path the ANSI code page cannot carry, which gets no batch file.
#pragma once

#include <windows.h>

#include <string>

namespace Shell {

// The text of laucher.bat for the program path: "@start <path>\r\nexit", where each run of blanks and characters
// cmd would act on (& ^ | < > ( ) , ; = %) is wrapped in double quotes and every % is doubled, so the line starts
// exactly that program and runs nothing else. A path with single blanks gets the classic form: C:\a" "b\...
std::wstring LauncherBatchText(const std::wstring& programPath);

// The text in the ANSI code page; false when a character has no exact ANSI form.
bool ToAnsiExactly(const std::wstring& text, std::string& ansi);

// True when the Run value exists and is not empty.
bool IsStartWithWindowsOn();

// Turns start with Windows on or off for the program in `programFolder` (with its trailing backslash).
// On: the Run value and laucher.bat (see above). Off: the Run value is removed; laucher.bat stays, started by
// nothing.
// ERROR_SUCCESS, or the Win32 error of the step that failed (nothing is reported as done that was not).
LONG SetStartWithWindows(bool on, const std::wstring& programFolder);

}  // namespace Shell
