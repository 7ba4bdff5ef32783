#include "ControlMath.h"

int CheckBoxStateAfterClick(int state)
{
    if (state == 0) return 1;
    if (state == 1) return 0;
    return state;
}

int NextFrameIndex(int current, int frameCount)
{
    int next = current + 1;
    return (next < 0 || next >= frameCount) ? 0 : next;
}

int ClampProgressPos(int pos, int min, int max)
{
    if (max <= min) return min;
    if (pos < min) return min;
    if (pos > max) return max;
    return pos;
}

int ProgressBarWidth(int pos, int min, int max, int clientWidth)
{
    if (max <= min || clientWidth <= 2) return 0;
    pos = ClampProgressPos(pos, min, max);
    if (pos == min) return 0;
    double fraction = double(pos - min) / double(max - min);
    // The bitmap is stretched to (bar width - 1) pixels starting at x = 1.
    int barWidth = int(double(clientWidth - 2) * fraction + 1.0);
    return barWidth - 1 > 0 ? barWidth - 1 : 0;
}

ClusterMapGrid ClusterMapLayout(int mapWidth, int mapHeight, int rows, int columns)
{
    ClusterMapGrid grid = {false, 0, 0, 0};
    if (rows < 1 || columns < 1 || rows > 1024 || columns > 1024 || mapWidth <= 0 || mapHeight <= 0) return grid;
    const int byWidth = (mapWidth - mapWidth % columns) / columns;
    const int byHeight = (mapHeight - mapHeight % rows) / rows;
    grid.cellSize = byWidth < byHeight ? byWidth : byHeight;
    if (grid.cellSize < 1) return grid;
    grid.valid = true;
    grid.left = (mapWidth - grid.cellSize * columns) / 2;
    grid.top = (mapHeight - grid.cellSize * rows) / 2;
    return grid;
}

int ClusterMapColourIndex(int state, int tableSize) { return state >= 0 && state < tableSize ? state : -1; }
