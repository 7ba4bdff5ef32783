#include "Moravin/ShortCutClean.h"

#include <objbase.h>
#include <wctype.h>

#include <Common.h>

#include "LinkTarget.h"
#include "PathRules.h"
#include "QWorker.h"

namespace Moravin {

namespace {

// Longest path the walk visits: what does not fit is skipped, never cut (a cut path can name another file).
const size_t kMaxPathLength = MAX_PATH - 1;
// Link targets get more room than a path can take, so a target that fills the buffer is known to be cut.
const int kTargetCapacity = 1024;

bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// A name longer than its extension whose last four characters are ".lnk" in any letter case.
bool HasLinkExtension(const wchar_t* name)
{
    size_t length = wcslen(name);
    return length > 4 && qpath::EqualsNoCase(name + length - 4, L".lnk");
}

}  // namespace

CShortCutClean::CShortCutClean() : m_hParentWnd(nullptr), m_bStop(0) {}

CShortCutClean::~CShortCutClean() { StopScan(); }

void CShortCutClean::SetParentWnd(HWND hWnd) { m_hParentWnd = hWnd; }

bool CShortCutClean::FindShortCutLink(std::vector<std::wstring> folders)
{
    // The running worker iterates m_folders: it has to end before the list is replaced.
    StopRunningWorker();

    bool started = false;
    {
        qcore::ScopedLock hold(m_threadLock);
        m_bStop = 0;
        m_folders = std::move(folders);
        m_thread.Reset(qcore::StartThread([this] { ScanThread(this); }));
        started = m_thread.Valid();
    }

    // Callers wait for the done message, so it comes also when there is no worker to send it.
    if (!started) SendMessageW(m_hParentWnd, WM_SHORTCUT_SCAN_DONE, 0, 0);
    return started;
}

void CShortCutClean::FindShortCutLinkNoThread(std::vector<std::wstring> folders)
{
    // Only a stop asked for by this call is taken back; one asked for by the caller stays.
    if (StopRunningWorker()) m_bStop = 0;
    m_folders = std::move(folders);
    ScanThread(this);
}

void CShortCutClean::StopScan()
{
    HANDLE thread = nullptr;
    {
        qcore::ScopedLock hold(m_threadLock);
        m_bStop = 1;
        // A copy of the handle: a scan started meanwhile on the owner's thread may replace m_thread.
        if (m_thread)
            DuplicateHandle(GetCurrentProcess(), m_thread.Get(), GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE, 0);
    }
    qcore::UniqueHandle copy(thread);
    // The worker reports with SendMessageW: the wait serves the messages sent to this thread.
    if (copy) qcore::WaitForHandle(copy.Get(), INFINITE, qcore::Pump::SentOnly);
}

bool CShortCutClean::StopRunningWorker()
{
    bool running = false;
    {
        qcore::ScopedLock hold(m_threadLock);
        running = qcore::IsThreadRunning(m_thread.Get());
    }
    if (running) StopScan();
    return running;
}

DWORD WINAPI CShortCutClean::ScanThread(LPVOID param)
{
    CShortCutClean* self = static_cast<CShortCutClean*>(param);
    // Once for the whole walk; each link read then only adds a reference.
    HRESULT init = CoInitialize(nullptr);
    for (const std::wstring& folder : self->m_folders) {
        if (self->m_bStop) break;
        self->FindLink(folder.c_str());
    }
    if (SUCCEEDED(init)) CoUninitialize();
    SendMessageW(self->m_hParentWnd, WM_SHORTCUT_SCAN_DONE, 0, 0);
    return 0;
}

bool CShortCutClean::FindLink(const wchar_t* folder)
{
    if (!folder) return false;
    // A relative or empty folder would be taken from the current folder or drive: not what was asked for.
    std::wstring path = SBNormalizePathW(std::wstring(folder));
    if (!qpath::IsAbsolutePath(path)) return false;
    if (path.back() == L'\\') path.pop_back();
    qpath::MissingPathRule missingRule;
    return FindLinkIn(path, missingRule);
}

bool CShortCutClean::FindLinkIn(const std::wstring& folder, qpath::MissingPathRule& missingRule)
{
    const std::wstring prefix = folder + L'\\';
    const std::wstring pattern = prefix + L'*';
    if (pattern.size() > kMaxPathLength) return false;

    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        if (m_bStop) break;
        const std::wstring path = prefix + entry.cFileName;
        if (path.size() > kMaxPathLength) continue;
        SendMessageW(m_hParentWnd, WM_SHORTCUT_SCAN_PROGRESS, reinterpret_cast<WPARAM>(path.c_str()), 0);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // Junctions and symbolic links lead out of the requested tree (or round in a loop).
            if (!IsDotEntry(entry.cFileName) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                FindLinkIn(path, missingRule);
        } else if (HasLinkExtension(entry.cFileName)) {
            ExamineLink(path, missingRule);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return true;
}

void CShortCutClean::ExamineLink(const std::wstring& linkPath, qpath::MissingPathRule& missingRule)
{
    wchar_t target[kTargetCapacity] = {};
    if (GetShortCutFile(linkPath.c_str(), target, kTargetCapacity) && m_hParentWnd &&
        missingRule.IsDefinitelyMissing(target)) {
        SendMessageW(m_hParentWnd, WM_SHORTCUT_INVALID_FOUND, reinterpret_cast<WPARAM>(linkPath.c_str()),
                     reinterpret_cast<LPARAM>(target));
    }
}

int CShortCutClean::GetShortCutFile(const wchar_t* link, wchar_t* target, int capacity)
{
    return ReadLinkTarget(link, target, capacity);
}

}  // namespace Moravin
