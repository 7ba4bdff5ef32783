// Checks fourteen fixed file associations in HKEY_CLASSES_ROOT against the commands of a clean system and writes
// the expected command back for a chosen row.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Moravin/MoravinApi.h"

namespace Moravin {

class MORAVIN_API CFileAssociateRepaire {
public:
    // One checked association (row number = position in the list).
    struct FileAssocItem {
        std::wstring extension;        // e.g. ".bat"
        std::wstring currentValue;     // the key's default value as read; empty when it could not be read
        std::wstring expectedCommand;  // the command a clean system has
        std::wstring description;      // "use to open " + extension
        bool status = false;           // false normal, true error
    };

    // Number of rows GetAllAssociateStatus appends.
    static const int kRowCount = 14;

    // Appends the fourteen rows in row order (the list is not cleared first). Returns true.
    bool GetAllAssociateStatus(std::vector<FileAssocItem>& items);
    // Writes the expected command of row 0-13 as the default value of its key. True when the write succeeded;
    // false when it failed or the row number is out of range (nothing is written then).
    bool RepaireFileAssociate(int row);

protected:
    // Reads the key's default value, compares it with the expected command and appends the row.
    void AddItem(std::vector<FileAssocItem>& items, std::wstring key, std::wstring expectedCommand,
                 std::wstring extension, std::wstring description);
};

}  // namespace Moravin
