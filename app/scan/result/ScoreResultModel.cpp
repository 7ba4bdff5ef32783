#include "ScoreResultModel.h"

std::vector<int> ScoreResultListsFor(long long category)
{
    std::vector<int> lists{0};
    if (category >= 1 && category <= 4) lists.push_back(int(category));
    return lists;
}

std::vector<ShapeCut> ComputeShapeCuts(int width, int height, int leftColumns, int rightColumns,
                                       const std::function<bool(int x, int y)>& isKey)
{
    std::vector<ShapeCut> cuts;
    if (width <= 0 || height <= 0) return cuts;
    auto cutColumn = [&](int x) {
        int top = 0;
        while (top < height && isKey(x, top)) ++top;
        if (top == height) {
            cuts.push_back(ShapeCut{x, 0, height});
            return;
        }
        if (top > 0) cuts.push_back(ShapeCut{x, 0, top});
        int bottom = height;
        while (bottom > top && isKey(x, bottom - 1)) --bottom;
        if (bottom < height) cuts.push_back(ShapeCut{x, bottom, height});
    };
    int left = leftColumns < width ? leftColumns : width;
    for (int x = 0; x < left; ++x) cutColumn(x);
    int firstRight = width - rightColumns;
    if (firstRight < left) firstRight = left;
    for (int x = firstRight; x < width; ++x) cutColumn(x);
    return cuts;
}
