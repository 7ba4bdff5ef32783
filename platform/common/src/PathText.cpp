#include "PathText.h"

#include <windows.h>

#include <cwchar>

namespace common_detail {

std::wstring ExpandEnvironment(const std::wstring& text)
{
    if (text.find(L'%') == std::wstring::npos) return text;
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 4 && needed > 0; ++attempt) {
        std::wstring expanded(needed, L'\0');
        DWORD got = ExpandEnvironmentStringsW(text.c_str(), &expanded[0], needed);
        if (got == 0) break;
        if (got <= needed) {
            expanded.resize(got - 1);
            return expanded;
        }
        needed = got;
    }
    return text;
}

int CopyToBuffer(const std::wstring& text, wchar_t* buffer, int capacity)
{
    if (!buffer || capacity <= 0) return 0;
    size_t count = text.size() < static_cast<size_t>(capacity - 1) ? text.size() : static_cast<size_t>(capacity - 1);
    wmemcpy(buffer, text.data(), count);
    buffer[count] = L'\0';
    return static_cast<int>(count);
}

}  // namespace common_detail
