// Pure rules of the skinned controls, kept apart from their windows.
#pragma once

// Check box: a click in the square toggles unchecked (0) and checked (1); every other state stays.
int CheckBoxStateAfterClick(int state);

// Next animation frame: wraps to 0 when the list holds no frame at the next index.
int NextFrameIndex(int current, int frameCount);

// Progress bar: position clamped to [min, max] (min when the range is empty or inverted).
int ClampProgressPos(int pos, int min, int max);

// Width in pixels of the bar bitmap's target, 0 when nothing is drawn (position at min, or an empty range).
int ProgressBarWidth(int pos, int min, int max, int clientWidth);

// Cluster map: where the grid of square cells sits in the map area. Valid only for 1 <= rows, columns <= 1024 and
// a map area wide and high enough for cells of at least one pixel; the grid is centred.
struct ClusterMapGrid {
    bool valid;
    int cellSize;
    int left, top;
};
ClusterMapGrid ClusterMapLayout(int mapWidth, int mapHeight, int rows, int columns);
// The colour-table index a cell state is painted with; -1 for a state outside the table (painted in a fixed
// colour, while the cell keeps its value).
int ClusterMapColourIndex(int state, int tableSize);
