#include "RepairConfirmation.h"

#include "ScanCategories.h"

namespace OneClick {

std::wstring RepairAllQuestion(const ScanCounts& counts, const std::wstring& registryBackup,
                               const TextTranslator& translate)
{
    if (counts.Total() <= 0) return std::wstring();
    std::wstring text = translate(L"IDS_START_REPAIRALL_CONFIRM_INTRO") + L"\n";
    for (int part = 0; part < kPartCount; ++part)
        if (counts[Part(part)] > 0)
            text += L"    " + translate(ScanRow(part).nameKey) + L": " + std::to_wstring(counts[Part(part)]) + L"\n";
    if (counts[kRegistry] > 0)
        text += L"\n" + FillTextArgument(translate(L"IDS_START_REPAIRALL_CONFIRM_BACKUP"), registryBackup) + L"\n";
    return text + L"\n" + translate(L"IDS_START_REPAIRALL_CONFIRM_QUESTION");
}

}  // namespace OneClick
