// The staging folder of a folder restore: a file that replaces one already in the target is written there first
// and moved into place only when complete. Its marker file is also the journal of the file being written straight
// under its final name, so the next run removes what a killed run left half-written.
#pragma once

#include "ColdrithApi.h"
#include "zip/ZipArchive.h"

#include <QGuards.h>

#include <windows.h>

#include <set>
#include <string>

namespace Coldrith {
class COLDRITH_API CRestoreStaging : public CZipExtractJournal {
public:
    CRestoreStaging() {}
    ~CRestoreStaging() override { Remove(); }
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

    // The journal: the file below the target being written now, and that it is complete.
    void Writing(const std::wstring& path) override;
    void Written() override;

    // Staging folders of this library left in target by runs that were killed, with the partial file their
    // journal names: recognised by their marker file, which a living run holds open without delete sharing.
    // Returns how many were removed.
    static int RemoveLeftovers(const std::wstring& target);

    static const wchar_t* NamePrefix() { return L"coldrith-staging~"; }
    static const wchar_t* MarkerName() { return L"coldrith-staging.lock"; }

private:
    std::wstring m_path;
    std::wstring m_target;  // what the journal's paths are relative to, with a trailing backslash
    qcore::UniqueFile m_marker;
    qcore::UniqueHandle m_mapping;
    wchar_t* m_journal = nullptr;  // the marker's mapped view: 'W' or 'D', then the path
};
}  // namespace Coldrith
