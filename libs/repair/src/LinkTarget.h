// Reading the file-system target of a shell link (".lnk") file.
#pragma once

#include <windows.h>

namespace Moravin {

// Loads the link and copies its long, expanded target path into target (capacity in characters).
// Returns 1 only for a link that names a file-system path and whose path fitted whole; 0 (and an empty target)
// for a link that cannot be loaded, has no file-system target (shell objects such as My Computer, advertised
// installer shortcuts) or whose target may have been cut by the buffer.
int ReadLinkTarget(const wchar_t* link, wchar_t* target, int capacity);

}  // namespace Moravin
