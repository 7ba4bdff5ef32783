// The shell's own window messages; see AppMessages.h for how the numbers are allocated.
#pragma once

#include "AppMessages.h"

enum ShellMessage : UINT {
    // Posted to the keeper of retired pages by a page's watcher: lParam the page, all of whose workers have ended.
    WM_PAGE_WORKERS_ENDED = AppMessages::kShellBase,

    kShellMessagesEnd
};
static_assert(kShellMessagesEnd <= AppMessages::kShellBase + AppMessages::kRangeSize, "shell messages out of range");
