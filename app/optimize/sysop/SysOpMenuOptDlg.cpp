#include "SysOpMenuOptDlg.h"

#include <Tessik/RegMenuMan.h>

#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_OPTIMIZE_MENU, CSysOpMenuOptDlg);

namespace {

const SysOpCheckRow kRows[] = {
    {22002, L"IDS_SYS_OP_MENU_OPT_DISABLE_RECENT_FILE", L"IDS_SYS_OP_MENU_OPT_DISABLE_RECENT_FILE_DESCRIPTION"},
    {22003, L"IDS_SYS_OP_MENU_OPT_CLEAR_RECENT_FILE_ON_EXIT",
     L"IDS_SYS_OP_MENU_OPT_CLEAR_RECENT_FILE_ON_EXIT_DESCRIPTION"},
    {22004, L"IDS_SYS_OP_MENU_OPT_DISABLE_RECENT_TRACK", L"IDS_SYS_OP_MENU_OPT_DISABLE_RECENT_TRACK_DESCRIPTION"},
    {22005, L"IDS_SYS_OP_MENU_OPT_OPTIMIZE_STARTUP_SPEED", L"IDS_SYS_OP_MENU_OPT_OPTIMIZE_STARTUP_SPEED_DESCRIPTION"},
    {22006, L"IDS_SYS_OP_MENU_OPT_MULTI_PAGE", L"IDS_SYS_OP_MENU_OPT_MULTI_PAGE_DESCRIPTION"},
    {22007, L"IDS_SYS_OP_MENU_OPT_SHOW_RUN", L"IDS_SYS_OP_MENU_OPT_SHOW_RUN_DESCRIPTION"},
};

const SysOpCheckPageSpec kSpec = {
    CSysOpMenuOptDlg::IDC_APPLY,
    L"IDS_SYS_OP_MENU_OPT_BTN_APPLY",
    CSysOpMenuOptDlg::IDC_RESET,
    L"IDS_SYS_OP_MENU_OPT_BTN_RESET",
    kRows,
    6,
    74,
    L"IDS_SYS_OP_START_MENU_MSG_SET_COMPLETE",
    L"IDS_SYS_OP_START_MENU_MSG_SET_FAILED",
};

struct Shown {
    bool hideRecent, clearOnExit, noTracking, fast, multiPage, run;
    explicit Shown(const CRegMenuMan& m)
        : hideRecent(!m.IsShowRecentDoc()),
          clearOnExit(m.IsClearRecentDocsOnExit()),
          noTracking(m.IsDisableRecentTrack()),
          fast(m.IsStartMenuSpeedOptimized()),
          multiPage(m.IsMultiPageDisplay()),
          run(m.IsShowRun())
    {
    }
    bool Of(int id) const
    {
        switch (id) {
        case 22002: return hideRecent;
        case 22003: return clearOnExit;
        case 22004: return noTracking;
        case 22005: return fast;
        case 22006: return multiPage;
        default: return run;
        }
    }
};

}  // namespace

CSysOpMenuOptDlg::CSysOpMenuOptDlg() : CSysOpCheckPage(kSpec) {}

void CSysOpMenuOptDlg::OnShowPage()
{
    // This page has no sub-page step.
    ShowWindow(SW_SHOW);
    Load();
}

void CSysOpMenuOptDlg::Load()
{
    const Shown shown{CRegMenuMan()};
    for (const SysOpCheckRow& row : kRows) SetChecked(row.id, shown.Of(row.id));
}

std::vector<int> CSysOpMenuOptDlg::Apply()
{
    {
        CRegMenuMan man;
        man.EnableRecentDocShow(!IsChecked(22002));
        man.EnableClearDocsOnExit(IsChecked(22003));
        man.EnableRecentTrack(!IsChecked(22004));
        man.OptimizeStartMenuSpeed(IsChecked(22005));
        man.EnableMultiPageDisplay(IsChecked(22006));
        man.ShowRunOnStartMenu(IsChecked(22007));
    }
    const Shown now{CRegMenuMan()};
    return RowsThatDiffer([&](int id) { return now.Of(id); });
}
