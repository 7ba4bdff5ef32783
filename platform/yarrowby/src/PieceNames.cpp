#include "PieceNames.h"

#include <algorithm>

#include "QPathText.h"
#include "Yarrowby/YarrowbyMessages.h"

using qpath::EqualsNoCase;
using qpath::FileNameOf;

namespace {

const wchar_t kPieceExtension[] = L".splt";

}  // namespace

std::wstring JoinedNameOf(const std::wstring& piecePath)
{
    const std::wstring name = FileNameOf(piecePath);
    const size_t comma = name.rfind(L',');
    return comma == std::wstring::npos ? std::wstring() : name.substr(0, comma);
}

std::wstring PieceName(const std::wstring& sourcePath, unsigned long long number)
{
    return FileNameOf(sourcePath) + L"," + std::to_wstring(number) + kPieceExtension;
}

PieceLabel ReadPieceLabel(const std::wstring& piecePath)
{
    PieceLabel label;
    const std::wstring name = FileNameOf(piecePath);
    const std::wstring joinedName = JoinedNameOf(piecePath);
    if (joinedName.empty()) return label;
    const size_t comma = joinedName.size();
    size_t end = comma + 1;
    unsigned long long number = 0;
    while (end < name.size() && name[end] >= L'0' && name[end] <= L'9' && end - comma <= 18)
        number = number * 10 + unsigned(name[end++] - L'0');
    const std::wstring rest = name.substr(end);
    if (end == comma + 1 || !(rest.empty() || EqualsNoCase(rest, kPieceExtension))) return label;
    label.joinedName = joinedName;
    label.number = number;
    return label;
}

DWORD CheckPieceSequence(const std::vector<std::wstring>& pieces, const std::wstring& name)
{
    std::vector<unsigned long long> numbers;
    for (const std::wstring& piece : pieces) {
        const PieceLabel label = ReadPieceLabel(piece);
        if (label.number == 0 || !EqualsNoCase(label.joinedName, name)) return YARROWBY_ERROR_PIECE_NAME;
        numbers.push_back(label.number);
    }
    std::vector<unsigned long long> sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != i + 1) return YARROWBY_ERROR_PIECE_MISSING;
    return sorted == numbers ? 0 : YARROWBY_ERROR_PIECE_ORDER;
}

DWORD CheckPieceSizes(const std::vector<unsigned long long>& sizes)
{
    for (size_t i = 1; i < sizes.size(); ++i) {
        const bool last = i + 1 == sizes.size();
        if (last ? sizes[i] > sizes[0] : sizes[i] != sizes[0]) return YARROWBY_ERROR_PIECE_SIZE;
    }
    return 0;
}
