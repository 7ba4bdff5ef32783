#include "RepairSteps.h"

#include <Common.h>

#include <string>
#include <vector>

#include "PagingFiles.h"
#include "RegistryAccess.h"
#include "Folders.h"

namespace Moravin {

namespace {

bool SetPagingFiles(HKEY root, const wchar_t* key, const wchar_t* value)
{
    std::vector<std::wstring> entries;
    RBRegGetMultiSZStringValueW(root, key, value, entries);
    if (entries.empty()) return true;  // no list: nothing to rewrite
    return RBRegSetMultiSZStringValueW(root, key, value, RewritePagingFiles(entries)) == ERROR_SUCCESS;
}

std::wstring SystemFilePath(const wchar_t* fileName)
{
    const std::wstring folder = SystemFolder();
    return folder.empty() ? std::wstring() : folder + L"\\" + fileName;
}

bool RunStep(const RepairStep& step)
{
    if (step.onlyIfKeyExists && !SBRegKeyExistW(step.root, step.onlyIfKeyExists)) return true;
    switch (step.kind) {
    case StepKind::DeleteValue: {
        const LONG status = SBRegDeleteValueW(step.root, step.key, step.value);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    case StepKind::SetString:
        return SBRegSetStringValueExpandableW(step.root, step.key, step.value, step.text) == ERROR_SUCCESS;
    case StepKind::SetSystemFilePath: {
        const std::wstring path = SystemFilePath(step.text);
        return !path.empty() && SBRegSetStringValueW(step.root, step.key, step.value, path.c_str()) == ERROR_SUCCESS;
    }
    case StepKind::SetDword: return SBRegSetDWORDValueW(step.root, step.key, step.value, step.dword) == ERROR_SUCCESS;
    case StepKind::StartService: return SBStartServiceW((L"\"" + std::wstring(step.text) + L"\"").c_str());
    case StepKind::RegisterSystemDll: {
        const std::wstring path = SystemFilePath(step.text);
        return !path.empty() && SBRegisterDll(path.c_str());
    }
    case StepKind::GrantAdminAccess: return GrantAdministratorsFullAccess(RegistryObjectName(step.root, step.key));
    case StepKind::RewritePagingFiles: return SetPagingFiles(step.root, step.key, step.value);
    }
    return false;
}

}  // namespace

bool RunRepairSteps(const RepairStep* steps, size_t count, int number)
{
    bool allDone = true;
    for (size_t i = 0; i < count; ++i)
        if (steps[i].number == number && !RunStep(steps[i])) allDone = false;
    return allDone;
}

}  // namespace Moravin
