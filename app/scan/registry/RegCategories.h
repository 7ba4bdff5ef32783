// The ten category rows of the registry page and the selection the scan filter answers from.
#pragma once

#include <string>

#include "RegistryData.h"

struct RegCategoryInfo {
    REG_SCAN_TYPE type;
    int checkBoxId;
    int countLabelId;
    const wchar_t* name;  // the enumerator's name, part of the title key
};

const int kRegCategoryCount = 10;
const RegCategoryInfo& RegCategoryAt(int row);

// Row of a category, -1 when no row shows it.
int FindRegCategoryRow(int type);

// "IDS_SCAN_CLEAN_REGISTRY_" followed by the enumerator's name.
std::wstring RegCategoryTitleKey(int row);

// The categories the user chose, captured when the scan starts, so that both table entries of the help files and
// of COM are scanned whatever the boxes show meanwhile.
class RegSelection {
public:
    void Clear() { m_bits = 0; }
    void SetRow(int row, bool on);
    bool HasRow(int row) const;
    bool Any() const { return m_bits != 0; }
    // The filter's answer: categories without a row are scanned; the others when chosen.
    bool Wants(int type) const;

private:
    unsigned m_bits = 0;
};
