// Whole-registry export and import through the system's registry editor, each run on a worker thread that tells
// a window when the editor has finished and whether the run succeeded.
#pragma once

#include "BackupMessages.h"
#include "ColdrithApi.h"

#include <QWorker.h>

#include <windows.h>

#include <string>

namespace Coldrith {
class COLDRITH_API CRegistryBackup {
public:
    CRegistryBackup() {}
    // Waits for a run still going (the editor is never cut off half-way through an import).
    ~CRegistryBackup();
    CRegistryBackup(const CRegistryBackup&) = delete;
    CRegistryBackup& operator=(const CRegistryBackup&) = delete;

    // The window that receives WM_REGBACKUP_DONE.
    void SetMessageWnd(HWND hWnd) { m_hMessageWnd = hWnd; }
    // Exports the whole registry into the file; path is the editor's argument as it stands (quote a path that
    // holds blanks; doubled backslashes are fine). A run still going is waited for first. False without a
    // message window or when no thread could be started (then no message comes).
    bool BackupRegistry(std::wstring path);
    // Imports the file silently, the same way.
    bool RestoreRegistry(std::wstring path);

protected:
    enum Kind { kExport = 1, kImport = 2 };
    bool Start(Kind kind, const std::wstring& path);
    void Run(Kind kind);

    qcore::CWorker m_worker;
    std::wstring m_strPath;
    HWND m_hMessageWnd = nullptr;
};

// The file a registry-editor argument names: surrounding quotes removed, doubled backslashes made single (the
// leading pair of a network path kept).
COLDRITH_API std::wstring RegFileFromArgument(const std::wstring& argument);
// "<Windows folder>\regedit.exe": the editor is never looked for in the program's own folder.
COLDRITH_API std::wstring RegistryEditorPath();
}  // namespace Coldrith
