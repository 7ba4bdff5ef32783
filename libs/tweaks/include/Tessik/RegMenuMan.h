// CRegMenuMan: six start-menu settings, read by the constructor and written at once by the setters.
#pragma once

#include "TessikApi.h"

class TESSIK_API CRegMenuMan {
public:
    CRegMenuMan();
    ~CRegMenuMan();

    void UpdateCurrentSettings();

    bool IsShowRecentDoc() const { return m_bShowRecentDocs; }
    // The one inverted getter: true when recent documents are NOT tracked.
    bool IsDisableRecentTrack() const { return !m_bRecentTrack; }
    bool IsClearRecentDocsOnExit() const { return m_bClearRecentDocsOnExit; }
    bool IsMultiPageDisplay() const { return m_bMultiPageDisplay; }
    bool IsStartMenuSpeedOptimized() const { return m_bStartMenuSpeed; }
    bool IsShowRun() const { return m_bShowRun; }

    void EnableRecentDocShow(bool enable);
    // true: tracking on.
    void EnableRecentTrack(bool enable);
    void EnableClearDocsOnExit(bool enable);
    void EnableMultiPageDisplay(bool enable);
    void OptimizeStartMenuSpeed(bool enable);
    void ShowRunOnStartMenu(bool enable);

protected:
    bool CommitShowRecentDocs();
    bool CommitRecentTrack();
    bool CommitClearRecentDocsOnExit();
    bool CommitMultiPageDisplay();
    bool CommitStartMenuSpeed();
    bool CommitShowRun();

private:
    bool m_bShowRecentDocs = false;
    bool m_bRecentTrack = true;
    bool m_bClearRecentDocsOnExit = false;
    bool m_bMultiPageDisplay = true;
    bool m_bStartMenuSpeed = false;
    bool m_bShowRun = false;
};
