// Messages the folder backup and restore workers send (SendMessageW). The DONE messages carry the run's
// outcome in lParam: 0 when every entry succeeded, otherwise the number of entries that failed or were skipped.
#pragma once

#include <windows.h>

#define WM_FILERESTORE_PROGRESS (WM_USER + 4000)  // wParam: progress 0..10000
#define WM_FILERESTORE_DONE (WM_USER + 4001)      // lParam: outcome
#define WM_FILEBACKUP_PROGRESS (WM_USER + 4002)   // wParam: progress 0..10000
#define WM_FILEBACKUP_DONE (WM_USER + 4003)       // lParam: outcome
// Sent when the registry editor has finished: wParam the path text of the request (valid during the call),
// lParam 1 after an export and 2 after an import that succeeded, 0 when the run failed (the editor could not
// be started, the export file is missing or empty, the file to import is missing).
#define WM_REGBACKUP_DONE (WM_USER + 4004)
