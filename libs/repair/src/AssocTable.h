// The fourteen file associations a clean system has, and the rule that compares a stored command with one.
#pragma once

#include <string>

namespace Moravin {

struct AssocRow {
    const wchar_t* extension;
    const wchar_t* key;  // under HKEY_CLASSES_ROOT; the command is the key's default value
    const wchar_t* expectedCommand;
};

extern const AssocRow kAssocRows[14];

// True when the stored command counts as the expected one: equal exactly, or, for an expected command that
// begins with %SystemRoot% (optionally after a quote), equal in any letter case to that command with the
// Windows folder written in place of %SystemRoot%. windowsDir has no trailing backslash; empty skips that form.
bool IsAssocValueNormal(const std::wstring& current, const std::wstring& expected, const std::wstring& windowsDir);

}  // namespace Moravin
