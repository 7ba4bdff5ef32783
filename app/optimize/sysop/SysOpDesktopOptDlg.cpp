#include "SysOpDesktopOptDlg.h"

#include <Tessik/RegDesktopMan.h>

#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_OPTIMIZE_DESKTOP, CSysOpDesktopOptDlg);

namespace {

// Row 23006 carries its description key on the box and the box's key below it.
const SysOpCheckRow kRows[] = {
    {23003, L"IDS_SYS_OP_DESKTOP_CHKBOX_REMOVE_SHORTCUT_ARROW",
     L"IDS_SYS_OP_DESKTOP_DESCIPTION_REMOVE_SHORT_CUT_ARROW"},
    {23004, L"IDS_SYS_OP_DESKTOP_CHKBOX_REMOVE_SHORTCUT_TEXT", L"IDS_SYS_OP_DESKTOP_DESCIPTION_REMOVE_SHORT_CUT_TEXT"},
    {23005, L"IDS_SYS_OP_DESKTOP_CHKBOX_ADD_NEWWINDOW", L"IDS_SYS_OP_DESKTOP_DESCRIPTION_ADD_NEWWINDOW"},
    {23006, L"IDS_SYS_OP_DESKTOP_DESCRIPTION_DISABLE_BALLON_TIPS", L"IDS_SYS_OP_DESKTOP_CHKBOX_DISABLE_BALLON_TIPS"},
    {23007, L"IDS_SYS_OP_DESKTOP_CHKBOX_DONT_CACHE_THUMBNAIL", L"IDS_SYS_OP_DESKTOP_DESCRIPTION_DONT_CACHE_THUMBNAIL"},
    {23008, L"IDS_SYS_OP_DESKTOP_CHKBOX_RESTART_EXPLORER_AFTER_CRASH",
     L"IDS_SYS_OP_DESKTOP_DESCRIPTION_RESTART_EXPLORER_AFTER_CRASH"},
};

const SysOpCheckPageSpec kSpec = {
    CSysOpDesktopOptDlg::IDC_APPLY,
    L"IDS_SYS_OP_DESKTOP_OPT_BTN_APPLY",
    CSysOpDesktopOptDlg::IDC_RESET,
    L"IDS_SYS_OP_DESKTOP_OPT_BTN_RESET",
    kRows,
    6,
    74,
    L"IDS_SYS_OP_DESKTOP_MSG_SET_COMPLETE",
    L"IDS_SYS_OP_DESKTOP_MSG_SET_FAILED",
};

// What each box shows for a manager's state.
struct Shown {
    bool arrow, text, newWindow, noBalloons, noThumbnailCache, restart;
    explicit Shown(const CRegDesktopMan& m)
        : arrow(m.GetIsRemoveShortcutArrow()),
          text(m.GetIsRemoveShortcutText()),
          newWindow(m.GetHasNewWindowShellCommand()),
          noBalloons(!m.GetIsBallonTipsEnabled()),
          noThumbnailCache(!m.GetIsCacheThumbnail()),
          restart(m.GetIsRestartExplorerAfterCrash())
    {
    }
    bool Of(int id) const
    {
        switch (id) {
        case 23003: return arrow;
        case 23004: return text;
        case 23005: return newWindow;
        case 23006: return noBalloons;
        case 23007: return noThumbnailCache;
        default: return restart;
        }
    }
};

}  // namespace

CSysOpDesktopOptDlg::CSysOpDesktopOptDlg() : CSysOpCheckPage(kSpec) {}

void CSysOpDesktopOptDlg::Load()
{
    const Shown shown{CRegDesktopMan()};
    for (const SysOpCheckRow& row : kRows) SetChecked(row.id, shown.Of(row.id));
}

std::vector<int> CSysOpDesktopOptDlg::Apply()
{
    {
        CRegDesktopMan man;
        man.EnableRemoveShortcutArrow(IsChecked(23003));
        man.EnableRemoveShortcutText(IsChecked(23004));
        man.EnableNewWindowShellCommand(IsChecked(23005));
        man.EnableBallonTips(!IsChecked(23006));
        man.EnableCasheThumbnail(!IsChecked(23007));
        man.EnableRestartExplorerAfterCrash(IsChecked(23008));
    }
    const Shown now{CRegDesktopMan()};
    return RowsThatDiffer([&](int id) { return now.Of(id); });
}
