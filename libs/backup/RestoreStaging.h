// The staging folder of a folder restore: entries are written there first and moved into the target only
// when they are complete, so a failed entry leaves nothing in the target.
#pragma once

#include "ColdrithApi.h"

#include <QGuards.h>

#include <windows.h>

#include <set>
#include <string>

namespace Coldrith
{
class COLDRITH_API CRestoreStaging
{
public:
    CRestoreStaging() {}
    ~CRestoreStaging() { Remove(); }
    CRestoreStaging(const CRestoreStaging&) = delete;
    CRestoreStaging& operator=(const CRestoreStaging&) = delete;

    // Removes what killed runs left in target, then makes a staging folder whose name is none of takenNames
    // (the archive's entry names, upper-cased), so no entry can be restored under it. False when the folder
    // cannot be made; the restore then writes its temporary files beside their targets.
    bool Create(const std::wstring& target, const std::set<std::wstring>& takenNames);
    // Empty when there is no staging folder.
    const std::wstring& Path() const { return m_path; }
    // Removes the staging folder with its marker (any temporary file still inside it too).
    void Remove();

    // Staging folders of this library left in target by runs that were killed: recognised by their marker
    // file, which a living run holds open without delete sharing. Returns how many were removed.
    static int RemoveLeftovers(const std::wstring& target);

    static const wchar_t* NamePrefix() { return L"coldrith-staging~"; }
    static const wchar_t* MarkerName() { return L"coldrith-staging.lock"; }

private:
    std::wstring m_path;
    qcore::UniqueFile m_marker;
};
}
