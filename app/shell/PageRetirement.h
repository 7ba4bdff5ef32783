// Ending pages whose workers may still run. A worker holds a pointer to its page (and to the library objects
// inside it); deleting the page before the worker has ended would let the worker write into freed memory.
#pragma once

#include <windows.h>

#include <vector>

class CFunctionDlg;

namespace Shell {

// Asks the workers of every page to stop, then waits up to timeoutMs for them, serving the messages other
// threads send to this one (a worker may be blocked sending to its page); nothing posted is dispatched. Each
// page whose workers have all ended is destroyed and deleted at once. A page with a worker still running is
// hidden and taken out of its parent window (so destroying the parent leaves it alone); it is destroyed and
// deleted on this thread once its last worker has ended, when this thread next handles its messages.
// Returns the number of pages kept for later.
size_t RetirePages(const std::vector<CFunctionDlg*>& pages, DWORD timeoutMs);

// Pages retired but not yet deleted.
size_t PagesAwaitingWorkers();

}  // namespace Shell
