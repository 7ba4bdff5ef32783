// The program's entry point: hands over to AfxWinMain (and so to the application object's InitInstance).
// Linked only into programs (CMake object library QMfcMain), never into test executables.
#include "QMfc.h"

namespace {
// The command line after the program name, as WinMain gets it.
LPWSTR CommandTail()
{
    LPWSTR p = GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR cmdLine, int cmdShow)
{
    return AfxWinMain(instance, previous, cmdLine, cmdShow);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int cmdShow)
{
    return AfxWinMain(instance, previous, CommandTail(), cmdShow);
}
