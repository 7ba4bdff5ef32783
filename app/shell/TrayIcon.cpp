#include "TrayIcon.h"

#include <wchar.h>

namespace Shell {

NOTIFYICONDATAW MakeTrayRecord(HWND owner, UINT callbackMessage, HICON icon)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = sizeof(record);
    record.hWnd = owner;
    record.uID = kTrayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = callbackMessage;
    record.hIcon = icon;
    wcsncpy(record.szTip, L"Quorvel", 18);
    return record;
}

bool AddTrayIcon(const NOTIFYICONDATAW& record)
{
    NOTIFYICONDATAW copy = record;
    return ::Shell_NotifyIconW(NIM_ADD, &copy) != FALSE;
}

bool RemoveTrayIcon(const NOTIFYICONDATAW& record)
{
    NOTIFYICONDATAW copy = record;
    return ::Shell_NotifyIconW(NIM_DELETE, &copy) != FALSE;
}

}  // namespace Shell
