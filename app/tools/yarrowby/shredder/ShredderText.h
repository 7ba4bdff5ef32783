// The shredder page's rules without windows: the list's size and time texts, the pass count, the bar.
#pragma once

#include <QMfc.h>

// A file size as the list shows it: bytes up to 1024 ("%d", no unit; also a negative size), then whole KB up to
// 1 MiB, then "%5.1f" MB, GB, TB.
CString ShredSizeText(long long bytes);
// A local time as "day.month year, hour:minute" without zero padding.
CString ShredTimeText(const SYSTEMTIME& local);
// The pass-count edit keeps a text (trimmed) of decimal digits, or digits, a point and digits; any other
// text is replaced by "1".
bool IsPassCountText(const CString& text);
// The passes a run makes: the text read as a whole number, clamped to 1-100; anything else makes one pass.
int PassCountOf(const CString& text);
// The bar's position after `messages` progress messages of a run of `passes` passes, within 0-100.
int ShredBarPosition(int messages, int passes);
