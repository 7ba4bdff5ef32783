// The privacy-trace page's category tree: four groups and the categories 0 to 59, each with its dictionary key,
// and the scanner operation that runs it. Traces are placed by these numbers, never by a translated text.
#pragma once

#include <string>

namespace EvidencePage {

const int kCategoryCount = 60;
const int kGroupCount = 4;

// Scanner operations, one per group, in the order of the groups.
enum class Dispatcher { InternetExplorer, WindowsSoftware, WindowsSystem, InternetSoftware };

struct GroupInfo {
    const wchar_t* key;
    int first;  // first category number of the group
    int last;   // last category number of the group
    Dispatcher dispatcher;
};

const GroupInfo& GroupAt(int group);
// The group of a category number, -1 for a number outside 0..59.
int GroupOf(int category);
// Dictionary key of a category's label.
const wchar_t* CategoryKey(int category);
const wchar_t* RootKey();

// A tree label with its count: the text, three blanks and "(N)".
std::wstring LabelWithCount(const std::wstring& text, int count);

}  // namespace EvidencePage
