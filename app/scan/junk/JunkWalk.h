// The junk-file page's own walk of drives: depth first through FindFirstFileW, matching file names against the
// type table. It runs on the page's worker thread and never touches a window: what it finds, and now and then
// the file it is at, go into a JunkWalkReport that the interface thread empties on its timer.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "QLock.h"

namespace JunkPage {

struct JunkFind {
    std::wstring path;
    int type;  // row of the type table
};

class JunkWalkReport {
public:
    // Walking thread.
    void AddFind(const std::wstring& path, int type);
    void SetCurrent(const std::wstring& path);

    // Interface thread: appends the finds made since the last call to `out`.
    void TakeFinds(std::vector<JunkFind>& out);
    // The file the walk was last at, when it changed since the last call.
    bool TakeCurrent(std::wstring& path);
    void Clear();

private:
    qcore::Lock m_lock;
    std::vector<JunkFind> m_finds;
    std::wstring m_current;
    bool m_currentChanged = false;
};

// Walks each root (a drive root or folder, with or without a trailing backslash) in order until `stop` is set.
// Folders inside the Windows folder (windowsFolder, ending in a backslash) are skipped, its TEMP folder excepted;
// linked folders (junctions, symbolic links) are never entered, so a link loop cannot trap the walk; entries
// whose full path does not fit the plain file API are left out. The current file is reported at most every
// statusIntervalMs. Returns false when the walk was stopped.
bool WalkForJunk(const std::vector<std::wstring>& roots, const std::wstring& windowsFolder,
                 const std::atomic<bool>& stop, JunkWalkReport& report, unsigned statusIntervalMs = 100);

// The Windows folder ("%SystemRoot%" expanded) with a trailing backslash; empty when unknown.
std::wstring WindowsFolderForWalk();

}  // namespace JunkPage
