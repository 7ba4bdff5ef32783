// Texts of a file's version resource.
#include "Common.h"
#include "PathText.h"

#include <cstdio>

namespace {

struct LangCodePage {
    WORD language;
    WORD codePage;
};

// Reads the whole version resource; empty when the file has none.
std::vector<BYTE> LoadVersionBlock(const wchar_t* path)
{
    std::vector<BYTE> block;
    if (!path || !*path) return block;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return block;
    block.resize(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data())) block.clear();
    return block;
}

std::wstring QueryString(std::vector<BYTE>& block, const wchar_t* name)
{
    std::vector<LangCodePage> tried;
    LangCodePage* listed = nullptr;
    UINT bytes = 0;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&listed), &bytes) &&
        listed && bytes >= sizeof(LangCodePage))
        tried.push_back(listed[0]);
    // US English in Unicode, Western and neutral code pages, for files that list no translation.
    tried.push_back({0x0409, 0x04B0});
    tried.push_back({0x0409, 0x04E4});
    tried.push_back({0x0409, 0x0000});
    for (const LangCodePage& lcp : tried) {
        wchar_t query[128];
        swprintf(query, sizeof(query) / sizeof(query[0]), L"\\StringFileInfo\\%04x%04x\\%ls", lcp.language,
                 lcp.codePage, name);
        wchar_t* text = nullptr;
        UINT length = 0;
        if (VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &length) && text && length > 0) {
            std::wstring value(text, length);
            value.resize(wcsnlen(value.c_str(), value.size()));
            if (!value.empty()) return value;
        }
    }
    return std::wstring();
}

std::wstring FixedVersion(std::vector<BYTE>& block)
{
    VS_FIXEDFILEINFO* info = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &bytes) || !info ||
        bytes < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD)
        return std::wstring();
    wchar_t text[64];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"%u.%u.%u.%u", HIWORD(info->dwFileVersionMS),
             LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    return text;
}

std::wstring VersionText(const wchar_t* path, const wchar_t* name)
{
    std::vector<BYTE> block = LoadVersionBlock(path);
    if (block.empty()) return std::wstring();
    std::wstring text = QueryString(block, name);
    if (text.empty() && wcscmp(name, L"FileVersion") == 0) text = FixedVersion(block);
    return text;
}

bool ToBuffer(const std::wstring& text, wchar_t* buffer, int capacity)
{
    common_detail::CopyToBuffer(text, buffer, capacity);
    return !text.empty() && buffer && capacity > 1;
}

}  // namespace

std::wstring SBGetFileCompanyW(const wchar_t* path) { return VersionText(path, L"CompanyName"); }
std::wstring SBGetFileDescriptionW(const wchar_t* path) { return VersionText(path, L"FileDescription"); }
std::wstring SBGetFileVersionW(const wchar_t* path) { return VersionText(path, L"FileVersion"); }

bool SBGetFileCompanyW(const wchar_t* path, wchar_t* buffer, int capacity)
{
    return ToBuffer(SBGetFileCompanyW(path), buffer, capacity);
}

bool SBGetFileDescriptionW(const wchar_t* path, wchar_t* buffer, int capacity)
{
    return ToBuffer(SBGetFileDescriptionW(path), buffer, capacity);
}

bool SBGetFileVersionW(const wchar_t* path, wchar_t* buffer, int capacity)
{
    return ToBuffer(SBGetFileVersionW(path), buffer, capacity);
}
