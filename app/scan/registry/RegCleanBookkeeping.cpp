#include "RegCleanBookkeeping.h"

void RegCleanBookkeeping::Begin(const std::vector<const CRegistryData::SCAN_RESULT*>& rows)
{
    m_rows.clear();
    for (const CRegistryData::SCAN_RESULT* result : rows) m_rows.push_back(Row{result, false});
}

int RegCleanBookkeeping::OnItem(const CRegistryData::SCAN_RESULT& item)
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        if (row.attempted || !row.result) continue;
        if (CRegistryData::CompareItems(row.result->type, row.result->data, item.type, item.data) == 0) {
            row.attempted = true;
            return int(i);
        }
    }
    return -1;
}

const CRegistryData::SCAN_RESULT* RegCleanBookkeeping::ResultAt(int row) const
{
    return row >= 0 && size_t(row) < m_rows.size() ? m_rows[size_t(row)].result : nullptr;
}

int RegCleanBookkeeping::Attempted() const
{
    int n = 0;
    for (const Row& row : m_rows) n += row.attempted ? 1 : 0;
    return n;
}

RegCleanBookkeeping::Outcome RegCleanBookkeeping::Finish(
    const std::function<bool(const CRegistryData::REG_DATA&)>& itemExists) const
{
    Outcome out;
    for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
        const Row& row = m_rows[size_t(i)];
        if (!row.attempted) continue;
        if (itemExists(row.result->data)) {
            ++out.failed;
            out.kept.push_back(i);
        } else {
            out.removed.push_back(i);
        }
    }
    out.rowsLeft = int(m_rows.size() - out.removed.size());
    return out;
}

bool RegItemExists(const CRegistryData::REG_DATA& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(data.root, data.subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    bool exists = true;
    if (!data.valueName.empty())
        exists = RegQueryValueExW(key, data.valueName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}
