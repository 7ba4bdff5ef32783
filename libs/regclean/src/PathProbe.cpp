#include "PathProbe.h"

#include <wctype.h>

namespace bexlar {

namespace {

std::wstring LowerCopy(const std::wstring& s) {
    std::wstring r(s);
    for (auto& c : r) c = towlower(c);
    return r;
}

std::wstring FolderOf(UINT (WINAPI* get)(LPWSTR, UINT)) {
    wchar_t buf[MAX_PATH + 1] = L"";
    UINT n = get(buf, MAX_PATH);
    return (n > 0 && n < MAX_PATH) ? std::wstring(buf, n) : std::wstring();
}

#ifndef _WIN64
// A 32-bit process on 64-bit Windows would see SysWOW64 for System32: look at the real files.
class FsRedirectionOff {
public:
    FsRedirectionOff() {
        typedef BOOL(WINAPI * Disable)(PVOID*);
        static Disable disable = reinterpret_cast<Disable>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "Wow64DisableWow64FsRedirection")));
        active_ = disable && disable(&old_);
    }
    ~FsRedirectionOff() {
        typedef BOOL(WINAPI * Revert)(PVOID);
        static Revert revert = reinterpret_cast<Revert>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "Wow64RevertWow64FsRedirection")));
        if (active_ && revert) revert(old_);
    }

private:
    PVOID old_ = nullptr;
    bool active_ = false;
};
#endif

}  // namespace

PathProbe::PathProbe() {
    for (int& t : driveType_) t = -1;
    systemDir_ = FolderOf(GetSystemDirectoryW);
    windowsDir_ = FolderOf(GetWindowsDirectoryW);
}

DWORD PathProbe::Attributes(const std::wstring& path, DWORD* error) {
    std::wstring key = LowerCopy(path);
    auto it = memo_.find(key);
    if (it == memo_.end()) {
        Entry e;
        {
#ifndef _WIN64
            FsRedirectionOff off;
#endif
            e.attrs = GetFileAttributesW(path.c_str());
            e.error = e.attrs == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
        }
        it = memo_.emplace(std::move(key), e).first;
    }
    if (error) *error = it->second.error;
    return it->second.attrs;
}

bool PathProbe::OnFixedDrive(const std::wstring& path) {
    size_t start = path.compare(0, 4, L"\\\\?\\") == 0 ? 4 : 0;
    if (path.size() < start + 3) return false;
    wchar_t letter = towupper(path[start]);
    if (letter < L'A' || letter > L'Z' || path[start + 1] != L':') return false;
    if (path[start + 2] != L'\\' && path[start + 2] != L'/') return false;
    int& type = driveType_[letter - L'A'];
    if (type < 0) {
        wchar_t root[] = {letter, L':', L'\\', 0};
        type = static_cast<int>(GetDriveTypeW(root));
        // A fixed drive that is not ready (no volume) cannot decide anything either.
        if (type == DRIVE_FIXED && GetFileAttributesW(root) == INVALID_FILE_ATTRIBUTES) type = DRIVE_UNKNOWN;
    }
    return type == DRIVE_FIXED;
}

}  // namespace bexlar
