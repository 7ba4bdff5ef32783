// What the update page shows of a row and which rows an update run takes: plain rules, no window.
#pragma once

#include <string>
#include <vector>

namespace update_page {

// The state of a row after a search; the list's status column shows it.
enum class RowState { None, Downloading, DownloadFailed, Installing, Installed, InstallFailed };

// The size column: megabytes with two decimals, "1.50M" for 1,572,864 bytes.
std::wstring SizeText(int bytes);

struct RowView {
    bool ticked;
    RowState state;
};
// The rows an update run takes, in list order: ticked and not already installed.
std::vector<int> RowsToUpdate(const std::vector<RowView>& rows);
// How many rows show as installed.
int InstalledCount(const std::vector<RowView>& rows);

}  // namespace update_page
