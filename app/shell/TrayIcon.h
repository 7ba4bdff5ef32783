// The main window's icon in the notification area.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace Shell {

constexpr UINT kTrayIconId = 1000;

// The record of the icon: this build's record size, id 1000, message, icon and tip "Quorvel".
NOTIFYICONDATAW MakeTrayRecord(HWND owner, UINT callbackMessage, HICON icon);
bool AddTrayIcon(const NOTIFYICONDATAW& record);
bool RemoveTrayIcon(const NOTIFYICONDATAW& record);

}  // namespace Shell
