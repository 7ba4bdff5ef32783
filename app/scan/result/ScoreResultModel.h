// Pure rules of the scan result dialog: which lists an item goes to.
#pragma once

#include <vector>

// The five lists: 0 all items, 1 registry, 2 privacy traces, 3 junk files, 4 invalid shortcuts.
const int kScoreResultListCount = 5;

// Indexes of the lists an item of this category is appended to (the all-items list always, first).
std::vector<int> ScoreResultListsFor(long long category);
