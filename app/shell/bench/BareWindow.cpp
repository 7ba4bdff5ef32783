// The start-up floor: a bare program that creates one top-level window of the main window's size and shows it.
// With "--load-imports-of <program>" it first loads every library that program imports, as the loader does
// for the program itself: the part of a start that comes before the program's own code runs.
#include <windows.h>

#include <string>
#include <vector>

namespace
{
// The names of the libraries in the import table of a PE file, read from the file.
std::vector<std::string> ImportedLibraries(const wchar_t* path)
{
    std::vector<std::string> names;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return names;
    std::vector<char> image(GetFileSize(file, nullptr));
    DWORD read = 0;
    const bool ok = !image.empty() && ReadFile(file, image.data(), DWORD(image.size()), &read, nullptr) &&
                    read == image.size();
    CloseHandle(file);
    if (!ok || image.size() < sizeof(IMAGE_DOS_HEADER))
        return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS) > image.size())
        return names;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    // A relative virtual address as an offset in the file, or 0 when no section holds it.
    auto offset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return 0;
    };
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t at = offset(directory.VirtualAddress);
    while (at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size())
    {
        const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (entry->Name == 0)
            break;
        const size_t name = offset(entry->Name);
        if (name && name < image.size())
            names.emplace_back(image.data() + name, strnlen(image.data() + name, image.size() - name));
        at += sizeof(IMAGE_IMPORT_DESCRIPTOR);
    }
    return names;
}

LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE)
    {
        DestroyWindow(wnd);
        return 0;
    }
    if (msg == WM_DESTROY)
    {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc == 3 && lstrcmpW(argv[1], L"--load-imports-of") == 0)
    {
        const std::vector<std::string> libraries = ImportedLibraries(argv[2]);
        if (libraries.empty())
            return 2;
        for (const std::string& library : libraries)
            if (!LoadLibraryA(library.c_str()))
                return 3;
    }
    LocalFree(argv);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"QuorvelBareWindow";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Bare window", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 930,
                               688, nullptr, nullptr, instance, nullptr);
    ShowWindow(wnd, SW_SHOWNORMAL);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
