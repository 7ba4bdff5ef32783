// The question Repair All asks before it starts.
#pragma once

#include <string>

#include "ScanCounts.h"
#include "TextTranslator.h"

namespace OneClick {

// What Repair All will remove or repair, one line per category that has findings ("Registry errors: 12"), the
// registry backup the entries are saved to first (when there are registry entries), and the question. Empty when
// the scan found nothing: there is nothing to ask about.
std::wstring RepairAllQuestion(const ScanCounts& counts, const std::wstring& registryBackup,
                               const TextTranslator& translate);

}  // namespace OneClick
