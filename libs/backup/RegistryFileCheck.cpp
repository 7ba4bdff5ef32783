#include "RegistryFileCheck.h"

#include <QGuards.h>

#include <windows.h>

namespace Coldrith {
namespace {
const size_t kPiece = 4096;

// Text of the bytes as single-byte characters, or as UTF-16LE code units when wide.
std::wstring Decode(const std::string& bytes, bool wide)
{
    std::wstring text;
    if (wide)
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
    else
        for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return text;
}
}  // namespace

bool IsWholeRegistryText(const std::string& head, const std::string& tail, unsigned long long size)
{
    bool wide =
        head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF && static_cast<unsigned char>(head[1]) == 0xFE;
    if (wide && size % 2 != 0) return false;
    std::wstring first = Decode(head, wide);
    if (wide)
        first.erase(0, 1);
    else if (first.compare(0, 3, L"\xEF\xBB\xBF") == 0)
        first.erase(0, 3);
    size_t end = first.find_first_of(L"\r\n");
    if (end == std::wstring::npos) return false;
    first.resize(end);
    while (!first.empty() && (first.back() == L' ' || first.back() == L'\t')) first.pop_back();
    if (first != L"Windows Registry Editor Version 5.00" && first != L"REGEDIT4") return false;

    // The tail read in a UTF-16 file starts on a character when the file's size and the tail's are even.
    std::wstring last = Decode(tail, wide);
    if (last.empty() || last.back() != L'\n') return false;
    size_t text = last.find_last_not_of(L"\r\n");
    return text == std::wstring::npos || last[text] != L'\\';
}

bool IsWholeRegistryFile(const std::wstring& path)
{
    qcore::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size)) return false;
    auto read = [&](long long at, size_t count) {
        std::string bytes(count, '\0');
        LARGE_INTEGER to;
        to.QuadPart = at;
        DWORD got = 0;
        if (!SetFilePointerEx(file.Get(), to, nullptr, FILE_BEGIN) ||
            !ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(count), &got, nullptr))
            got = 0;
        bytes.resize(got);
        return bytes;
    };
    unsigned long long total = static_cast<unsigned long long>(size.QuadPart);
    size_t headSize = total < kPiece ? static_cast<size_t>(total) : kPiece;
    std::string head = read(0, headSize);
    std::string tail = read(static_cast<long long>(total - headSize), headSize);
    return head.size() == headSize && tail.size() == headSize && IsWholeRegistryText(head, tail, total);
}
}  // namespace Coldrith
