#include "BackupPlan.h"

#include "BackupText.h"
#include "QPathText.h"

#include "zip/ZipEntryName.h"

#include <windows.h>

#include <set>

namespace Coldrith {
namespace {
const uint64_t maxEntrySize = 0xFFFFFFFEu;

std::wstring StripTrailingSeparators(std::wstring path)
{
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/') && !(path.size() == 3 && path[1] == L':'))
        path.pop_back();
    return path;
}

Zip::FileInfo InfoOf(DWORD attributes, const FILETIME& written, DWORD sizeHigh, DWORD sizeLow)
{
    return Zip::MakeFileInfo(attributes, (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime,
                             (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow);
}

class CPlanner {
public:
    CPlanner(const std::wstring& archive, CBackupPlan& plan)
        : m_archive(qpath::FoldCase(FullPath(archive))), m_plan(plan)
    {
    }

    void AddFile(const std::wstring& path, const Zip::FileInfo& info)
    {
        if (qpath::FoldCase(FullPath(path)) == m_archive || !NewStoredName(path, false)) return;
        if (info.size > maxEntrySize) {
            m_plan.problems.push_back(path + L": file of 4 GiB or more, not backed up");
            return;
        }
        m_plan.entries.push_back(CAddInfo{path, false, info.size, info});
        m_plan.totalBytes += info.size;
    }

    void AddFolderEntry(const std::wstring& path, const Zip::FileInfo& info)
    {
        if (NewStoredName(path, true)) m_plan.entries.push_back(CAddInfo{path, true, 0, info});
    }

    void Walk(const std::wstring& folder)
    {
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE) {
            m_plan.problems.push_back(folder + L": folder cannot be read");
            return;
        }
        std::vector<std::pair<std::wstring, Zip::FileInfo>> subFolders;
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = folder + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    subFolders.emplace_back(full, InfoOf(fd.dwFileAttributes, fd.ftLastWriteTime, 0, 0));
            } else
                AddFile(full, InfoOf(fd.dwFileAttributes, fd.ftLastWriteTime, fd.nFileSizeHigh, fd.nFileSizeLow));
        } while (FindNextFileW(find, &fd));
        FindClose(find);
        for (const auto& sub : subFolders) {
            AddFolderEntry(sub.first, sub.second);
            Walk(sub.first);
        }
    }

private:
    bool NewStoredName(const std::wstring& path, bool folder)
    {
        std::wstring key = qpath::FoldCase(Zip::StoredPathFromFull(path)) + (folder ? L"\\" : L"");
        return m_seen.insert(key).second;
    }

    std::wstring m_archive;
    CBackupPlan& m_plan;
    std::set<std::wstring> m_seen;
};
}  // namespace

void PlanBackup(const std::vector<std::wstring>& sources, const std::wstring& archivePath, CBackupPlan& plan)
{
    CPlanner planner(archivePath, plan);
    for (const auto& source : sources) {
        std::wstring path = StripTrailingSeparators(source);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
            plan.problems.push_back(source + L": cannot be read, not backed up");
            continue;
        }
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                planner.Walk(path.size() == 3 ? path.substr(0, 2) : path);
        } else
            planner.AddFile(path,
                            InfoOf(data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow));
    }
}
}  // namespace Coldrith
