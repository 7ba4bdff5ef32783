#include "MainWindowBusy.h"

#include <QMfc.h>

#include "PageIds.h"

void SetMainWindowBusy(bool busy)
{
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd()) ::SendMessageW(main->GetSafeHwnd(), WM_SET_BUSY, busy ? 1 : 0, 0);
}
