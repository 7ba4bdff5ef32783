// File existence, size, extension and path normalisation.
#include "Common.h"
#include "PathText.h"
#include "QPathText.h"

using common_detail::ExpandEnvironment;
using qpath::IsSeparator;

namespace {

bool Exists(const std::wstring& path)
{
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool HasFolderPart(const std::wstring& path) { return path.find_first_of(L"\\/:") != std::wstring::npos; }

std::wstring JoinFolder(const wchar_t* folder, const std::wstring& name)
{
    std::wstring path = folder;
    if (!path.empty() && !IsSeparator(path.back())) path += L'\\';
    return path + name;
}

// Full path of a bare file name found in the system folder, the Windows folder or along the PATH; "" when none.
std::wstring FindInSystem(const std::wstring& name)
{
    wchar_t folder[MAX_PATH];
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH && Exists(JoinFolder(folder, name))) return JoinFolder(folder, name);
    n = GetWindowsDirectoryW(folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH && Exists(JoinFolder(folder, name))) return JoinFolder(folder, name);
    DWORD needed = SearchPathW(nullptr, name.c_str(), nullptr, 0, nullptr, nullptr);
    if (needed == 0) return std::wstring();
    std::wstring found(needed, L'\0');
    DWORD got = SearchPathW(nullptr, name.c_str(), nullptr, needed, &found[0], nullptr);
    if (got == 0 || got >= needed) return std::wstring();
    found.resize(got);
    return found;
}

// A file (not a folder) at this path, or by this bare name in the system folders.
bool IsExistingFile(const std::wstring& path)
{
    if (path.empty()) return false;
    std::wstring full = HasFolderPart(path) ? path : FindInSystem(path);
    if (full.empty()) return false;
    DWORD attributes = GetFileAttributesW(full.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

void TrimBlanks(std::wstring& text)
{
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    size_t last = text.size();
    while (last > first && IsBlank(text[last - 1])) --last;
    text = text.substr(first, last - first);
}

// End of the first "name.ext" where ext is a program or library extension followed by a blank, comma, quote or
// the end of the text; npos when there is none.
size_t EndOfProgramExtension(const std::wstring& text)
{
    static const wchar_t* const extensions[] = {L"exe", L"com", L"bat", L"cmd", L"dll", L"scr",
                                                L"cpl", L"pif", L"msc", L"vbs", L"js"};
    for (size_t dot = text.find(L'.'); dot != std::wstring::npos; dot = text.find(L'.', dot + 1)) {
        for (const wchar_t* ext : extensions) {
            size_t length = wcslen(ext);
            if (text.size() - dot - 1 < length || _wcsnicmp(text.c_str() + dot + 1, ext, length) != 0) continue;
            size_t end = dot + 1 + length;
            if (end == text.size() || IsBlank(text[end]) || text[end] == L',' || text[end] == L'"') return end;
        }
    }
    return std::wstring::npos;
}

std::wstring ProgramOfCommand(const wchar_t* command)
{
    if (!command) return std::wstring();
    std::wstring text = command;
    TrimBlanks(text);
    text = ExpandEnvironment(text);
    if (text.empty()) return std::wstring();
    if (text[0] == L'"') {
        size_t close = text.find(L'"', 1);
        std::wstring path = text.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
        TrimBlanks(path);
        return path;
    }
    // Unquoted: like the system's own start-up, the shortest prefix ending at a blank that is an existing file.
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsBlank(text[i]) || (i > 0 && IsBlank(text[i - 1]))) continue;
        std::wstring prefix = text.substr(0, i);
        if (IsExistingFile(prefix)) return prefix;
    }
    if (IsExistingFile(text)) return text;
    size_t end = EndOfProgramExtension(text);
    if (end != std::wstring::npos) return text.substr(0, end);
    size_t blank = text.find_first_of(L" \t");
    return text.substr(0, blank);
}

}  // namespace

bool SBIsFileExistW(const wchar_t* path) { return path && Exists(path); }

bool SBIsFileExistInSystemW(const wchar_t* path)
{
    if (!path) return false;
    std::wstring text = path;
    TrimBlanks(text);
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
    text = ExpandEnvironment(text);
    if (text.empty()) return false;
    if (HasFolderPart(text)) return Exists(text);
    return !FindInSystem(text).empty();
}

long long SBGetFileSizeW(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !*path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::wstring SBGetFileExtW(const wchar_t* path)
{
    if (!path) return std::wstring();
    std::wstring text = path;
    size_t nameStart = text.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    size_t dot = text.rfind(L'.');
    if (dot == std::wstring::npos || dot < nameStart) return std::wstring();
    return text.substr(dot);
}

int SBGetFileNameFromCommandW(const wchar_t* command, wchar_t* buffer, int capacity)
{
    std::wstring path = ProgramOfCommand(command);
    if (common_detail::CopyToBuffer(path, buffer, capacity) == 0) return 0;
    return 1;
}

bool SBGetFileNameFromCommandW(const wchar_t* command, std::wstring& path)
{
    path = ProgramOfCommand(command);
    return !path.empty();
}

wchar_t* SBNormalizePathW(wchar_t* path)
{
    if (!path) return path;
    for (wchar_t* p = path; *p; ++p)
        if (*p == L'/') *p = L'\\';
    size_t read = 0, write = 0;
    // Keep "\\?\" and "\\.\" device prefixes and the "\\" of a network path as they are.
    if (path[0] == L'\\' && path[1] == L'\\') {
        if ((path[2] == L'?' || path[2] == L'.') && path[3] == L'\\')
            read = write = 4;
        else
            read = write = 2;
    }
    while (path[read]) {
        wchar_t c = path[read];
        bool afterSlash = write > 0 && path[write - 1] == L'\\';
        if (c == L'\\' && afterSlash) {  // folded repeat
            ++read;
            continue;
        }
        if (c == L'.' && afterSlash && (path[read + 1] == L'\\' || path[read + 1] == L'\0')) {  // "\.\" segment
            read += path[read + 1] ? 2 : 1;
            continue;
        }
        path[write++] = path[read++];
    }
    path[write] = L'\0';
    return path;
}

std::wstring SBNormalizePathW(const std::wstring& path)
{
    std::wstring copy = path;
    copy.push_back(L'\0');
    SBNormalizePathW(&copy[0]);
    return std::wstring(copy.c_str());
}
