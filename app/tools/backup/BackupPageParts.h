// Small parts every backup page uses: translated message boxes, the standard page button, the result line.
#pragma once

#include <QMfc.h>

#include <string>
#include <vector>

#include "ImageButton.h"

namespace BackupPages {

// Shows the translated text of the key (MB_OK unless told otherwise) and returns the box's answer.
int ShowMessage(const wchar_t* key, UINT type = MB_OK);
// The translated text of the key followed by more text (details of a run).
int ShowMessage(const wchar_t* key, const CString& details, UINT type = MB_OK);
// Where a standard page button (124 x 40) goes with its top left corner there.
CRect PageButtonRect(int x, int y);
// Lets the user pick a folder (starting at the edit's folder) and puts the choice into the edit.
void ChooseFolderInto(CEdit& edit);
// An entry of a folder as the pages' trees show it.
struct FolderEntry {
    std::wstring name;
    bool isFolder;
    bool isLink;  // a reparse point: shown, never entered
};
// The entries of the folder in the system's order, "." and ".." and hidden entries left out.
std::vector<FolderEntry> ShownEntries(const std::wstring& folder);
// Sets a static's text and repaints the page below it (statics draw on a transparent background).
void SetResultText(CStatic& label, const CString& text);

}  // namespace BackupPages
