// The page factory of the main window: every page identifier, the order and groups in which the pages are
// created, and the page class registered for each id. A page folder registers its class in one line, in any of
// its .cpp files:
//     QUORVEL_REGISTER_PAGE(PAGE_ID_SCAN_CLEAN_REGISTRY, CScanCleanRegCleanDlg);
// An id with no registered class gets a plain CFunctionDlg that shows a "not available yet" note. The
// registration carries the delay-loaded libraries of the page's folder (QUORVEL_MODULE_LIBRARIES, set by
// quorvel_app_module from its LIBS): when one of them is missing the page is not built, and a note naming it is
// shown in its place.
#pragma once

#include <functional>

#include "FunctionDlg.h"
#include "PageIds.h"

namespace Shell {

using PageCreator = std::function<CFunctionDlg*()>;

// Registers the class that the factory creates for a page id (the last registration wins), with the libraries
// it calls ("A.dll|B.dll", see PageLibraries.h).
bool RegisterPage(int pageId, PageCreator create, const wchar_t* libraries = L"");
// True when a class is registered for the id.
bool IsPageRegistered(int pageId);
// A new page object for the id: the registered class, or a CFunctionDlg marked as not built (no class, or a
// library of the class missing).
CFunctionDlg* CreatePageObject(int pageId);

// One group of pages created together, with the loading text the splash window shows before it.
struct PageGroup {
    const wchar_t* loadingText;
    const int* ids;
    int count;
};
// The groups in creation order.
const PageGroup* PageGroups(int* count);

// The options window (a CFunctionDlg shown by the OPTIONS button) is registered the same way under this id.
constexpr int kOptionsWindowId = 81001;
// The one-click scan step, sub-page 1 of the home page: the home page creates it through the factory, so the two
// page folders do not depend on each other.
constexpr int kOneClickScanStepId = 81002;

}  // namespace Shell

#ifndef QUORVEL_MODULE_LIBRARIES
#define QUORVEL_MODULE_LIBRARIES L""
#endif
#define QUORVEL_PAGE_CONCAT2(a, b) a##b
#define QUORVEL_PAGE_CONCAT(a, b) QUORVEL_PAGE_CONCAT2(a, b)
#define QUORVEL_REGISTER_PAGE(pageId, PageClass)                         \
    static const bool QUORVEL_PAGE_CONCAT(s_registeredPage_, __LINE__) = \
        ::Shell::RegisterPage((pageId), []() -> CFunctionDlg* { return new PageClass(); }, QUORVEL_MODULE_LIBRARIES)
