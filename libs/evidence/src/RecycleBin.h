#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace Lumbrey {

// The recycle bin's shell folder ("::{CLSID}\"): entries without a file-system path are named below it.
extern const wchar_t kRecycleBinShellPrefix[];

struct RecycleBinEntry {
    std::wstring displayName;  // the name shown in the bin (usually the original file name)
    std::wstring parsingName;  // the shell's parsing name: the physical file where the shell gives one
    ULONGLONG size;            // from the shell's find data; 0 when it gives none
};

// Calls visit for each entry of the recycle bin of every drive until it returns false.
void ForEachRecycleBinEntry(const std::function<bool(const RecycleBinEntry&)>& visit);

// Empties the recycle bin of every drive without asking. True when the bin is empty afterwards.
bool EmptyAllRecycleBins();

}  // namespace Lumbrey
