// Conversions and formatting for CStringT.
#include "ThreadState.h"

#include <cstdio>
#include <vector>

namespace qmfc {

std::wstring Widen(const char* s, int len)
{
    if (!s) return std::wstring();
    if (len < 0) len = (int)strlen(s);
    if (len == 0) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, s, len, NULL, 0);
    std::wstring out((size_t)n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, s, len, &out[0], n);
    return out;
}

std::string Narrow(const wchar_t* s, int len)
{
    if (!s) return std::string();
    if (len < 0) len = (int)wcslen(s);
    if (len == 0) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, s, len, NULL, 0, NULL, NULL);
    std::string out((size_t)n, '\0');
    WideCharToMultiByte(CP_ACP, 0, s, len, &out[0], n, NULL, NULL);
    return out;
}

// msvcrt's formatter (MSVC semantics: %s in a wide format is a wide string). It returns -1 or the full buffer
// when the text does not fit, so the buffer grows until it does.
void VFormat(std::wstring& out, const wchar_t* fmt, va_list args)
{
    if (!fmt) {
        out.clear();
        return;
    }
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int n = _vsnwprintf(buf.data(), buf.size(), fmt, copy);
        va_end(copy);
        if (n >= 0 && (size_t)n < buf.size()) {
            out.assign(buf.data(), (size_t)n);
            return;
        }
        if (buf.size() >= ((size_t)1 << 26)) {
            out.clear();
            return;
        }
        buf.resize(buf.size() * 4);
    }
}

void VFormat(std::string& out, const char* fmt, va_list args)
{
    if (!fmt) {
        out.clear();
        return;
    }
    std::vector<char> buf(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int n = _vsnprintf(buf.data(), buf.size(), fmt, copy);
        va_end(copy);
        if (n >= 0 && (size_t)n < buf.size()) {
            out.assign(buf.data(), (size_t)n);
            return;
        }
        if (buf.size() >= ((size_t)1 << 26)) {
            out.clear();
            return;
        }
        buf.resize(buf.size() * 4);
    }
}

bool LoadResString(std::wstring& out, UINT id)
{
    // String tables hold 16 strings per block; LoadStringW with a zero length returns a pointer to the text.
    LPCWSTR name = MAKEINTRESOURCEW((id >> 4) + 1);
    HINSTANCE inst = FindResourceModule(name, (LPCWSTR)RT_STRING);
    const wchar_t* p = NULL;
    int n = LoadStringW(inst, id, (LPWSTR)&p, 0);
    if (n <= 0 || !p) return false;
    out.assign(p, (size_t)n);
    return true;
}

int CompareNoCase(const wchar_t* a, const wchar_t* b)
{
    int r = _wcsicmp(a, b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CompareNoCase(const char* a, const char* b)
{
    int r = _stricmp(a, b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int Collate(const wchar_t* a, const wchar_t* b, bool noCase)
{
    int r = CompareStringW(LOCALE_USER_DEFAULT, noCase ? NORM_IGNORECASE : 0, a, -1, b, -1);
    return r == 0 ? 0 : r - 2;
}

int Collate(const char* a, const char* b, bool noCase)
{
    int r = CompareStringA(LOCALE_USER_DEFAULT, noCase ? NORM_IGNORECASE : 0, a, -1, b, -1);
    return r == 0 ? 0 : r - 2;
}

}  // namespace qmfc
