#include "ScanCategories.h"

namespace OneClick {

const wchar_t* ScoreStatusKey(int score) { return score >= 60 ? L"IDS_START_HIGHSTATUS" : L"IDS_START_LOWSSTATUS"; }

const wchar_t* StoredScoreStatusKey(int score)
{
    return StoredScoreUnknown(score) ? L"IDS_START_UNKONWSTATUS" : ScoreStatusKey(score);
}

int ScanRowLevel(int count, const int thresholds[4])
{
    for (int level = 0; level < 4; ++level)
        if (count < thresholds[level]) return level;
    return 4;
}

const ScanRowInfo& ScanRow(int part)
{
    static const ScanRowInfo kRows[5] = {
        {L"IDS_START_SCROE_SCAN0", L"IDS_START_REGISTRYFILE", 467, {10, 20, 50, 100}},
        {L"IDS_START_SCROE_SCAN1", L"IDS_START_EVIDENCEFILE", 468, {100, 1000, 2000, 5000}},
        {L"IDS_START_SCROE_SCAN2", L"IDS_START_JUNKFILE", 469, {20, 100, 200, 500}},
        {L"IDS_START_SCROE_SCAN3", L"IDS_START_SHORTCUTFILE", 470, {10, 20, 50, 100}},
        {L"IDS_START_SCROE_SCAN4", L"IDS_START_FILEASSOCAITEFILE", 471, {0, 3, 5, 10}},
    };
    return kRows[part >= 0 && part < 5 ? part : 0];
}

}  // namespace OneClick
