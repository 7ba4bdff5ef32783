#include "RegistryBackup.h"

#include "RegistryFileCheck.h"

#include <QProcess.h>

namespace Coldrith {
namespace {
const DWORD kRegistryEditorTimeoutMs = 10 * 60 * 1000;

ULONGLONG FileTimeValue(const FILETIME& t)
{
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// An export counts only when its file is there, holds data and was written by this run (a file of the same name
// from before must not pass for a new backup). Two seconds of slack for file systems with coarse times.
bool ExportWritten(const std::wstring& file, const FILETIME& started)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0) return false;
    return FileTimeValue(data.ftLastWriteTime) + 2ull * 10000000ull >= FileTimeValue(started);
}
}  // namespace

std::wstring RegFileFromArgument(const std::wstring& argument)
{
    std::wstring text = argument;
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
    std::wstring file;
    size_t start = 0;
    if (text.compare(0, 4, L"\\\\\\\\") == 0) {
        file = L"\\\\";
        start = 4;
    } else if (text.compare(0, 2, L"\\\\") == 0) {
        file = L"\\\\";
        start = 2;
    }
    for (size_t i = start; i < text.size(); ++i) {
        file += text[i];
        if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'\\') ++i;
    }
    return file;
}

std::wstring RegistryEditorPath()
{
    wchar_t folder[MAX_PATH];
    UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::wstring();
    std::wstring path(folder, n);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + L"regedit.exe";
}

CRegistryBackup::~CRegistryBackup() { m_worker.Wait(INFINITE, qcore::Pump::SentOnly); }

bool CRegistryBackup::BackupRegistry(std::wstring path) { return Start(kExport, path); }

bool CRegistryBackup::RestoreRegistry(std::wstring path) { return Start(kImport, path); }

bool CRegistryBackup::Start(Kind kind, const std::wstring& path)
{
    if (!m_hMessageWnd) return false;
    // One run at a time: the one still going may be blocked sending its message to our caller's window.
    m_worker.Wait(INFINITE, qcore::Pump::SentOnly);
    m_strPath = path;
    return m_worker.Start([this, kind]() { Run(kind); });
}

void CRegistryBackup::Run(Kind kind)
{
    std::wstring file = RegFileFromArgument(m_strPath);
    std::wstring editor = RegistryEditorPath();
    bool ok = !editor.empty() && !file.empty();
    if (ok && kind == kImport && !IsWholeRegistryFile(file))
        ok = false;  // the editor says nothing when the file is missing, and imports what it can of anything else
    FILETIME started;
    GetSystemTimeAsFileTime(&started);
    if (ok) {
        // A whole registry takes minutes at most: an editor that hangs longer (or outlives the program) is ended.
        const qcore::ProgramRun run =
            qcore::RunProgram(editor, (kind == kExport ? L"/e " : L"/s ") + m_strPath, kRegistryEditorTimeoutMs);
        // Wine's editor ends with 0 on failures too: an export is judged by its file; an import that the editor
        // itself says failed did fail.
        ok = run.state == qcore::ProgramRun::Ended &&
             (kind == kExport ? ExportWritten(file, started) : run.exitCode == 0);
    }
    SendMessageW(m_hMessageWnd, WM_REGBACKUP_DONE, reinterpret_cast<WPARAM>(m_strPath.c_str()),
                 ok ? static_cast<LPARAM>(kind) : 0);
}
}  // namespace Coldrith
