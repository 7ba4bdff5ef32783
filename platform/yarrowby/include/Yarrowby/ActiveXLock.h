// CActiveXLock: the catalogue of known ActiveX controls (the program's resource "BIN_DATA") and their kill bits.
//
// A control is blocked when the 0x400 bit of the DWORD "Compatibility Flags" under
// HKLM\SOFTWARE\Microsoft\Internet Explorer\ActiveX Compatibility\<class identifier> is set. Blocking and
// unblocking change that bit only (other bits and the keys stay); on 64-bit Windows both registry views are
// written, so 32-bit and 64-bit browsers agree. Identifiers that are empty or contain '\' are never acted on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Yarrowby/YarrowbyApi.h"

struct ActiveXItem {
    std::wstring name;   // display name
    std::wstring clsid;  // class identifier as the catalogue writes it, braces included
    bool locked;         // blocked when the list was read
};

class YARROWBY_API CActiveXLock {
public:
    // The kill bit of "Compatibility Flags".
    static const DWORD kKillBit = 0x400;

    CActiveXLock();
    ~CActiveXLock();

    // Appends one record per catalogue line of the resource "BIN_DATA" `resId` of the program (the process's own
    // module), in catalogue order, with its current blocked state. False when the resource is missing.
    bool GetActiveXNames(std::vector<ActiveXItem>& out, UINT resId);
    // True when the control is blocked (the kill bit is set); false also for an identifier that is not acted on.
    bool IsLocked(std::wstring clsid);
    // Sets (lock) or clears the kill bit of each control. True when every one was changed; identifiers that are
    // empty or contain '\' are skipped and make the result false.
    bool LockUnLockActiveItems(std::vector<std::wstring> clsids, bool lock);
};
