// Rules of the home page and of the category list both one-click steps show.
#pragma once

namespace Home {

// Status text key of the home page: 61 and up high, 1 to 60 low, 0 unknown (a score of 0 means "never scored").
const wchar_t* HomeStatusKey(int score);
// True when the score text shows "IDS_START_UNKONWSCROE" instead of the number.
inline bool HomeScoreUnknown(int score) { return score <= 0; }

// Level 0 to 4 of a row's status image (image 472 + level): the first threshold the count stays below.
int ScanRowLevel(int count, const int thresholds[4]);

// One category row of the list, in part order (registry, traces, junk, shortcuts, file associations).
struct ScanRowInfo {
    const wchar_t* nameKey;
    const wchar_t* descriptionKey;  // what the home page puts after the count
    unsigned bitmapId;
    int thresholds[4];
};
const ScanRowInfo& ScanRow(int part);

}  // namespace Home
