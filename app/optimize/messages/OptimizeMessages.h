// The optimize pages' own window messages; see shell/AppMessages.h for how the numbers are allocated.
#pragma once

#include "AppMessages.h"

enum OptimizeMessage : UINT {
    // Posted to the wizard's step page by a step's worker when its actions ended: wParam the run's token,
    // lParam 1 success.
    WM_WIZARD_STEP_DONE = AppMessages::kOptimizeBase,
    // Posted to the DLL page by its worker when the job ended (the job's results are then complete).
    WM_DLLPAGE_JOB_DONE,
    // Posted to a repair page by the job's worker when the job has ended: wParam its result.
    WM_REPAIR_JOB_DONE,

    kOptimizeMessagesEnd
};
static_assert(kOptimizeMessagesEnd <= AppMessages::kOptimizeBase + AppMessages::kRangeSize,
              "optimize messages out of range");
