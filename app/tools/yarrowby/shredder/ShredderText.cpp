#include "ShredderText.h"

#include <Yarrowby/FileShredder.h>

#include <cerrno>
#include <cwchar>

CString ShredSizeText(long long bytes)
{
    CString text;
    if (bytes <= 1024)
        text.Format(L"%d", static_cast<int>(bytes));
    else if (bytes <= 1048576)
        text.Format(L"%dKB", static_cast<int>(bytes / 1024));
    else if (bytes <= 1073741824)
        text.Format(L"%5.1fMB", bytes / 1048576.0);
    else if (bytes <= (1ll << 40))
        text.Format(L"%5.1fGB", bytes / 1073741824.0);
    else
        text.Format(L"%5.1fTB", bytes / double(1ll << 40));
    return text;
}

CString ShredTimeText(const SYSTEMTIME& local)
{
    CString text;
    text.Format(L"%d.%d %d, %d:%d", local.wDay, local.wMonth, local.wYear, local.wHour, local.wMinute);
    return text;
}

namespace {
int Digits(const CString& text, int from)
{
    int n = 0;
    while (from + n < text.GetLength() && text[from + n] >= L'0' && text[from + n] <= L'9') ++n;
    return n;
}
}  // namespace

bool IsPassCountText(const CString& raw)
{
    CString text = raw;
    text.Trim();
    const int whole = Digits(text, 0);
    if (whole == 0) return false;
    if (whole == text.GetLength()) return true;
    if (text[whole] != L'.') return false;
    const int fraction = Digits(text, whole + 1);
    return fraction > 0 && whole + 1 + fraction == text.GetLength();
}

int PassCountOf(const CString& raw)
{
    CString text = raw;
    text.Trim();
    const wchar_t* start = text;
    wchar_t* end = nullptr;
    errno = 0;
    const long long value = std::wcstoll(start, &end, 10);
    if (end == start || *end != L'\0') return CFileShredder::kMinPasses;
    // A number too large to read counts as the most passes.
    if (errno == ERANGE || value > CFileShredder::kMaxPasses) return value < 0 ? 1 : CFileShredder::kMaxPasses;
    return value < CFileShredder::kMinPasses ? CFileShredder::kMinPasses : static_cast<int>(value);
}

int ShredBarPosition(int messages, int passes)
{
    if (passes < 1) passes = 1;
    const int position = messages / passes;
    return position < 0 ? 0 : (position > 100 ? 100 : position);
}
