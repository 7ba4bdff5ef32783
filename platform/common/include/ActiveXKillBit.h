// The kill bit of an ActiveX control: bit 0x400 of the DWORD "Compatibility Flags" under
// HKLM\SOFTWARE\Microsoft\Internet Explorer\ActiveX Compatibility\<class identifier>. The browser refuses to load
// a control that has it. Identifiers that are empty or contain '\' would name another key: never acted on.
#pragma once

#include <windows.h>

#include <string>

#include "Common.h"

namespace qactivex {

const DWORD kKillBit = 0x400;

// True when the control's flags have the kill bit, in the registry view given (0 or a KEY_WOW64_ flag).
COMMON_API bool IsKillBitSet(const std::wstring& clsid, REGSAM view = 0);
// Sets (block) or clears the kill bit: the other bits stay, flags left at 0 are deleted, keys are never removed;
// nothing is written when the bit is already as asked. True when it is as asked afterwards.
COMMON_API bool SetKillBit(const std::wstring& clsid, bool block, REGSAM view = 0);

}  // namespace qactivex
