#include "RestoreStaging.h"

#include "BackupText.h"
#include "QPathText.h"
#include "zip/ZipEntryName.h"

#include <vector>

namespace Coldrith {
namespace {
// Deletes the temporary files a run writes into its staging folder (name.tmp~<n>), then the folder. Anything
// else found there is not ours and stays, and so does the folder.
void EmptyAndRemove(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    qcore::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &fd));
    if (find) {
        std::vector<std::wstring> temps;
        do {
            std::wstring name = fd.cFileName;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.find(L".tmp~") != std::wstring::npos)
                temps.push_back(folder + L"\\" + name);
        } while (FindNextFileW(find.Get(), &fd));
        find.Reset();
        for (const auto& temp : temps) {
            SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(temp.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}

// The journal's record: 'W' and the path below the target of a file being written, or 'D' once it is complete.
const wchar_t kWriting = L'W', kDone = L'D';

// The journal's size in characters: the record and the longest path the system takes.
const size_t kJournalChars = 32768 + 2;

// The partial file a dead run's journal names, "" when there is none.
std::wstring PartialFileOf(const std::wstring& marker)
{
    qcore::UniqueFile file(CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    if (!file) return std::wstring();
    std::vector<wchar_t> text(kJournalChars, L'\0');
    DWORD got = 0;
    if (!ReadFile(file.Get(), text.data(), static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t)), &got, nullptr) ||
        got < 2 * sizeof(wchar_t) || text[0] != kWriting)
        return std::wstring();
    std::wstring relative, reason, stored(text.data() + 1);
    // Only a path inside the target is ever removed.
    return Zip::SafeRelativePath(stored, relative, reason) ? relative : std::wstring();
}
}  // namespace

int CRestoreStaging::RemoveLeftovers(const std::wstring& target)
{
    std::wstring dir = qpath::WithoutTrailingSeparators(target);
    std::vector<std::wstring> candidates;
    WIN32_FIND_DATAW fd;
    qcore::UniqueFind find(FindFirstFileW((dir + L"\\" + NamePrefix() + L"*").c_str(), &fd));
    if (!find) return 0;
    do {
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            candidates.push_back(dir + L"\\" + fd.cFileName);
    } while (FindNextFileW(find.Get(), &fd));
    find.Reset();

    int removed = 0;
    for (const auto& folder : candidates) {
        // Without our marker the folder is the user's (an archive may well hold one of this name). A marker
        // that cannot be deleted is held by a run still going.
        std::wstring partial = PartialFileOf(folder + L"\\" + MarkerName());
        if (!DeleteFileW((folder + L"\\" + MarkerName()).c_str())) continue;
        if (!partial.empty()) DeleteFileW((dir + L"\\" + partial).c_str());
        EmptyAndRemove(folder);
        ++removed;
    }
    return removed;
}

bool CRestoreStaging::Create(const std::wstring& target, const std::set<std::wstring>& takenNames)
{
    Remove();
    std::wstring dir = qpath::WithoutTrailingSeparators(target);
    RemoveLeftovers(dir);
    for (unsigned n = 1; n < 10000; ++n) {
        std::wstring name = NamePrefix() + std::to_wstring(n);
        if (takenNames.count(qpath::FoldCase(name))) continue;
        std::wstring path = dir + L"\\" + name;
        if (!CreateDirectoryW(path.c_str(), nullptr)) {
            if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
            return false;
        }
        // The marker stays open for the whole run, shared for reading only: a later run cannot delete it
        // and so leaves this folder alone while this run lives. It is the journal as well, written through a
        // mapped view: a record per file costs no call into the system, and what is in the view reaches the
        // file even when the process is killed.
        m_marker.Reset(CreateFileW((path + L"\\" + MarkerName()).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                   nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (m_marker)
            m_mapping.Reset(CreateFileMappingW(m_marker.Get(), nullptr, PAGE_READWRITE, 0,
                                               static_cast<DWORD>(kJournalChars * sizeof(wchar_t)), nullptr));
        if (m_mapping) m_journal = static_cast<wchar_t*>(MapViewOfFile(m_mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
        if (!m_journal) {
            m_mapping.Reset();
            m_marker.Reset();
            DeleteFileW((path + L"\\" + MarkerName()).c_str());
            RemoveDirectoryW(path.c_str());
            return false;
        }
        m_path = path;
        m_target = dir + L"\\";
        return true;
    }
    return false;
}

void CRestoreStaging::Writing(const std::wstring& path)
{
    // A path outside the target cannot be recorded; the zip layer never writes one.
    size_t length = path.size() - m_target.size();
    if (!m_journal || path.size() <= m_target.size() || length + 2 > kJournalChars ||
        qpath::FoldCase(path.substr(0, m_target.size())) != qpath::FoldCase(m_target))
        return;
    // The path first, the mark that makes it count last.
    path.copy(m_journal + 1, length, m_target.size());
    m_journal[1 + length] = L'\0';
    m_journal[0] = kWriting;
}

void CRestoreStaging::Written()
{
    if (m_journal) m_journal[0] = kDone;
}

void CRestoreStaging::Remove()
{
    if (m_journal) UnmapViewOfFile(m_journal);
    m_journal = nullptr;
    m_mapping.Reset();
    m_marker.Reset();
    if (m_path.empty()) return;
    SetFileAttributesW((m_path + L"\\" + MarkerName()).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW((m_path + L"\\" + MarkerName()).c_str());
    EmptyAndRemove(m_path);
    m_path.clear();
}
}  // namespace Coldrith
