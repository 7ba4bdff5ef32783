// A stand-in program for tests that check what another program starts: each run appends one line, its own
// path and its command line separated by a tab, to "runs.txt" beside it (UTF-8), and exits.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    wchar_t self[MAX_PATH * 2] = L"";
    DWORD len = ::GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    if (len == 0 || len >= MAX_PATH * 2) return 1;
    std::wstring line = std::wstring(self) + L"\t" + ::GetCommandLineW() + L"\r\n";
    std::wstring log(self);
    log.resize(log.rfind(L'\\') + 1);
    log += L"runs.txt";

    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), &utf8[0], bytes, nullptr, nullptr);
    // Several runs may append at once: retry while another holds the file.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file =
            ::CreateFileW(log.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            BOOL ok = ::WriteFile(file, utf8.data(), DWORD(utf8.size()), &written, nullptr);
            ::CloseHandle(file);
            return ok ? 0 : 1;
        }
        ::Sleep(10);
    }
    return 1;
}
