#include "JunkFileScanner.h"

#include <Common.h>

#include <cwctype>

#include "FileSystemUtil.h"
#include "FolderWalk.h"
#include "QPathText.h"

namespace Lumbrey {

std::vector<std::wstring> CJunkFileScanner::m_junkfileExts;
bool CJunkFileScanner::m_bInitialized = false;

namespace {

// The default list; "?" and "$" are ordinary characters, ".$$$" is listed twice on purpose (kept as shipped).
const wchar_t* const kDefaultJunkExts[] = {
    L".swp", L".$$$", L".tmp", L".temp", L".??~", L".sik", L".db$", L".nch", L".pch", L".ncb",
    L".ilk", L".exp", L".ilc", L".ild",  L".ils", L".ilf", L".tds", L".gid", L".fts", L".ftg",
    L".err", L".$$$", L".chk", L"._dd",  L".diz", L".prv", L".old", L".bak", L".nu3",
};

}  // namespace

bool IsJunkFileName(const std::wstring& path, const std::vector<std::wstring>& exts)
{
    const std::wstring ext = SBGetFileExtW(path.c_str());
    if (ext.empty()) return false;
    for (const std::wstring& candidate : exts) {
        if (qpath::EqualsNoCase(ext, candidate)) return true;
    }
    return false;
}

CJunkFileScanner::CJunkFileScanner() : m_hWnd(NULL), m_bScanning(false) { InitializeStaticMembers(); }

CJunkFileScanner::~CJunkFileScanner() { StopScan(); }

void CJunkFileScanner::InitializeStaticMembers()
{
    // Objects may be built on several threads at once: fill the list exactly once.
    static const bool filled = [] {
        m_junkfileExts.assign(std::begin(kDefaultJunkExts), std::end(kDefaultJunkExts));
        m_bInitialized = true;
        return true;
    }();
    (void)filled;
}

std::vector<std::wstring> CJunkFileScanner::GetExtList() { return m_junkfileExts; }

void CJunkFileScanner::ScanJunkFile(const std::vector<std::wstring>& folders, HWND wnd)
{
    ScanJunkFile(folders, m_junkfileExts, wnd);
}

void CJunkFileScanner::ScanJunkFile(const std::vector<std::wstring>& folders, const std::vector<std::wstring>& exts,
                                    HWND wnd)
{
    if (!IsWindow(wnd)) return;
    // One worker per object: a running scan ends (with its own DONE) before the next one starts.
    StopScan();
    {
        qcore::ScopedLock hold(m_cs);
        m_folders = folders;
        m_exts = exts;
        m_hWnd = wnd;
    }

    // The caller waits for DONE: it must come even when no worker could start.
    if (!m_worker.Start([this] { DoScan(); })) SendMessageW(wnd, WM_JUNKSCAN_DONE, 0, 0);
}

void CJunkFileScanner::StopScan()
{
    // The worker reports with SendMessageW: the wait serves the messages sent to this thread.
    m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly);
}

DWORD WINAPI CJunkFileScanner::ScanThreadFunc(LPVOID param)
{
    static_cast<CJunkFileScanner*>(param)->DoScan();
    return 0;
}

void CJunkFileScanner::DoScan()
{
    std::vector<std::wstring> folders, exts;
    HWND wnd = NULL;
    {
        qcore::ScopedLock hold(m_cs);
        folders = m_folders;
        exts = m_exts;
        wnd = m_hWnd;
    }

    m_bScanning = true;
    for (const std::wstring& folder : folders) {
        if (m_worker.StopRequested()) break;
        _ScanDirectory(folder, exts, wnd);
    }
    m_bScanning = false;
    SendMessageW(wnd, WM_JUNKSCAN_DONE, 0, 0);
}

void CJunkFileScanner::_ScanDirectory(const std::wstring& folder, const std::vector<std::wstring>& exts, HWND wnd)
{
    std::wstring dir = SBNormalizePathW(folder);
    if (!dir.empty() && dir.back() == L'\\') dir.pop_back();
    // An empty folder would list the current drive's root.
    if (dir.empty()) return;

    ListFolder(dir, [&](const FolderEntry& entry) {
        if (m_worker.StopRequested()) return false;
        if (entry.IsFolder() && !entry.IsLink()) {
            _ScanDirectory(entry.path, exts, wnd);
            return true;
        }
        SendMessageW(wnd, WM_JUNKSCAN_CURRENT_FILE, reinterpret_cast<WPARAM>(entry.path.c_str()), 0);
        // A linked folder is met but not entered (it could lead out of the tree or loop).
        if (entry.IsFolder()) return true;
        // Extension first: only candidates are opened (the open blocks other processes for a moment).
        if (_IsJunkFile(entry.path, exts) && OpensExclusively(entry.path))
            SendMessageW(wnd, WM_JUNKSCAN_FILE_FOUND, reinterpret_cast<WPARAM>(entry.path.c_str()), 0);
        return true;
    });
}

bool CJunkFileScanner::_IsJunkFile(const std::wstring& path, const std::vector<std::wstring>& exts) const
{
    return IsJunkFileName(path, exts);
}

}  // namespace Lumbrey
