// CUninstallManager: the installed programs of both hives (HKLM in both registry views on 64-bit Windows, then
// HKCU), their uninstallers, and removal of an entry from that list.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Yarrowby/YarrowbyApi.h"

struct UnInstallItem {
    std::wstring displayName;   // "DisplayName"
    std::wstring uninstallCmd;  // "UninstallString", else "QuietUninstallString"
    std::wstring size;          // "EstimatedSize" as text ("512 KB", "1.5 MB", "2.25 GB"), "" when not given
    std::wstring publisher;     // "Publisher"
    std::wstring version;       // "DisplayVersion"
    std::wstring homePage;      // "URLInfoAbout", else "HelpLink"
    std::wstring keyPath;       // the entry's own key: "HKLM\..." or "HKCU\..." (what RemoveProgram removes)
    bool hidden;                // a system component, a part of another program, or an update
    HICON icon;                 // small icon of "DisplayIcon", a private copy the owner destroys; null when none
};

class YARROWBY_API CUninstallManager {
public:
    CUninstallManager();
    ~CUninstallManager();

    // Appends a new record (the caller deletes it, and destroys its icon) for every entry with a display name.
    // False when no list of installed programs could be read.
    bool EnumPrograms(std::vector<UnInstallItem*>& out);
    // Starts the uninstall command without waiting for it. Environment references are expanded; the program is
    // started by its full path, quoted: an unquoted path with blanks is the shortest prefix that names an existing
    // file as written (never a shorter path with ".exe" added, as the system would try), and a bare name is looked
    // up only in the system folders and the PATH. True when started.
    bool UninstallProgram(std::wstring cmd);
    // Removes the record's entry (its key with everything below it) from the list of installed programs without
    // running its uninstaller. Only a key directly below an Uninstall key is ever removed. True when removed.
    bool RemoveProgram(UnInstallItem* item);
};
