#include "ZipEntryName.h"

#include <cwctype>
#include <vector>

namespace {
bool IsSep(wchar_t c) { return c == L'\\' || c == L'/'; }

// The zip core also builds without Windows (the fuzzer), so not through the shared path rules; the device names
// are ASCII, so A-Z decides every comparison.
std::wstring Upper(std::wstring s)
{
    for (auto& c : s)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return s;
}

bool IsDigitOfDevice(wchar_t c)
{
    // Windows counts the superscript digits as well: COM followed by superscript one is the same device as COM1.
    return (c >= L'0' && c <= L'9') || c == L'\x00B9' || c == L'\x00B2' || c == L'\x00B3';
}
}  // namespace

namespace Zip {
bool IsDeviceName(const std::wstring& component)
{
    // The device part is what comes before the first dot, with trailing dots and spaces ignored.
    std::wstring base = component.substr(0, component.find(L'.'));
    while (!base.empty() && (base.back() == L' ' || base.back() == L'.')) base.pop_back();
    base = Upper(base);
    static const wchar_t* const fixed[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"};
    for (const wchar_t* name : fixed)
        if (base == name) return true;
    if (base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
        IsDigitOfDevice(base[3]))
        return true;
    return false;
}
}  // namespace Zip

namespace {

bool BadComponent(const std::wstring& c, std::wstring& reason)
{
    for (wchar_t ch : c) {
        if (ch < 32) {
            reason = L"control character in name";
            return true;
        }
        if (ch == L':' || ch == L'<' || ch == L'>' || ch == L'"' || ch == L'|' || ch == L'?' || ch == L'*') {
            reason = L"reserved character in name";
            return true;
        }
    }
    if (c.back() == L'.' || c.back() == L' ') {
        reason = L"name ends in a dot or a space";
        return true;
    }
    if (Zip::IsDeviceName(c)) {
        reason = L"device name";
        return true;
    }
    return false;
}
}  // namespace

namespace Zip {
bool SafeRelativePath(const std::wstring& stored, std::wstring& relative, std::wstring& reason)
{
    relative.clear();
    if (stored.find(L'\0') != std::wstring::npos) {
        reason = L"NUL character in name";
        return false;
    }
    if (!stored.empty() && IsSep(stored[0])) {
        reason = stored.size() > 1 && IsSep(stored[1]) ? L"UNC path" : L"absolute path";
        return false;
    }
    if (stored.size() >= 2 && stored[1] == L':') {
        reason = L"drive letter in path";
        return false;
    }
    std::vector<std::wstring> parts;
    std::wstring cur;
    for (size_t i = 0; i <= stored.size(); ++i) {
        if (i == stored.size() || IsSep(stored[i])) {
            if (cur == L"..") {
                reason = L"\"..\" in path";
                return false;
            }
            if (!cur.empty() && cur != L".") parts.push_back(cur);
            cur.clear();
        } else
            cur += stored[i];
    }
    if (parts.empty()) {
        reason = L"empty name";
        return false;
    }
    for (const auto& part : parts)
        if (BadComponent(part, reason)) return false;
    for (const auto& part : parts) relative += (relative.empty() ? L"" : L"\\") + part;
    return true;
}

bool SafeLeafName(const std::wstring& stored, std::wstring& leaf, std::wstring& reason)
{
    leaf.clear();
    std::wstring relative;
    if (!SafeRelativePath(stored, relative, reason)) return false;
    leaf = LastComponent(relative);
    return true;
}

std::wstring StoredPathFromFull(const std::wstring& fullPath)
{
    std::wstring p = fullPath;
    if (p.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        p = L"\\\\" + p.substr(8);
    else if (p.compare(0, 4, L"\\\\?\\") == 0)
        p = p.substr(4);
    if (p.size() >= 2 && p[1] == L':') p = p.substr(2);
    size_t start = 0;
    while (start < p.size() && IsSep(p[start])) ++start;
    return p.substr(start);
}

std::wstring LastComponent(const std::wstring& stored)
{
    size_t end = stored.size();
    while (end > 0 && IsSep(stored[end - 1])) --end;
    size_t start = end;
    while (start > 0 && !IsSep(stored[start - 1])) --start;
    return stored.substr(start, end - start);
}
}  // namespace Zip
