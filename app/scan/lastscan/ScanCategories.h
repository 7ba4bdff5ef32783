// Rules that the home page and the one-click scan step share: the five category rows of their list and what a
// health score says.
#pragma once

namespace OneClick {

// Status text key of a health score: "IDS_START_HIGHSTATUS" from 60 up, else "IDS_START_LOWSSTATUS". Both steps
// use it, so a score reads the same at the end of a scan and on the home page afterwards.
const wchar_t* ScoreStatusKey(int score);
// A stored score of 0 means "never scored": the home page shows the unknown texts instead of the number.
inline bool StoredScoreUnknown(int score) { return score <= 0; }
// Status text key of a stored score: the unknown status for a score that is unknown, else ScoreStatusKey.
const wchar_t* StoredScoreStatusKey(int score);

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

}  // namespace OneClick
