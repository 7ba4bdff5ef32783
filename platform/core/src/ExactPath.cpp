#include "QExactPath.h"

#include <windows.h>

#include "QPathText.h"

namespace qcore {

std::wstring ExactPath(const std::wstring& path)
{
    if (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0) return path;
    std::wstring p = path;
    for (wchar_t& c : p)
        if (c == L'/') c = L'\\';
    const bool drive = p.size() >= 3 && qpath::IsDriveLetter(p[0]) && p[1] == L':' && p[2] == L'\\';
    if (drive) return L"\\\\?\\" + p;
    if (p.size() > 2 && p[0] == L'\\' && p[1] == L'\\' && p[2] != L'\\') return L"\\\\?\\UNC\\" + p.substr(2);
    return path;
}

bool DeleteExactFile(const std::wstring& path) { return ::DeleteFileW(ExactPath(path).c_str()) != FALSE; }

}  // namespace qcore
