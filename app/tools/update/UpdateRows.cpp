#include "UpdateRows.h"

#include <cwchar>

namespace update_page {

std::wstring SizeText(int bytes)
{
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%.2fM", bytes / 1024.0 / 1024.0);
    return buf;
}

std::vector<int> RowsToUpdate(const std::vector<RowView>& rows)
{
    std::vector<int> out;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].ticked && rows[i].state != RowState::Installed) out.push_back(static_cast<int>(i));
    return out;
}

int InstalledCount(const std::vector<RowView>& rows)
{
    int n = 0;
    for (const RowView& r : rows) n += r.state == RowState::Installed;
    return n;
}

}  // namespace update_page
