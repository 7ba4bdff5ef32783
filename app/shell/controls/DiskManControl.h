// CDiskManControl: the cluster map of the disk optimiser. A grid of up to 1024 x 1024 square cells, each painted
// in the colour of the state the page wrote into it (a gradient from white at the top), and a legend column on the
// right. Nothing of the grid is drawn until the page has set both its rows and its columns. The whole picture is
// composed off screen and copied at once.
#pragma once

#include <QMfc.h>

#include <vector>

#include "QGuards.h"

class CDiskManControl : public CStatic {
public:
    static constexpr int kMaxCells = 1024;  // per row and per column
    static constexpr int kColours = 24;
    static constexpr int kLegendEntries = 5;
    // Table entries with a fixed meaning.
    enum { kMapBackground = 20, kLegendBackground = 21, kGridLines = 22, kOuterFrame = 23 };
    // States outside the colour table are painted in this colour.
    static constexpr COLORREF kUnknownStateColour = RGB(0, 0, 0);

    CDiskManControl();
    ~CDiskManControl() override;

    // Grid size; -1 (or anything outside 1..1024) draws no grid.
    void SetGridSize(int rows, int columns);
    int Rows() const { return m_nRows; }
    int Columns() const { return m_nColumns; }

    // Cell states (any int; 1 is empty). Cells outside 1024 x 1024 are ignored (read as 1).
    void SetCell(int row, int column, int state);
    int GetCell(int row, int column) const;
    void FillCells(int state);

    void SetColour(int state, COLORREF colour);
    COLORREF GetColour(int state) const;

    // Legend entry k (0-4): a state's colour box and its name. A state of -1 ends the legend there.
    void SetLegend(int k, int state, const CString& name);
    int LegendCount() const;

    int m_nPenWidth = 1;
    int m_nLegendWidth = 150;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct LegendEntry {
        int state = -1;
        CString name;
    };
    void ResizeBuffer();
    void Compose(HDC dc, const RECT& client);
    void DrawGrid(HDC dc, int mapWidth, int mapHeight);
    void DrawLegend(HDC dc, const RECT& client);
    void FillCell(HDC dc, const RECT& cell, COLORREF colour);
    COLORREF StateColour(int state) const;

    qcore::UniqueGdiObject m_buffer;  // back buffer at the control's size
    SIZE m_bufferSize = {0, 0};
    int m_nRows = -1, m_nColumns = -1;
    COLORREF m_colours[kColours];
    std::vector<int> m_cells;
    LegendEntry m_legend[kLegendEntries];
    CFont m_font;
    qcore::UniqueModule m_msimg32;  // loaded once: GradientFill for every cell
    decltype(&::GradientFill) m_gradientFill = nullptr;
};
