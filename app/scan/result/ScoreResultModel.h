// Pure rules of the scan result dialog: which lists an item goes to, and the window shape cut from its bitmap.
#pragma once

#include <functional>
#include <vector>

// The five lists: 0 all items, 1 registry, 2 privacy traces, 3 junk files, 4 invalid shortcuts.
const int kScoreResultListCount = 5;

// Indexes of the lists an item of this category is appended to (the all-items list always, first).
std::vector<int> ScoreResultListsFor(long long category);

// A vertical run of pixels cut out of the window shape.
struct ShapeCut {
    int x;
    int top;     // first row cut
    int bottom;  // one past the last row cut
    bool operator==(const ShapeCut& o) const { return x == o.x && top == o.top && bottom == o.bottom; }
};

// For the first leftColumns and the last rightColumns columns of a width x height picture: the key-coloured run from
// the top down to the first other pixel, and the one from the last other pixel down to the bottom. A column of key
// colour only is cut whole, once.
std::vector<ShapeCut> ComputeShapeCuts(int width, int height, int leftColumns, int rightColumns,
                                       const std::function<bool(int x, int y)>& isKey);
