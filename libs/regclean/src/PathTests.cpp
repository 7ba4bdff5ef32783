#include "PathTests.h"

#include <shellapi.h>
#include <wctype.h>

#include "PathRules.h"
#include "RegNames.h"

namespace bexlar {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Expands %VARIABLES%; false when the result needs more than capacity characters.
bool Expand(const std::wstring& text, size_t capacity, std::wstring* out)
{
    if (text.find(L'%') == std::wstring::npos) {
        *out = text;
        return text.size() < capacity;
    }
    std::wstring buf(capacity, L'\0');
    DWORD n = ExpandEnvironmentStringsW(text.c_str(), &buf[0], static_cast<DWORD>(capacity));
    if (n == 0 || n > capacity) return false;
    buf.resize(n - 1);
    *out = buf;
    return true;
}

bool IsAsciiPunctuation(wchar_t c) { return c < 0x80 && !iswalnum(c); }

// kPathExists for an existing file, kPathMissing when nothing is there, E_FAIL otherwise (an existing folder
// included: a command may well name one, so it proves nothing missing).
long FileState(const std::wstring& path, PathProbe& probe)
{
    DWORD error = 0;
    DWORD attrs = probe.Attributes(path, &error);
    if (attrs != INVALID_FILE_ATTRIBUTES) return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? E_FAIL : HRESULT(kPathExists);
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? HRESULT(kPathMissing) : E_FAIL;
}

// A character of a name in a drive path: anything but \\ / : * ? " < > |
bool IsNameChar(wchar_t c)
{
    switch (c) {
    case L'\\':
    case L'/':
    case L':':
    case L'*':
    case L'?':
    case L'"':
    case L'<':
    case L'>':
    case L'|': return false;
    default: return true;
    }
}

}  // namespace

bool FindDrivePath(const std::wstring& text, size_t* pos, size_t* length)
{
    const size_t n = text.size();
    for (size_t i = 0; i + 3 < n; ++i) {
        if (!qpath::IsDriveLetter(text[i]) || text[i + 1] != L':' || text[i + 2] != L'\\' || !IsNameChar(text[i + 3]))
            continue;
        // As many backslash-and-name groups as follow, each name as long as it goes.
        size_t end = i + 2;
        while (end + 1 < n && text[end] == L'\\' && IsNameChar(text[end + 1])) {
            ++end;
            while (end < n && IsNameChar(text[end])) ++end;
        }
        *pos = i;
        *length = end - i;
        return true;
    }
    return false;
}

