// The system's own folders, as the repairs name them.
#pragma once

#include <string>

namespace Moravin {

// The system folder and the Windows folder without a trailing backslash; empty when they cannot be read whole.
std::wstring SystemFolder();
std::wstring WindowsFolder();

}  // namespace Moravin
