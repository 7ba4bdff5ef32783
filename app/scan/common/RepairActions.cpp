#include "RepairActions.h"

#include <windows.h>

#include <Common.h>
#include <QExactPath.h>
#include <QPathText.h>

namespace OneClick {

bool RemoveFile(const std::wstring& path)
{
    if (!qpath::IsAbsolutePath(path)) return false;
    if (qcore::DeleteExactFile(path)) return true;
    return ::GetFileAttributesW(qcore::ExactPath(path).c_str()) == INVALID_FILE_ATTRIBUTES &&
           (::GetLastError() == ERROR_FILE_NOT_FOUND || ::GetLastError() == ERROR_PATH_NOT_FOUND);
}

bool RemoveTrace(const Lumbrey::CSysEvidence::ScanResultItem& item)
{
    if (item.kind == 1) {
        if (Lumbrey::CSysEvidence::IsRecycleBinItem(item)) return false;
        return RemoveFile(item.filePath);
    }
    if (item.keyPath.empty()) return false;
    SBRegDeleteValueW(HKEY_CURRENT_USER, item.keyPath.c_str(), item.valueName.c_str());
    return !SBRegValueExistW(HKEY_CURRENT_USER, item.keyPath.c_str(), item.valueName.c_str());
}

std::wstring TraceText(const Lumbrey::CSysEvidence::ScanResultItem& item)
{
    return item.kind == 1 ? item.filePath : item.keyPath;
}

}  // namespace OneClick
