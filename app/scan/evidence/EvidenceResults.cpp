#include "EvidenceResults.h"

#include <cwchar>

#include <QPathText.h>

#include "EvidenceCatalog.h"
#include "RepairActions.h"

namespace EvidencePage {

std::wstring LeafText(const Lumbrey::CSysEvidence::ScanResultItem& item)
{
    return item.kind == 1 ? item.filePath : item.keyPath + L"\\" + item.valueName;
}

std::vector<ResultGroup> BuildResultTree(const std::vector<Trace>& traces)
{
    std::vector<size_t> byCategory[kCategoryCount];
    for (size_t i = 0; i < traces.size(); ++i) {
        const int category = traces[i].category;
        if (category >= 0 && category < kCategoryCount) byCategory[category].push_back(i);
    }
    std::vector<ResultGroup> tree;
    for (int group = 0; group < kGroupCount; ++group) {
        ResultGroup node{group, {}};
        for (int category = GroupAt(group).first; category <= GroupAt(group).last; ++category)
            if (!byCategory[category].empty())
                node.categories.push_back(ResultCategory{category, byCategory[category]});
        if (!node.categories.empty()) tree.push_back(std::move(node));
    }
    return tree;
}

CleanPlan PlanClean(const std::vector<Trace>& traces, const std::vector<Leaf>& leaves)
{
    CleanPlan plan;
    bool everyBinEntryTicked = true;
    for (const Leaf& leaf : leaves) {
        if (leaf.trace >= traces.size()) continue;
        const auto& item = traces[leaf.trace].item;
        const bool inBin = Lumbrey::CSysEvidence::IsRecycleBinItem(item);
        if (inBin && !leaf.ticked) everyBinEntryTicked = false;
        if (!leaf.ticked) continue;
        if (inBin)
            plan.recycleBin.push_back(leaf.trace);
        else if (item.kind == 1 ? qpath::IsAbsolutePath(item.filePath) : !item.keyPath.empty())
            plan.oneByOne.push_back(leaf.trace);
        else
            plan.refused.push_back(leaf.trace);
    }
    if (!everyBinEntryTicked) plan.recycleKept.swap(plan.recycleBin);
    plan.emptyRecycleBin = !plan.recycleBin.empty();
    return plan;
}

std::wstring SizeText(unsigned long long bytes)
{
    wchar_t text[64];
    std::swprintf(text, 64, L"%.2f KB", double(bytes) / 1024.0);
    return text;
}

}  // namespace EvidencePage
