// The deletions of "repair all", each answering whether the item is really gone afterwards, so that what the
// page stores after a repair is what is still there.
#pragma once

#include <string>

#include "SysEvidence.h"

namespace OneClick {

// Deletes a file; true when it does not exist afterwards. A path that is not absolute (a drive or UNC path) is
// left alone (false).
bool RemoveFile(const std::wstring& path);

// Deletes a privacy trace: its file, or its value below HKEY_CURRENT_USER. True when it is gone afterwards.
// Recycle-bin entries are never deleted one by one here (they name no file to delete): they stay.
bool RemoveTrace(const Lumbrey::CSysEvidence::ScanResultItem& item);

// The text a trace shows in the list and the result dialog: its file path, or its key path for a value.
std::wstring TraceText(const Lumbrey::CSysEvidence::ScanResultItem& item);

}  // namespace OneClick
