// The steps of the fixed repairs as data, and the one runner that carries them out.
#pragma once

#include <windows.h>

#include <cstddef>

namespace Moravin {

enum class StepKind {
    DeleteValue,         // delete root\key value (already gone: done)
    SetString,           // root\key value := text
    SetSystemFilePath,   // root\key value := <system folder>\text
    SetDword,            // root\key value := dword
    StartService,        // start the service whose display name is text
    RegisterSystemDll,   // register <system folder>\text
    GrantAdminAccess,    // Administrators get full access to root\key and below
    RewritePagingFiles,  // give every entry of the paging-file list root\key value a fixed size of at least 2048 MB
};

struct RepairStep {
    int number;  // the repair this step belongs to; a repair's steps run in table order
    StepKind kind;
    HKEY root;
    const wchar_t* key;
    const wchar_t* value;  // value name; L"" is the key's default value
    const wchar_t* text;
    DWORD dword;
    // When set, the step only applies while this key (under root) exists; without it the step counts as done
    // (no service keys are made up for services that are not installed).
    const wchar_t* onlyIfKeyExists;
};

// Runs every step of repair `number` in table order, also after one failed. True when all succeeded (a number
// without steps: true).
bool RunRepairSteps(const RepairStep* steps, size_t count, int number);

extern const RepairStep kUtilitySteps[];
extern const size_t kUtilityStepCount;
extern const RepairStep kRepairSteps[];
extern const size_t kRepairStepCount;

}  // namespace Moravin
