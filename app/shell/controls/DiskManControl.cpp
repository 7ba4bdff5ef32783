#include "DiskManControl.h"

#include "ControlMath.h"
#include "ImageButton.h"

namespace {

const COLORREF kDefaultColours[CDiskManControl::kColours] = {
    0x000000, 0xC8C8C8, 0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000,
    0x00FFFF, 0x00FFFF, 0x00FFFF, 0x00FFFF, 0xFF00FF, 0xFF00FF, 0xFFFF00, 0,
    0,        0,        0,        0,        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xA6682C};

void FillSolid(HDC dc, const RECT& r, COLORREF colour)
{
    qcore::UniqueGdiObject brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
}

}  // namespace

CDiskManControl::CDiskManControl() : m_cells(size_t(kMaxCells) * kMaxCells, 1)
{
    for (int i = 0; i < kColours; ++i) m_colours[i] = kDefaultColours[i];
    CreateSkinFont(m_font, 12, FALSE);
    m_msimg32.Reset(::LoadLibraryW(L"msimg32.dll"));
    if (m_msimg32)
        m_gradientFill = reinterpret_cast<decltype(&::GradientFill)>(
            reinterpret_cast<void (*)()>(::GetProcAddress(static_cast<HMODULE>(m_msimg32.Get()), "GradientFill")));
}

CDiskManControl::~CDiskManControl() = default;

void CDiskManControl::SetGridSize(int rows, int columns)
{
    m_nRows = rows;
    m_nColumns = columns;
}

void CDiskManControl::SetCell(int row, int column, int state)
{
    if (row < 0 || column < 0 || row >= kMaxCells || column >= kMaxCells) return;
    m_cells[size_t(row) * kMaxCells + size_t(column)] = state;
}

int CDiskManControl::GetCell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= kMaxCells || column >= kMaxCells) return 1;
    return m_cells[size_t(row) * kMaxCells + size_t(column)];
}

void CDiskManControl::FillCells(int state) { std::fill(m_cells.begin(), m_cells.end(), state); }

void CDiskManControl::SetColour(int state, COLORREF colour)
{
    if (state >= 0 && state < kColours) m_colours[state] = colour;
}

COLORREF CDiskManControl::GetColour(int state) const
{
    return state >= 0 && state < kColours ? m_colours[state] : kUnknownStateColour;
}

COLORREF CDiskManControl::StateColour(int state) const
{
    const int index = ClusterMapColourIndex(state, kColours);
    return index < 0 ? kUnknownStateColour : m_colours[index];
}

void CDiskManControl::SetLegend(int k, int state, const CString& name)
{
    if (k < 0 || k >= kLegendEntries) return;
    m_legend[k].state = state;
    m_legend[k].name = name;
}

int CDiskManControl::LegendCount() const
{
    int n = 0;
    while (n < kLegendEntries && m_legend[n].state != -1) ++n;
    return n;
}

void CDiskManControl::ResizeBuffer()
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const SIZE size = {client.right - client.left, client.bottom - client.top};
    if (size.cx == m_bufferSize.cx && size.cy == m_bufferSize.cy && m_buffer) return;
    m_buffer.Reset();
    m_bufferSize = size;
    if (size.cx <= 0 || size.cy <= 0) return;
    qcore::WindowDc screen(m_hWnd);
    m_buffer.Reset(::CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
}

void CDiskManControl::FillCell(HDC dc, const RECT& cell, COLORREF colour)
{
    if (cell.right <= cell.left || cell.bottom <= cell.top) return;
    if (!m_gradientFill) {
        FillSolid(dc, cell, colour);
        return;
    }
    TRIVERTEX v[2] = {};
    v[0].x = cell.left;
    v[0].y = cell.top;
    v[0].Red = v[0].Green = v[0].Blue = 0xFF00;
    v[1].x = cell.right;
    v[1].y = cell.bottom;
    v[1].Red = COLOR16(GetRValue(colour) << 8);
    v[1].Green = COLOR16(GetGValue(colour) << 8);
    v[1].Blue = COLOR16(GetBValue(colour) << 8);
    GRADIENT_RECT r = {0, 1};
    m_gradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V);
}

void CDiskManControl::DrawGrid(HDC dc, int mapWidth, int mapHeight)
{
    const ClusterMapGrid grid = ClusterMapLayout(mapWidth, mapHeight, m_nRows, m_nColumns);
    if (!grid.valid) return;
    const int s = grid.cellSize, x0 = grid.left, y0 = grid.top;
    const int width = s * m_nColumns, height = s * m_nRows;
    {
        qcore::UniqueGdiObject pen(::CreatePen(PS_SOLID, m_nPenWidth, m_colours[kGridLines]));
        qcore::GdiSelection use(dc, pen.Get());
        for (int r = 0; r <= m_nRows; ++r) {
            ::MoveToEx(dc, x0, y0 + r * s, nullptr);
            ::LineTo(dc, x0 + width, y0 + r * s);
        }
        for (int c = 0; c <= m_nColumns; ++c) {
            ::MoveToEx(dc, x0 + c * s, y0, nullptr);
            ::LineTo(dc, x0 + c * s, y0 + height);
        }
    }
    {
        qcore::UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, m_colours[kOuterFrame]));
        qcore::GdiSelection usePen(dc, pen.Get());
        qcore::GdiSelection useBrush(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, x0, y0, x0 + width + 1, y0 + height + 1);
    }
    for (int r = 0; r < m_nRows; ++r) {
        for (int c = 0; c < m_nColumns; ++c) {
            const int x = x0 + c * s, y = y0 + r * s;
            const RECT cell = {x + m_nPenWidth, y + m_nPenWidth, x + s, y + s};
            FillCell(dc, cell, StateColour(GetCell(r, c)));
        }
    }
}

void CDiskManControl::DrawLegend(HDC dc, const RECT& client)
{
    const RECT column = {client.right - m_nLegendWidth, client.top, client.right, client.bottom};
    FillSolid(dc, column, m_colours[kLegendBackground]);
    qcore::GdiSelection useFont(dc, m_font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    for (int k = 0; k < LegendCount(); ++k) {
        const RECT box = {column.left + 10, client.top + 20 + 20 * k, column.left + 20, client.top + 30 + 20 * k};
        FillSolid(dc, box, RGB(0, 0, 0));
        const RECT inside = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
        FillSolid(dc, inside, StateColour(m_legend[k].state));
        RECT text = {box.right + 10, box.top - 5, client.right, box.bottom + 5};
        ::DrawTextW(dc, m_legend[k].name, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void CDiskManControl::Compose(HDC dc, const RECT& client)
{
    const int mapWidth = client.right - client.left - m_nLegendWidth;
    const int mapHeight = client.bottom - client.top;
    const RECT map = {client.left, client.top, client.left + (mapWidth > 0 ? mapWidth : 0), client.bottom};
    FillSolid(dc, map, m_colours[kMapBackground]);
    DrawGrid(dc, mapWidth, mapHeight);
    DrawLegend(dc, client);
}

LRESULT CDiskManControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_WINDOWPOSCHANGED: ResizeBuffer(); break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        ResizeBuffer();
        const HDC target = reinterpret_cast<HDC>(wParam);
        if (!m_buffer) return TRUE;
        qcore::UniqueMemoryDc memory(::CreateCompatibleDC(target));
        qcore::GdiSelection use(memory.Get(), m_buffer.Get());
        Compose(memory.Get(), client);
        ::BitBlt(target, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    }
    return CStatic::WindowProc(message, wParam, lParam);
}
