#include "SplitJoinRules.h"

#include <cwchar>

unsigned long long SplitPieceSize(int choice, float customMegabytes)
{
    const double mib = 1048576.0;
    switch (choice) {
    case kSplitFloppy: return static_cast<unsigned long long>(1.44 * mib);
    case kSplit100MB: return 100ull << 20;
    case kSplit1GB: return 1ull << 30;
    case kSplitDvd: return static_cast<unsigned long long>(4.7 * 1073741824.0);
    case kSplitCustom: {
        // A typed size past what a file can hold is one piece of the largest size.
        const float bytes = customMegabytes * 1048576.0f;
        return bytes < 9.0e18f ? static_cast<unsigned long long>(bytes) : 9000000000000000000ull;
    }
    }
    return 0;
}

float CustomMegabytes(const CString& raw, bool& reset)
{
    CString text = raw;
    text.Trim();
    const wchar_t* start = text;
    wchar_t* end = nullptr;
    const float value = std::wcstof(start, &end);
    reset = false;
    if (end == start) return 1.0f;
    if (!(value >= 1.0f)) {
        reset = true;
        return 1.0f;
    }
    return value;
}

int JoinInsertIndex(const std::vector<CString>& rows, const CString& path)
{
    for (int row = static_cast<int>(rows.size()) - 1; row >= 0; --row) {
        const CString& text = rows[static_cast<size_t>(row)];
        if (text.GetLength() < path.GetLength() ||
            (text.GetLength() == path.GetLength() && text.CompareNoCase(path) <= 0))
            return row + 1;
    }
    return 0;
}

CString JoinOutputPath(const CString& folder, const CString& name)
{
    CString path = folder;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\' && path[path.GetLength() - 1] != L'/') path += L"\\";
    return path + name;
}

int ToolBarPosition(WPARAM done, LPARAM total)
{
    if (total <= 0) return 0;
    const unsigned long long position =
        static_cast<unsigned long long>(done) * 100ull / static_cast<unsigned long long>(total);
    return position > 100 ? 100 : static_cast<int>(position);
}
