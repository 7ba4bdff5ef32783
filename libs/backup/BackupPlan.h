// Planning a folder backup: which files and folders become entries, in which order.
#pragma once

#include "ColdrithApi.h"
#include "zip/ZipPlatform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Coldrith {
// One planned archive entry.
struct CAddInfo {
    std::wstring m_strPath;  // full path
    bool m_bFolder = false;
    uint64_t m_uSize = 0;  // 0 for folders
    Zip::FileInfo m_info;  // time, attributes and size as the walk found them
};

struct CBackupPlan {
    std::vector<CAddInfo> entries;
    uint64_t totalBytes = 0;
    std::vector<std::wstring> problems;  // sources or files left out, one line each
};

// Walks the sources in order: a file is one entry; a folder contributes, level by level, its plain files
// first, then each sub-folder entry followed by its contents (the source folder itself gets no entry).
// Left out and reported: unreadable sources, files of 4 GiB or more; left out silently: the archive itself,
// links to folders (reparse points) and a second source giving the same stored name.
COLDRITH_API void PlanBackup(const std::vector<std::wstring>& sources, const std::wstring& archivePath,
                             CBackupPlan& plan);
}  // namespace Coldrith
