// tessik::CRegAutoStartupItemMan: the programs Windows starts at log-on from the two "Run" keys (current user, then
// machine). The library's set-up functions create the one shared instance; local instances may be made at any time
// and do not disturb it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Singleton.h"
#include "TessikApi.h"

namespace tessik {
class CRegAutoStartupItemMan;
}

// The shared instance's pointer lives in Tessik.dll; every module uses that one copy.
extern template class TESSIK_API tessik::Singleton<tessik::CRegAutoStartupItemMan>;

namespace tessik {

// The Run key both hives use.
constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class TESSIK_API CRegAutoStartupItemMan : public tessik::Singleton<CRegAutoStartupItemMan> {
public:
    struct StartupItem {
        std::wstring name;     // the Run value's name
        std::wstring command;  // the value's data
        std::wstring keyPath;  // always kRunKeyPath
        HKEY root = nullptr;   // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
    };

    CRegAutoStartupItemMan();
    ~CRegAutoStartupItemMan();

    // Appends (does not clear) the Run values of HKCU, then HKLM; values that are not strings are not listed.
    bool GetStartupItems(std::vector<StartupItem>& items);
    // The same for a process that is (wow64) or is not a 32-bit one on 64-bit Windows: each root is read in
    // tessik::TweakView(root, wow64), where a caller checks and removes the items again.
    bool GetStartupItems(std::vector<StartupItem>& items, bool wow64);
    // Deletes every item's value (status of each ignored); false when the vector is empty. The vector is left as
    // it was.
    bool RemoveStartupItems(std::vector<StartupItem>& items);
};

// Library set-up: creates the shared instance once (true in every case).
TESSIK_API bool initializeTessik();
TESSIK_API bool isTessikInitialized();
// Destroys the shared instance and clears the initialised flag.
TESSIK_API void uninitializeTessik();

}  // namespace tessik
