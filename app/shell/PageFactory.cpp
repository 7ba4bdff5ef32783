#include "PageFactory.h"

#include <map>

#include "PageLibraries.h"

namespace Shell {

namespace {

struct Registration {
    PageCreator create;
    const wchar_t* libraries;
};

std::map<int, Registration>& Registry()
{
    static std::map<int, Registration> registry;
    return registry;
}

const int kHome[] = {PAGE_ID_START};
const int kScanClean[] = {PAGE_ID_SCAN_CLEAN_HOME, PAGE_ID_SCAN_CLEAN_REGISTRY, PAGE_ID_SCAN_CLEAN_JUNK,
                          PAGE_ID_SCAN_CLEAN_EVIDENCE, PAGE_ID_SCAN_CLEAN_SHORTCUT};
const int kOptimize[] = {PAGE_ID_OPTIMIZE_FAST,    PAGE_ID_OPTIMIZE_HOME,    PAGE_ID_OPTIMIZE_MENU,
                         PAGE_ID_OPTIMIZE_DESKTOP, PAGE_ID_OPTIMIZE_NETWORK, PAGE_ID_OPTIMIZE_SERVICE,
                         PAGE_ID_OPTIMIZE_STARTUP, PAGE_ID_OPTIMIZE_OTHER};
const int kRepair[] = {PAGE_ID_REPAIR_HOME,          PAGE_ID_REPAIR_WIZARD,      PAGE_ID_REPAIR_ACTIVEX,
                       PAGE_ID_REPAIR_ERROR_UTILITY, PAGE_ID_REPAIR_FILE_ASSOC,  PAGE_ID_REPAIR_WINSOCK,
                       PAGE_ID_REPAIR_PRINTER,       PAGE_ID_REPAIR_DLL_DOWNLOAD};
const int kBrowser[] = {PAGE_ID_TOOLS_BROWSER};
const int kTools[] = {PAGE_ID_TOOLS_HOME,           PAGE_ID_TOOLS_ACTIVEX_BLOCK, PAGE_ID_TOOLS_UNINSTALL,
                      PAGE_ID_TOOLS_FILE_SPLITTER,  PAGE_ID_TOOLS_FILE_SHREDDER, PAGE_ID_TOOLS_DISK_MANAGER,
                      PAGE_ID_TOOLS_WINDOWS_UPDATE, PAGE_ID_TOOLS_FILE_EXTENSION};
const int kBackup[] = {PAGE_ID_BACKUP_HOME, PAGE_ID_BACKUP_REGISTRY, PAGE_ID_BACKUP_RESTORE_POINT,
                       PAGE_ID_BACKUP_FAVORITES, PAGE_ID_BACKUP_FOLDER};

#define QUORVEL_GROUP(text, ids)                                  \
    {                                                             \
        text, ids, static_cast<int>(sizeof(ids) / sizeof(ids[0])) \
    }
const PageGroup kGroups[] = {
    QUORVEL_GROUP(L"Loading Home Module...", kHome),         QUORVEL_GROUP(L"Loading ScanClean Module...", kScanClean),
    QUORVEL_GROUP(L"Loading SysOp Module...", kOptimize),    QUORVEL_GROUP(L"Loading Moravin Module...", kRepair),
    QUORVEL_GROUP(L"Loading IE Manage Module...", kBrowser), QUORVEL_GROUP(L"Loading Yarrowby Module...", kTools),
    QUORVEL_GROUP(L"Loading Backup Module...", kBackup),
};
#undef QUORVEL_GROUP

}  // namespace

bool RegisterPage(int pageId, PageCreator create, const wchar_t* libraries)
{
    Registry()[pageId] = {std::move(create), libraries};
    return true;
}

bool IsPageRegistered(int pageId)
{
    auto it = Registry().find(pageId);
    return it != Registry().end() && it->second.create;
}

CFunctionDlg* CreatePageObject(int pageId)
{
    auto it = Registry().find(pageId);
    std::wstring missing;
    if (it != Registry().end() && it->second.create) {
        missing = FirstMissingLibrary(it->second.libraries);
        if (missing.empty()) return it->second.create();
    }
    auto* page = new CFunctionDlg(IDD_FUNCTION_PAGE, nullptr);
    page->MarkNotBuilt(missing.c_str());
    return page;
}

const PageGroup* PageGroups(int* count)
{
    *count = static_cast<int>(sizeof(kGroups) / sizeof(kGroups[0]));
    return kGroups;
}

}  // namespace Shell
