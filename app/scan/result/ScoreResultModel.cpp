#include "ScoreResultModel.h"

std::vector<int> ScoreResultListsFor(long long category)
{
    std::vector<int> lists{0};
    if (category >= 1 && category <= 4) lists.push_back(int(category));
    return lists;
}
