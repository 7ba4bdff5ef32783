// Pure rules of the scan result dialog: which lists an item goes to.
#pragma once

#include <vector>

// The five lists: 0 all items, 1 registry, 2 privacy traces, 3 junk files, 4 invalid shortcuts. Broken file
// associations (category 5) and unknown categories have no list of their own: they show among all items.
const int kScoreResultListCount = 5;

// Indexes of the lists an item of this category is appended to (the all-items list always, first).
std::vector<int> ScoreResultListsFor(long long category);
