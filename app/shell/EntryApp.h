// CEntryApp: the application object. It sets boot mode from the command line, runs the main window modally
// and returns FALSE from InitInstance, so the process ends when the main window closes.
#pragma once

#include <QMfc.h>

class CEntryApp : public CWinAppEx {
public:
    CEntryApp();
    BOOL InitInstance() override;

    // Boot mode ("--boot" on the command line): one flag for the whole process, read by the shell and the home
    // page, cleared when the user opens the window from the tray or when the boot scan ends.
    static BOOL m_bBootMode;
};
