// Registry actions of the wizard: set a DWORD, string or expandable string, delete a value or a whole key.
#pragma once

#include <windows.h>

#include <string>

#include "ErrorWizardExecuter.h"

enum RegistryOperation {
    kRegDeleteValue = 0,      // "DELETE_VAL"
    kRegDeleteTree = 1,       // "DELETE_TREE"
    kRegSetDword = 2,         // "SET_DWORD_VAL"
    kRegSetString = 3,        // "SET_STRING_VAL"
    kRegSetExpandString = 4,  // "SET_EXP_STRING_VAL"
    kRegUnknownOperation = -1,
};

// The predefined key of a root name ("HKEY_LOCAL_MACHINE", ...); null for any other text.
HKEY RegistryRootFromName(const std::string& name);
// The operation of a RegOpType text; kRegUnknownOperation for any other text.
RegistryOperation RegistryOperationFromName(const std::string& name);
// A DWORD from text the way atoi reads it (leading blanks, an optional sign, digits; none gives 0); values outside
// 32 bits keep their low 32 bits, so "-1" is 0xFFFFFFFF.
DWORD DwordFromText(const std::string& text);

// The action itself. On 64-bit Windows a 32-bit build works in the 64-bit registry view. Deleting a value or key
// that is already absent succeeds; deleting a key tree with an empty key path is refused.
class CRegistryExecuter : public CErrorWizardExecuter {
public:
    using CErrorWizardExecuter::CErrorWizardExecuter;
    bool Run() override;
    // The Win32 status of the action (0 success), for Run.
    LONG Perform() const;
};
