// CRegDesktopMan: six Explorer and desktop settings. The constructor reads them all; each getter returns the
// state last read or set; each setter writes its setting at once (the write's outcome is not reported: read the
// settings again through a new object to learn whether a change took).
#pragma once

#include "TessikApi.h"

class TESSIK_API CRegDesktopMan {
public:
    CRegDesktopMan();
    ~CRegDesktopMan();

    void UpdateCurrentSettings();

    bool GetIsRemoveShortcutArrow() const { return m_bRemoveShortcutArrow; }
    bool GetIsRemoveShortcutText() const { return m_bRemoveShortcutText; }
    bool GetHasNewWindowShellCommand() const { return m_bNewWindowShellCommand; }
    bool GetIsBallonTipsEnabled() const { return m_bBallonTips; }
    bool GetIsCacheThumbnail() const { return m_bCacheThumbnail; }
    bool GetIsRestartExplorerAfterCrash() const { return m_bRestartExplorerAfterCrash; }

    void EnableRemoveShortcutArrow(bool enable);
    void EnableRemoveShortcutText(bool enable);
    void EnableNewWindowShellCommand(bool enable);
    void EnableBallonTips(bool enable);
    void EnableCasheThumbnail(bool enable);
    void EnableRestartExplorerAfterCrash(bool enable);

protected:
    bool CommitRemoveShortcutArrow();
    bool CommitRemoveShortcutText();
    bool CommitNewWindowShellCommand();
    bool CommitEnableBallonTips();
    bool CommitCasheThumbnail();
    bool CommitRestartExplorerAfterCrash();

private:
    bool m_bRemoveShortcutArrow = false;
    bool m_bRemoveShortcutText = false;
    bool m_bNewWindowShellCommand = false;
    bool m_bBallonTips = true;
    bool m_bCacheThumbnail = true;
    bool m_bRestartExplorerAfterCrash = true;
};
