// The question Repair All asks: what it removes per category, the registry backup, nothing to ask without findings.
#include <gtest/gtest.h>

#include <map>

#include "RepairConfirmation.h"

using namespace OneClick;

namespace {

std::wstring Texts(const std::wstring& key)
{
    static const std::map<std::wstring, std::wstring> texts = {
        {L"IDS_START_REPAIRALL_CONFIRM_INTRO", L"Removes:"},
        {L"IDS_START_REPAIRALL_CONFIRM_BACKUP", L"Backed up to %s first."},
        {L"IDS_START_REPAIRALL_CONFIRM_QUESTION", L"Go?"},
        {L"IDS_START_SCROE_SCAN0", L"Registry"},
        {L"IDS_START_SCROE_SCAN1", L"Traces"},
        {L"IDS_START_SCROE_SCAN2", L"Junk"},
        {L"IDS_START_SCROE_SCAN3", L"Links"},
        {L"IDS_START_SCROE_SCAN4", L"Associations"},
    };
    auto found = texts.find(key);
    return found == texts.end() ? key : found->second;
}

TEST(RepairAllQuestion, NamesEachCategoryWithFindingsAndTheRegistryBackup)
{
    const std::wstring backup = L"Q:\\regbackup\\regbackup.db";
    struct Case {
        ScanCounts counts;
        const wchar_t* expected;
    } cases[] = {
        {ScanCounts{{0, 0, 0, 0, 0}}, L""},
        {ScanCounts{{12, 0, 3, 0, 0}},
         L"Removes:\n    Registry: 12\n    Junk: 3\n\nBacked up to Q:\\regbackup\\regbackup.db first.\n\nGo?"},
        // Without registry entries there is no backup to name.
        {ScanCounts{{0, 2, 0, 1, 4}}, L"Removes:\n    Traces: 2\n    Links: 1\n    Associations: 4\n\nGo?"},
        {ScanCounts{{1, 1, 1, 1, 1}},
         L"Removes:\n    Registry: 1\n    Traces: 1\n    Junk: 1\n    Links: 1\n    Associations: 1\n\n"
         L"Backed up to Q:\\regbackup\\regbackup.db first.\n\nGo?"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, RepairAllQuestion(c.counts, backup, &Texts));
}

}  // namespace
