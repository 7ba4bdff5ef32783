// The traces of a privacy-trace scan as the result page shows them, and what cleaning the ticked ones does.
// Traces are grouped by the category number the scan ran them under, never by a display text.
#pragma once

#include <string>
#include <vector>

#include "SysEvidence.h"

namespace EvidencePage {

struct Trace {
    Lumbrey::CSysEvidence::ScanResultItem item;
    int category;  // number 0..59 the scan ran
};

// A leaf's text: the file path of a file trace, the key path, "\" and the value name of a registry trace.
std::wstring LeafText(const Lumbrey::CSysEvidence::ScanResultItem& item);

// The result tree as data: groups in their order, each with its categories that hold traces (in number order),
// each with its traces in the order found. Empty categories and groups are left out; numbers outside 0..59 too.
struct ResultCategory {
    int category;
    std::vector<size_t> traces;  // indexes into the trace list
};
struct ResultGroup {
    int group;
    std::vector<ResultCategory> categories;
};
std::vector<ResultGroup> BuildResultTree(const std::vector<Trace>& traces);

// One leaf still in the tree and whether it is ticked.
struct Leaf {
    size_t trace;
    bool ticked;
};

struct CleanPlan {
    std::vector<size_t> oneByOne;     // ticked traces deleted each on its own: files and registry values
    std::vector<size_t> recycleBin;   // ticked recycle-bin entries, removed by emptying the bin
    bool emptyRecycleBin = false;     // true only when every recycle-bin leaf is ticked
    std::vector<size_t> recycleKept;  // ticked recycle-bin entries kept because others are not ticked
    std::vector<size_t> refused;      // ticked traces never deleted: no absolute file path, no key path
    bool Empty() const { return oneByOne.empty() && recycleBin.empty() && recycleKept.empty() && refused.empty(); }
};
// The bin can only be emptied as a whole: it is emptied when every recycle-bin leaf is ticked, and never
// otherwise. A file trace is deleted only through an absolute path.
CleanPlan PlanClean(const std::vector<Trace>& traces, const std::vector<Leaf>& leaves);

// Sum of trace sizes in KB as the size labels show it ("%.2f KB").
std::wstring SizeText(unsigned long long bytes);

}  // namespace EvidencePage
