// Lists the entries of the Windows Sockets protocol catalog as the registry holds them, and resets the catalog
// through the system's network shell.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Moravin/MoravinApi.h"

namespace Moravin {

class MORAVIN_API CWinsockRepaire {
public:
    // One catalog entry.
    struct WinsockItem {
        std::wstring entryKey;      // name of the entry's subkey below the catalog key
        std::wstring providerPath;  // provider DLL path; empty when the entry could not be read
        std::wstring protocolName;  // protocol name; empty when the entry could not be read
    };

    // HKEY_LOCAL_MACHINE key of the catalog entries.
    static const wchar_t* const kCatalogKey;
    // Longest PackedCatalogItem read; a longer value is listed with an empty provider and protocol.
    static const DWORD kMaxItemSize = 2047;
    // Time allowed for the reset to finish.
    static const DWORD kResetTimeoutMs = 120000;

    // Appends one row per catalog entry, in the order the registry lists them (the list is not cleared first).
    // Always true: a catalog that cannot be read adds nothing.
    bool GetAllWinsockItems(std::vector<WinsockItem>& items);
    // Runs "netsh winsock reset" from the system folder and waits for it. True only when it ran and exited with
    // 0; false when it could not be started, failed, or did not end within kResetTimeoutMs.
    bool RepaireWinsock();

protected:
    // Appends the names of the direct subkeys of HKEY_LOCAL_MACHINE\keyPath (nothing when it cannot be opened).
    void EnumWinsockKeys(std::wstring keyPath, std::vector<std::wstring>& names);
};

}  // namespace Moravin
