// Rules of the backup pages that need no window: backup file names and list texts, name checks, lookups and
// the summary of what a run left out.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace BackupPages {

// ---- registry backup page
// "Backup_" + the time as "%b.%d,%Y %I:%M:%S %p" with ':' -> '-' and ',' -> '_' + ".reg".
std::wstring RegistryBackupFileName(const std::tm& localTime);
// The list text of a backup file name ("Backup_Dec.07_2026 11-53-00 PM.reg" -> "Dec.07,2026 11:53:00 PM");
// false for files that are not ".reg" files (any case) or too short to be one of ours.
bool RegistryRowTextFromFileName(const std::wstring& fileName, std::wstring& rowText);
// The file name back from a list text.
std::wstring RegistryFileNameFromRowText(const std::wstring& rowText);
// The registry editor's argument for a path: every backslash doubled, in double quotes.
std::wstring QuoteForRegistryEditor(const std::wstring& path);

// ---- Favorites page
// A favorite's name in the tree: its file name without the last four characters (".url").
std::wstring FavoriteDisplayName(const std::wstring& fileName);

// ---- folder backup page
enum class ArchiveNameCheck { Ok, Empty, Invalid };
// Empty, or holding / \ | < > * ? " :, or a device name (CON, NUL, COM1, ...), or ending in a dot or a space.
ArchiveNameCheck CheckArchiveName(const std::wstring& name);
// The full path of a drive-tree item from its texts, root side first, without the "My Computer" root:
// a drive text ending in "\" goes in front as it is, the others are joined with "\".
std::wstring TreeItemPath(const std::vector<std::wstring>& textsFromDrive);
// Whether the list of sources already holds the path, ignoring case.
bool ContainsPathIgnoringCase(const std::vector<std::wstring>& paths, const std::wstring& path);

// ---- folder restore page
// The lines of a run's report joined for a message: at most maxLines, then a count of the rest.
std::wstring SummarizeLines(const std::vector<std::wstring>& lines, size_t maxLines);

// ---- system restore page
struct RestorePointRow {
    std::wstring description;
    int sequence;
};
// The sequence number of the first point with exactly this description, or -1.
int FindRestorePointSequence(const std::vector<RestorePointRow>& points, const std::wstring& description);

}  // namespace BackupPages
