#include "JunkWalk.h"

#include <windows.h>

#include "JunkTypeTable.h"
#include "QGuards.h"

namespace JunkPage {

void JunkWalkReport::AddFind(const std::wstring& path, int type)
{
    qcore::ScopedLock hold(m_lock);
    m_finds.push_back(JunkFind{path, type});
}

void JunkWalkReport::SetCurrent(const std::wstring& path)
{
    qcore::ScopedLock hold(m_lock);
    m_current = path;
    m_currentChanged = true;
}

void JunkWalkReport::TakeFinds(std::vector<JunkFind>& out)
{
    qcore::ScopedLock hold(m_lock);
    if (out.empty()) {
        out.swap(m_finds);
        return;
    }
    for (JunkFind& find : m_finds) out.push_back(std::move(find));
    m_finds.clear();
}

bool JunkWalkReport::TakeCurrent(std::wstring& path)
{
    qcore::ScopedLock hold(m_lock);
    if (!m_currentChanged) return false;
    path = m_current;
    m_currentChanged = false;
    return true;
}

void JunkWalkReport::Clear()
{
    qcore::ScopedLock hold(m_lock);
    m_finds.clear();
    m_current.clear();
    m_currentChanged = false;
}

namespace {

bool IsDotEntry(const wchar_t* name) { return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)); }

// One walk: a single path buffer grows and shrinks with the depth, so a file that is neither junk nor due for
// the status line costs no string work at all.
class Walker {
public:
    Walker(const std::wstring& windowsFolder, const std::atomic<bool>& stop, JunkWalkReport& report,
           unsigned statusIntervalMs)
        : m_windows(windowsFolder),
          m_stop(stop),
          m_report(report),
          m_interval(statusIntervalMs),
          m_lastStatus(::GetTickCount() - statusIntervalMs)
    {
    }

    // folder ends in a backslash; it is the same length again on return.
    void Walk(std::wstring& folder)
    {
        if (m_stop.load(std::memory_order_relaxed) || IsProtectedFolder(folder, m_windows)) return;
        const size_t base = folder.size();
        if (base + 1 >= MAX_PATH) return;
        folder += L'*';
        WIN32_FIND_DATAW data;
        qcore::UniqueFind find(::FindFirstFileW(folder.c_str(), &data));
        folder.resize(base);
        if (!find) return;
        do {
            if (m_stop.load(std::memory_order_relaxed)) return;
            const wchar_t* name = data.cFileName;
            if (IsDotEntry(name)) continue;
            const size_t length = wcslen(name);
            if (base + length + 1 >= MAX_PATH) continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
                folder.append(name, length);
                folder += L'\\';
                Walk(folder);
                folder.resize(base);
                continue;
            }
            const int type = MatchJunkType(name, length);
            const DWORD now = ::GetTickCount();
            const bool statusDue = now - m_lastStatus >= m_interval;
            if (type < 0 && !statusDue) continue;
            folder.append(name, length);
            if (type >= 0) m_report.AddFind(folder, type);
            if (statusDue) {
                m_report.SetCurrent(folder);
                m_lastStatus = now;
            }
            folder.resize(base);
        } while (::FindNextFileW(find.Get(), &data));
    }

private:
    const std::wstring& m_windows;
    const std::atomic<bool>& m_stop;
    JunkWalkReport& m_report;
    const DWORD m_interval;
    DWORD m_lastStatus;
};

}  // namespace

bool WalkForJunk(const std::vector<std::wstring>& roots, const std::wstring& windowsFolder,
                 const std::atomic<bool>& stop, JunkWalkReport& report, unsigned statusIntervalMs)
{
    Walker walker(windowsFolder, stop, report, statusIntervalMs);
    std::wstring folder;
    folder.reserve(MAX_PATH);
    for (const std::wstring& root : roots) {
        if (stop.load()) break;
        if (root.empty()) continue;
        folder = root;
        if (folder.back() != L'\\') folder += L'\\';
        walker.Walk(folder);
    }
    return !stop.load();
}

std::wstring WindowsFolderForWalk()
{
    wchar_t expanded[1024] = L"";
    const DWORD length = ::ExpandEnvironmentStringsW(L"%SystemRoot%", expanded, 1024);
    if (length == 0 || length > 1024 || expanded[0] == L'%') return std::wstring();
    std::wstring folder(expanded);
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
}

}  // namespace JunkPage
