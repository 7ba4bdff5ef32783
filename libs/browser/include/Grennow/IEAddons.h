// The browser's add-ons as the registry lists them: downloaded ActiveX controls (CIEActiveXMan), context-menu
// extensions and explorer bars (CIEBhoMan) and browser helper objects (CIEPluginMan). The list members append
// records to the caller's vector (they do not empty it first); every removal refuses a record whose key is not an
// entry of its own add-on list, so no record can remove more than one add-on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Grennow/GrennowApi.h"

// One downloaded ActiveX control.
struct IEActiveXInfo {
    HKEY root = HKEY_LOCAL_MACHINE;
    std::wstring keyPath;   // "SOFTWARE\Microsoft\Code Store Database\Distribution Units\" + CLSID
    std::wstring reserved;  // always empty
    bool reservedFlag = false;
    bool blocked = false;  // the kill bit (0x400) of the control's "Compatibility Flags" is set
    std::wstring company;  // from the file's version resource
    std::wstring version;
    std::wstring description;
    std::wstring file;   // the control's file (InprocServer32)
    std::wstring clsid;  // the entry's name under Distribution Units
    std::wstring name;   // the class's default value
};

// One context-menu extension or explorer bar.
struct IEBhoInfo {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring keyPath;    // the entry's key
    std::wstring valueName;  // empty in the lists built here
    std::wstring displayName;
    bool isValue = false;  // the entry is the value `valueName` of `keyPath` rather than the key
};

// One browser helper object.
struct IEPluginInfo {
    HKEY root = HKEY_LOCAL_MACHINE;
    std::wstring keyPath;   // "SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects\" + CLSID
    std::wstring reserved;  // always empty
    bool reservedFlag = false;
    std::wstring company;
    std::wstring version;
    std::wstring description;
    std::wstring file;
    std::wstring name;
};

class GRENNOW_API CIEActiveXMan {
public:
    // Appends one record per entry under Distribution Units. Version texts are read only when the file exists.
    void GetActiveXList(std::vector<IEActiveXInfo>& list) const;
    // Sets the kill bit, keeping the control's other compatibility flags. True when written.
    bool BlockActiveX(const IEActiveXInfo& info) const;
    // Clears the kill bit; the value is deleted when no other flag is left. True when the bit is clear afterwards.
    bool UnblockActiveX(const IEActiveXInfo& info) const;
    // Deletes the control's Distribution Units entry. True when deleted.
    bool RemoveActiveX(const IEActiveXInfo& info) const;
};

class GRENNOW_API CIEBhoMan {
public:
    // Appends the current user's context-menu extensions, then the explorer bars of the current user and of the
    // machine. An explorer bar whose class cannot be read is named "Invalid Class ID".
    void GetBhoList(std::vector<IEBhoInfo>& list) const;
    // Deletes the entry's key (or its value, for a value record). True when deleted.
    bool RemoveBho(const IEBhoInfo& info) const;
};

class GRENNOW_API CIEPluginMan {
public:
    // Appends one record per browser helper object.
    void GetPlugins(std::vector<IEPluginInfo>& list) const;
    // Deletes the helper object's key. True when deleted.
    bool RemovePlugin(const IEPluginInfo& info) const;
};
