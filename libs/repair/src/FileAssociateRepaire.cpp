#include "Moravin/FileAssociateRepaire.h"

#include <Common.h>

#include "AssocTable.h"
#include "Folders.h"

namespace Moravin {

static_assert(sizeof(kAssocRows) / sizeof(kAssocRows[0]) == CFileAssociateRepaire::kRowCount,
              "one table row per association");

bool CFileAssociateRepaire::GetAllAssociateStatus(std::vector<FileAssocItem>& items)
{
    for (const AssocRow& row : kAssocRows)
        AddItem(items, row.key, row.expectedCommand, row.extension, std::wstring(L"use to open ") + row.extension);
    return true;
}

bool CFileAssociateRepaire::RepaireFileAssociate(int row)
{
    if (row < 0 || row >= kRowCount) return false;
    const AssocRow& entry = kAssocRows[row];
    return SBRegSetStringValueW(HKEY_CLASSES_ROOT, entry.key, L"", entry.expectedCommand) == ERROR_SUCCESS;
}

void CFileAssociateRepaire::AddItem(std::vector<FileAssocItem>& items, std::wstring key, std::wstring expectedCommand,
                                    std::wstring extension, std::wstring description)
{
    FileAssocItem item;
    SBRegGetStringValueW(HKEY_CLASSES_ROOT, key.c_str(), L"", item.currentValue);  // stays empty when unread
    item.status = !IsAssocValueNormal(item.currentValue, expectedCommand, WindowsFolder());
    item.extension = std::move(extension);
    item.expectedCommand = std::move(expectedCommand);
    item.description = std::move(description);
    items.push_back(std::move(item));
}

}  // namespace Moravin
