// The tool pages' own window messages; see shell/AppMessages.h for how the numbers are allocated.
#pragma once

#include "AppMessages.h"

enum ToolsMessage : UINT {
    // Windows update page.
    WM_UPDATE_SEARCH_DONE = AppMessages::kToolsBase,  // wParam: the search's status
    WM_UPDATE_ROW,                                    // wParam: row; lParam: state | percent << 8 | run << 16
    WM_UPDATE_RUN_ENDED,                              // wParam: run
    WM_UPDATE_STOP_DONE,

    // Disk manager page.
    WM_DISKMAN_PROGRESS,   // a new snapshot of the job is waiting
    WM_DISKMAN_JOB_ENDED,  // wParam: run; lParam: the library's result

    kToolsMessagesEnd
};
static_assert(kToolsMessagesEnd <= AppMessages::kToolsBase + AppMessages::kRangeSize, "tools messages out of range");
