#include "PagingFiles.h"

#include <stdlib.h>

namespace Moravin {

std::vector<std::wstring> RewritePagingFiles(const std::vector<std::wstring>& entries)
{
    std::vector<std::wstring> result = entries;
    for (std::wstring& entry : result) {
        const size_t blank = entry.find(L' ');
        if (blank == std::wstring::npos) break;
        const std::wstring path = entry.substr(0, blank);
        const std::wstring rest = entry.substr(blank + 1);
        const size_t nextBlank = rest.find(L' ');
        // "path 4096" keeps its one size: a lone number is the initial size, not a missing one.
        const std::wstring initial = nextBlank == std::wstring::npos ? rest : rest.substr(0, nextBlank);
        int size = _wtoi(initial.c_str());
        if (size < kMinPagingFileMb) size = kMinPagingFileMb;
        const std::wstring number = std::to_wstring(size);
        entry = path + L" " + number + L" " + number;
    }
    return result;
}

}  // namespace Moravin
