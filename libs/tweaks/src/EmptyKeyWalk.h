// The empty-key walk of the scanner family, with an explicit stack (registry trees can be hundreds of levels deep;
// a recursion with a path per frame would use about a megabyte of stack).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tessik {

// Walks `start` and everything below it with KEY_READ and calls report with the path (basePath + the relative
// path, without its leading backslash) of every key that has neither subkeys nor values. basePath is "" or
// begins with a backslash. While basePath is "" the first level skips ".DEFAULT" and names longer than 10
// characters (so below HKEY_USERS only the short built-in profiles are walked, not the users' own hives).
void WalkEmptyKeys(HKEY start, const std::wstring& basePath, const std::function<void(const std::wstring&)>& report);

}  // namespace tessik
