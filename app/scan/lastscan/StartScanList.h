// CStartScanList: the owner-drawn category list of the home page and the one-click scan step. Up to ten rows,
// each with an icon, a name, a description, a count and a status picture chosen by the count's level.
#pragma once

#include <QMfc.h>

#include <memory>

class CStartScanList : public CListCtrl {
public:
    static constexpr int kMaxRows = 10;
    static constexpr int kTextMax = 1024;

    struct StartScanRow {
        wchar_t name[kTextMax] = {};
        wchar_t description[kTextMax] = {};
        wchar_t spare[kTextMax] = {};
        int count = 0;
        int thresholds[4] = {};
        HBITMAP bitmap = nullptr;
        HBITMAP hoverBitmap = nullptr;
        ~StartScanRow();
    };

    CStartScanList();
    ~CStartScanList() override;

    // Fills the first empty slot and adds a list item; returns the slot, or -1 when all ten are used.
    int AddRow(const wchar_t* name, UINT bitmapId, const wchar_t* spare, const wchar_t* description, int t1, int t2,
               int t3, int t4, int count);
    // Frees every row and deletes the items.
    void RemoveAllRows();
    // The columns of both steps: category, description and status, sharing `width` in thirds.
    void InsertCategoryColumns(int width);
    // Update a row (text cut at 1024 characters). With m_bDeferRepaint the list is only marked, and repainted by
    // the next FlushRepaint: a scan reporting thousands of items must not paint thousands of times.
    void SetRowDescription(int row, const wchar_t* text);
    void SetRowCount(int row, int count);
    void FlushRepaint();
    bool m_bDeferRepaint = false;
    const StartScanRow* GetRow(int row) const { return row >= 0 && row < kMaxRows ? m_rows[row].get() : nullptr; }
    int GetHoverRow() const { return m_nHover; }

    // Set by the page before the list is created.
    int m_nRowHeight = 55;

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;

    // NM_CUSTOMDRAW of the list, shared by both steps' pages: the status column in red.
    static void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateResources();
    void TrackHover(CPoint point, bool rearm);
    void RepaintRow(int row);

    std::unique_ptr<StartScanRow> m_rows[kMaxRows];
    int m_nHover = -1;
    bool m_bTracking = false;
    bool m_bDirty = false;
    HBRUSH m_hNormalBrush = nullptr;
    HBRUSH m_hHoverBrush = nullptr;
    HFONT m_hNameFont = nullptr, m_hDescFont = nullptr, m_hCountFont = nullptr, m_hSpareFont = nullptr;
    HBITMAP m_hLevel[5] = {};
    HBITMAP m_hLevelHover[5] = {};
};

// A copy of the bitmap with every pixel of colour `from` painted `to` (null when the bitmap is null).
HBITMAP RecolourBitmap(HBITMAP source, COLORREF from, COLORREF to);
