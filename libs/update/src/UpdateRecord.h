// The record of one update, read from the agent's update object.
#pragma once

#include "Skarloe.h"
#include "WuaInterfaces.h"

namespace skarloe {

// Text in the system's ANSI code page; an empty or null string gives "".
std::string Narrow(const wchar_t* text, int length = -1);
// "year-month-day" without zero padding, "" for a date that cannot be converted.
std::string DateText(DATE date);

// Fills the record from the update's properties; a property that cannot be read leaves its field empty.
void ReadUpdateItem(IUpdate* update, UpdateItem* item);

}  // namespace skarloe
