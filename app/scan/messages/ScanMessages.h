// The scan pages' own window messages and those of the one-click run; see shell/AppMessages.h for how the
// numbers are allocated.
#pragma once

#include "AppMessages.h"

enum ScanMessage : UINT {
    // Registry page (the engine's own messages, category done and finished, keep the engine's numbers).
    WM_REGPAGE_CATEGORY_STARTED = AppMessages::kScanBase,  // sent: wParam the REG_SCAN_TYPE the scan is entering
    WM_REGPAGE_SCAN_RESULT,                                // sent: lParam const SCAN_RESULT*

    // Junk file page.
    WM_JUNKPAGE_WALK_DONE,  // posted by the worker as its last act: wParam the run it belongs to

    // Shortcut page.
    WM_SHORTCUTPAGE_STOPPED,  // posted by the stop thread once the scan has ended

    // Privacy trace pages.
    WM_EVIDENCEPAGE_CATEGORY_SCANNED,  // sent by the worker after each category: wParam categories done, lParam run
    WM_EVIDENCEPAGE_SCAN_DONE,         // posted by the worker as its last act: wParam the run
    WM_EVIDENCEPAGE_TREE_CHECKED,      // posted after a click on a check box: wParam the item
    WM_EVIDENCEPAGE_CLEAN_DONE,        // posted by the clean worker as its last act: wParam the run
    WM_EVIDENCEPAGE_RESULT_CHECKED,    // posted after a click on a check box: wParam the item, lParam the generation

    // The one-click run's own workers, to the run's window.
    WM_QUICKSCAN_REG_RESULTS,   // sent: queued registry results are waiting
    WM_QUICKSCAN_PART_DONE,     // posted: wParam the OneClick::Part
    WM_QUICKSCAN_ASSOC_RESULT,  // sent: wParam const vector<FileAssocItem>*
    WM_QUICKSCAN_ABORT_DONE,    // posted
    WM_QUICKSCAN_REPAIR_ITEM,   // sent: wParam the OneClick::Part, lParam const RepairItem*
    WM_QUICKSCAN_REPAIR_STAGE,  // sent: wParam the OneClick::Part whose stage is over
    WM_QUICKSCAN_REPAIR_DONE,   // posted

    kScanMessagesEnd
};
static_assert(kScanMessagesEnd <= AppMessages::kScanBase + AppMessages::kRangeSize, "scan messages out of range");
