// reg::CRegAutoStartupItemMan: the programs Windows starts at log-on, from the two "Run" keys (current user, then
// machine) and the two Startup folders (the user's, then all users'). The library's set-up functions create the
// one shared instance; local instances may be made at any time and do not disturb it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Singleton.h"
#include "TessikApi.h"

namespace reg {
class CRegAutoStartupItemMan;
}

// The shared instance's pointer lives in Tessik.dll; every module uses that one copy.
#ifdef TESSIK_BUILDING_DLL
extern template class __declspec(dllexport) common::Singleton<reg::CRegAutoStartupItemMan>;
#else
extern template class __declspec(dllimport) common::Singleton<reg::CRegAutoStartupItemMan>;
#endif

namespace reg {

// The Run key both hives use.
constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class TESSIK_API CRegAutoStartupItemMan : public common::Singleton<CRegAutoStartupItemMan> {
public:
    struct StartupItem {
        std::wstring name;     // the Run value's name, or the file's name in a Startup folder
        std::wstring command;  // the value's data, or the command the file starts (a shortcut's target and arguments)
        std::wstring keyPath;  // kRunKeyPath, or the Startup folder (no trailing backslash)
        HKEY root = nullptr;   // HKEY_CURRENT_USER (the user's) or HKEY_LOCAL_MACHINE (the machine's, all users')
        std::wstring filePath; // full path of a Startup folder's file; empty for a Run value

        bool IsFolderItem() const { return !filePath.empty(); }
    };

    CRegAutoStartupItemMan();
    ~CRegAutoStartupItemMan();

    // Appends (does not clear) the Run values of HKCU, then HKLM, then the files of the user's and the common
    // Startup folder. Non-string values, sub-folders, hidden or system files and desktop.ini are not listed.
    bool GetStartupItems(std::vector<StartupItem>& items);
    // Removes every item (status of each ignored); false when the vector is empty. The vector is left as it was.
    bool RemoveStartupItems(std::vector<StartupItem>& items);
    // Removes one item: its Run value, or its file (into the recycle bin). True when it is gone afterwards,
    // also when it was already gone.
    bool RemoveStartupItem(const StartupItem& item);
};

// Library set-up: creates the shared instance once (true in every case).
TESSIK_API bool initializeTessik();
TESSIK_API bool isTessikInitialized();
// Destroys the shared instance and clears the initialised flag.
TESSIK_API void uninitializeTessik();

}  // namespace reg
