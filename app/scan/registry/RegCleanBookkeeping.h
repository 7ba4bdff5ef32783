// Which rows of the result list a clean removes: only those whose registry item is really gone.
#pragma once

#include <functional>
#include <vector>

#include "RegistryData.h"

class RegCleanBookkeeping {
public:
    // The result of each row, top to bottom, taken when the repair starts.
    void Begin(const std::vector<const CRegistryData::SCAN_RESULT*>& rows);

    // The engine is about to clean this item; returns the row it belongs to (-1 when none).
    int OnItem(const CRegistryData::SCAN_RESULT& item);

    // The result of a row given to Begin (null for an unknown row).
    const CRegistryData::SCAN_RESULT* ResultAt(int row) const;

    // Rows the engine worked on so far.
    int Attempted() const;
    // Rows that will remain if every attempted deletion succeeds (the count shown while the clean runs).
    int RowsLeftIfAllSucceed() const { return int(m_rows.size()) - Attempted(); }

    struct Outcome {
        std::vector<int> removed;  // rows to delete, highest index first
        std::vector<int> kept;     // attempted rows whose item still exists, highest index first
        int failed = 0;            // their count
        int rowsLeft = 0;
    };
    // Decides after the clean; itemExists answers whether a row's key or value is still in the registry.
    Outcome Finish(const std::function<bool(const CRegistryData::REG_DATA&)>& itemExists) const;

private:
    struct Row {
        const CRegistryData::SCAN_RESULT* result;
        bool attempted;
    };
    std::vector<Row> m_rows;
};

// The registry item of a result exists (a key, or a value when the value name is set), in the program's view.
bool RegItemExists(const CRegistryData::REG_DATA& data);
