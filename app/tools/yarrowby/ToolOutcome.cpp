#include "ToolOutcome.h"

#include <Yarrowby/YarrowbyMessages.h>

#include "Dictionary.h"

using nsVendrel::TranslateCode;

namespace {

CString Reason(DWORD error)
{
    switch (error) {
    case YARROWBY_ERROR_NOT_A_FILE: return TranslateCode(L"IDS_SYS_TOOLS_YARROWBY_NOT_A_FILE");
    case YARROWBY_ERROR_HARD_LINKS: return TranslateCode(L"IDS_SYS_TOOLS_YARROWBY_HARD_LINKS");
    case YARROWBY_ERROR_PIECE_NAME: return TranslateCode(L"IDS_SYS_TOOLS_YARROWBY_PIECE_NAME");
    case YARROWBY_ERROR_PIECE_MISSING: return TranslateCode(L"IDS_SYS_TOOLS_YARROWBY_PIECE_MISSING");
    case YARROWBY_ERROR_PIECE_ORDER: return TranslateCode(L"IDS_SYS_TOOLS_YARROWBY_PIECE_ORDER");
    case YARROWBY_ERROR_PIECE_SIZE: return TranslateCode(L"IDS_SYS_TOOLS_YARROWBY_PIECE_SIZE");
    }
    wchar_t* text = nullptr;
    CString reason;
    if (::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr) &&
        text) {
        reason = text;
        ::LocalFree(text);
        reason.TrimRight();
    }
    if (reason.IsEmpty()) reason.Format(L"%lu", static_cast<unsigned long>(error));
    return reason;
}

}  // namespace

CString ToolFailureText(const wchar_t* key, WPARAM failed, LPARAM firstError)
{
    CString text = TranslateCode(key);
    CString count;
    count.Format(L"%u", static_cast<unsigned>(failed));
    text.Replace(L"%d", count);
    return text + L"\n\n" + Reason(static_cast<DWORD>(firstError));
}
