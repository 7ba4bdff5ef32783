// CRegScanResultListCtrl: the owner-drawn list of the registry page. One 50-pixel row per registry error found:
// a check image, a bold first line (reason and description) and a grey second line (the registry path). The item
// data is the engine's SCAN_RESULT, owned by the engine.
#pragma once

#include <QMfc.h>

#include "RegistryData.h"

class CRegScanResultListCtrl : public CListCtrl {
public:
    static constexpr int kRowHeight = 50;

    CRegScanResultListCtrl();
    ~CRegScanResultListCtrl() override;

    // Inserts the result as the new top row and widens the column to fit its text.
    void AddScanResult(const CRegistryData::SCAN_RESULT* pResult);
    // Sets the row height and makes the list measure its rows again.
    void SetRowHeight();
    const CRegistryData::SCAN_RESULT* GetResult(int nItem) const;
    // The row is checked as the list reads it (a row never clicked reads as checked).
    bool IsRowChecked(int nItem) const;

    int m_nRowHeight = kRowHeight;

protected:
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    void OnClick(const NMHDR* hdr);

    HBITMAP m_hChecked = nullptr;
    HBITMAP m_hUnchecked = nullptr;
    CFont m_boldFont;
    CFont m_normalFont;
};