std::wstring TrimBlanks(const std::wstring& text)
{
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

bool NormalizePath(std::wstring& text, PathProbe& probe)
{
    std::wstring unquoted;
    unquoted.reserve(text.size());
    for (wchar_t c : text)
        if (c != L'"') unquoted += c;
    text = TrimBlanks(unquoted);
    if (text.empty()) return true;
    std::wstring expanded;
    if (!Expand(text, kPathCapacity, &expanded)) return false;
    text = expanded;
    // "\\?\X:\..." starts with two backslashes too.
    if (qpath::IsAbsolutePath(text) || text.compare(0, 2, L"\\\\") == 0 || text.find(L"://") != std::wstring::npos)
        return true;
    for (const std::wstring* folder : {&probe.SystemDir(), &probe.WindowsDir()}) {
        if (folder->empty()) continue;
        std::wstring candidate = *folder + L"\\" + text;
        DWORD error;
        if (probe.Attributes(candidate, &error) != INVALID_FILE_ATTRIBUTES) {
            text = candidate;
            break;
        }
    }
    return true;
}

long TestAbsolutePath(const std::wstring& path, int kind, PathProbe& probe)
{
    if (!probe.OnFixedDrive(path)) return E_FAIL;
    std::wstring p = path;
    size_t root = p.compare(0, 4, L"\\\\?\\") == 0 ? 7 : 3;
    if (p.size() > root && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
    DWORD error = 0;
    DWORD attrs = probe.Attributes(p, &error);
    if (attrs != INVALID_FILE_ATTRIBUTES) {
        bool folder = (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool accepted = folder ? kind != kFileOnly : kind != kFolderOnly;
        return accepted ? kPathExists : kPathMissing;
    }
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? HRESULT(kPathMissing) : E_FAIL;
}

long TestPath(const std::wstring& text, int kind, PathProbe& probe, std::wstring* tested)
{
    std::wstring s = text;
    if (tested) *tested = s;
    if (s.empty()) return E_FAIL;
    if (qpath::StartsWithNoCase(s, L"file:///")) s.erase(0, 8);
    if (s.find(L"://") != std::wstring::npos) return E_FAIL;
    if (!NormalizePath(s, probe)) return E_FAIL;
    s = TrimBlanks(s);
    if (tested) *tested = s;
    // Empty, or a placeholder such as %1 that only the caller of the command fills in.
    if (s.empty() || s.find(L'%') != std::wstring::npos) return E_FAIL;
    return TestAbsolutePath(s, kind, probe);
}

SearchResult DrivePathSearch(const std::wstring& text, size_t capacity, PathProbe& probe, std::wstring* found)
{
    std::wstring expanded;
    if (!Expand(text, capacity + 128, &expanded)) return kSearchUnknown;
    size_t pos = 0, length = 0;
    if (!FindDrivePath(expanded, &pos, &length)) return kSearchUnknown;
    std::wstring candidate = expanded.substr(pos, length);
    if (pos >= 4 && expanded.compare(pos - 4, 4, L"\\\\?\\") == 0) candidate.insert(0, L"\\\\?\\");
    if (candidate.size() > capacity - 5) return kSearchUnknown;

    bool definite = probe.OnFixedDrive(candidate);
    const size_t lastSlash = candidate.rfind(L'\\');
    for (;;) {
        std::wstring trimmed = candidate;
        while (!trimmed.empty() && trimmed.back() == L' ') trimmed.pop_back();
        for (const wchar_t* ext : {L"", L".exe", L".bat", L".com"}) {
            std::wstring c = trimmed + ext;
            long state = FileState(c, probe);
            if (state == kPathExists) {
                if (found) *found = c;
                return kSearchFound;
            }
            if (state != kPathMissing) definite = false;
        }
        size_t cut = candidate.size();
        while (cut > lastSlash + 1 && !IsAsciiPunctuation(candidate[cut - 1])) --cut;
        if (cut <= lastSlash + 1) break;
        candidate.resize(cut - 1);
        if (candidate.size() <= lastSlash + 1) break;
    }
    return definite ? kSearchMissing : kSearchUnknown;
}

namespace {

// The command's arguments: the text after its program token (quoted, or up to the first blank).
std::wstring ArgumentText(const std::wstring& command)
{
    size_t end;
    if (command[0] == L'"') {
        end = command.find(L'"', 1);
        end = end == std::wstring::npos ? command.size() : end + 1;
    } else {
        end = 0;
        while (end < command.size() && !IsBlank(command[end])) ++end;
    }
    return TrimBlanks(command.substr(end));
}

bool IsRundllProgram(const std::wstring& program)
{
    std::wstring name = qpath::FoldCase(qpath::FileNameOf(program));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, L".exe") == 0) name.resize(name.size() - 4);
    return name == L"rundll32" || name == L"rundll";
}

// The text up to the first comma, without quotes around it.
std::wstring UpToComma(const std::wstring& text) { return TrimBlanks(text.substr(0, text.find(L','))); }

// A rundll command loads the module before the first comma of its arguments; shell32's Control_RunDLL in turn
// loads the control-panel item named by its own first argument. Only a module or item that is definitely absent
// makes the command missing; anything undecidable (relative names, placeholders, folders) does not.
long TestRundllArguments(const std::wstring& arguments, PathProbe& probe)
{
    const size_t comma = arguments.find(L',');
    long module = TestPath(UpToComma(arguments), kFileOrFolder, probe, nullptr);
    if (module != kPathExists) return module;

    std::wstring rest = arguments.substr(comma + 1);
    size_t entryEnd = 0;
    while (entryEnd < rest.size() && !IsBlank(rest[entryEnd])) ++entryEnd;
    const std::wstring entry = qpath::FoldCase(rest.substr(0, entryEnd));
    const std::wstring item = UpToComma(TrimBlanks(rest.substr(entryEnd)));
    if (entry.compare(0, 14, L"control_rundll") != 0 || item.empty()) return kPathExists;
    long state = TestPath(item, kFileOrFolder, probe, nullptr);
    return state == kPathMissing ? kPathMissing : kPathExists;
}

}  // namespace

long TestCommandLine(const std::wstring& command, PathProbe& probe)
{
    std::wstring text = TrimBlanks(command);
    if (text.empty()) return E_FAIL;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(text.c_str(), &argc);
    if (!argv) return E_FAIL;
    std::wstring program = argc > 0 ? argv[0] : L"";
    LocalFree(argv);

    if (IsRundllProgram(program)) {
        const std::wstring arguments = ArgumentText(text);
        if (arguments.find(L',') != std::wstring::npos) return TestRundllArguments(arguments, probe);
    }
    if (DrivePathSearch(text, kCommandCapacity, probe, nullptr) == kSearchFound) return kPathExists;
    return TestPath(program, kFileOnly, probe, nullptr);
}

}  // namespace bexlar
