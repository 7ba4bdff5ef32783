#include "QPathText.h"

#include <windows.h>

namespace qpath {

bool IsAbsolutePath(const std::wstring& path)
{
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) return true;
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

std::wstring FoldCase(const std::wstring& text)
{
    std::wstring folded = text;
    if (!folded.empty()) FoldCaseInPlace(&folded[0], folded.size());
    return folded;
}

void FoldCaseInPlace(wchar_t* text, size_t length)
{
    if (length == 0) return;
    // Simple case mapping (no linguistic casing) maps one character to one, so the length stays; source and
    // destination may be the same buffer for this flag.
    ::LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, text, static_cast<int>(length), text, static_cast<int>(length));
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size()) return false;
    // Vista and later compare as the file system does; XP gets the same folding through LCMapStringW.
    typedef int(WINAPI * CompareOrdinalFn)(LPCWSTR, int, LPCWSTR, int, BOOL);
    static const CompareOrdinalFn compareOrdinal = reinterpret_cast<CompareOrdinalFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CompareStringOrdinal")));
    if (compareOrdinal) {
        const int r =
            compareOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE);
        if (r != 0) return r == CSTR_EQUAL;
    }
    return FoldCase(a) == FoldCase(b);
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& suffix)
{
    return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::wstring FileNameOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ParentFolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring WithoutTrailingSeparators(const std::wstring& path)
{
    size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1])) --end;
    return path.substr(0, end);
}

}  // namespace qpath
