#include "BackupText.h"

#include <windows.h>

namespace Coldrith
{
std::wstring FoldCase(const std::wstring& text)
{
    std::wstring folded = text;
    if (!folded.empty())
        CharUpperBuffW(&folded[0], static_cast<DWORD>(folded.size()));
    return folded;
}

std::wstring WidenAscii(const char* text)
{
    std::wstring out;
    for (; text && *text; ++text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}
}
