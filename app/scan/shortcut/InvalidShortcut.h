// One invalid shortcut the scan found.
#pragma once

#include <string>

struct InvalidShortcut {
    std::wstring link;    // full path of the ".lnk" file: the only thing ever deleted
    std::wstring target;  // the path the link names (possibly empty)
};
