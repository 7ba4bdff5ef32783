#include "UninstallRules.h"

#include "QPathText.h"

namespace uninstall {

bool IsInFolder(const std::wstring& path, const std::wstring& folder)
{
    size_t b = 0, e = path.size();
    while (b < e && (path[b] == L' ' || path[b] == L'"')) ++b;
    while (e > b && (path[e - 1] == L' ' || path[e - 1] == L'"')) --e;
    if (folder.empty() || e - b <= folder.size()) return false;
    return qpath::EqualsNoCase(path.substr(b, folder.size()), folder);
}

}  // namespace uninstall
