#include "RegCategories.h"

namespace {
const RegCategoryInfo kRows[kRegCategoryCount] = {
    {RST_SHAREDDLL, 11005, 11050, L"RST_SHAREDDLL"},   {RST_OPENSAVEMRU, 11006, 11051, L"RST_OPENSAVEMRU"},
    {RST_EXTHISTORY, 11007, 11052, L"RST_EXTHISTORY"}, {RST_STARTMENU, 11008, 11053, L"RST_STARTMENU"},
    {RST_MUICACHE, 11009, 11054, L"RST_MUICACHE"},     {RST_HELP, 11010, 11055, L"RST_HELP"},
    {RST_APPPATH, 11011, 11056, L"RST_APPPATH"},       {RST_UNINSTALL, 11012, 11057, L"RST_UNINSTALL"},
    {RST_FILEASSOC, 11013, 11058, L"RST_FILEASSOC"},   {RST_COM, 11014, 11059, L"RST_COM"},
};
}  // namespace

const RegCategoryInfo& RegCategoryAt(int row) { return kRows[row]; }

int FindRegCategoryRow(int type)
{
    for (int row = 0; row < kRegCategoryCount; ++row)
        if (kRows[row].type == type) return row;
    return -1;
}

std::wstring RegCategoryTitleKey(int row) { return std::wstring(L"IDS_SCAN_CLEAN_REGISTRY_") + kRows[row].name; }

void RegSelection::SetRow(int row, bool on)
{
    if (row < 0 || row >= kRegCategoryCount) return;
    if (on)
        m_bits |= 1u << row;
    else
        m_bits &= ~(1u << row);
}

bool RegSelection::HasRow(int row) const { return row >= 0 && row < kRegCategoryCount && (m_bits & (1u << row)) != 0; }

bool RegSelection::Wants(int type) const
{
    int row = FindRegCategoryRow(type);
    return row < 0 || HasRow(row);
}
