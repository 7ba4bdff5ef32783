// Messages the file tools of Yarrowby.dll send to their window from their worker thread (progress with
// SendNotifyMessageW, done with SendMessageW; the window handles them in the order sent), and the failure codes of
// their done messages.
//
// Progress: the shredder's parameters are 0 (the page counts messages: exactly 100 x passes per run, spread
// over the bytes written); the splitter's and joiner's wParam is the part done, 0 to 10000, and lParam 10000.
// Done: exactly once per call, also when the call is refused or the job is stopped. wParam is the number of items
// that failed (0: all went well), lParam the first failure's code: a Win32 error or one of YARROWBY_ERROR_*.
#pragma once

#include <windows.h>

#define WM_FILEJOIN_PROGRESS 0xBD0
#define WM_FILEJOIN_DONE 0xBD1
#define WM_SHRED_PROGRESS 0xBD2
#define WM_SHRED_DONE 0xBD3
#define WM_FILESPLIT_PROGRESS 0xBD4
#define WM_FILESPLIT_DONE 0xBD5

// The scale of the splitter's and joiner's progress (lParam of every progress message).
#define YARROWBY_PROGRESS_SCALE 10000

// Failure codes beyond the system's (the customer bit 29 keeps them apart from every Win32 error).
// A shredder entry that is a folder, a drive root or a link (reparse point), never overwritten.
#define YARROWBY_ERROR_NOT_A_FILE 0x20000001L
// A joiner piece not named "<name>,<number>.splt" after the file being joined.
#define YARROWBY_ERROR_PIECE_NAME 0x20000002L
// The joiner's pieces are not numbered 1 to N: one is missing or given twice.
#define YARROWBY_ERROR_PIECE_MISSING 0x20000003L
// The joiner's pieces are all there but not in the order of their numbers.
#define YARROWBY_ERROR_PIECE_ORDER 0x20000004L
// The joiner's pieces differ in size (only the last may be shorter): they come from different splits.
#define YARROWBY_ERROR_PIECE_SIZE 0x20000005L
// A shredder entry with more than one name (hard links): the other names would lose their data, so it is left.
#define YARROWBY_ERROR_HARD_LINKS 0x20000006L
