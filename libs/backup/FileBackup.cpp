#include "FileBackup.h"

#include "BackupProgress.h"
#include "BackupText.h"
#include "QPathText.h"
#include "zip/ZipPlatform.h"

#include <commctrl.h>

#include <climits>

namespace Coldrith {
namespace {
void SendProgress(CProgressInfo& info, uint64_t done)
{
    int value = ProgressPermyriad(done, info.m_uTotal);
    if (!info.m_hNotify || !info.m_throttle.ShouldSend(value, GetTickCount())) return;
    SendMessageW(info.m_hNotify, WM_FILEBACKUP_PROGRESS, static_cast<WPARAM>(value), 0);
}
}  // namespace

int LevelFromChoice(int compression)
{
    switch (compression) {
    case 0: return 1;
    case 2: return 9;
    default: return -1;
    }
}

CFileBackup::CFileBackup() {}

CFileBackup::~CFileBackup() { m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly); }

void CFileBackup::SetParentWnd(HWND parent) { m_hParentWnd = parent; }

void CFileBackup::SetProgressCtrl(HWND progress) { m_hProgress = progress; }

bool CFileBackup::ZipFiles(const std::wstring& folder, const std::wstring& name, std::vector<std::wstring>& sources,
                           int compression)
{
    if (!m_hParentWnd) return false;
    m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly);
    m_strFolder = folder;
    m_strName = name;
    m_sources = sources;
    m_iCompression = compression;
    return m_worker.Start([this] { BackupThread(this); });
}

void CFileBackup::StopZipProcess() { m_worker.RequestStop(); }

bool CFileBackup::Callback(uint32_t, uint32_t done, void* userData)
{
    CProgressInfo* info = static_cast<CProgressInfo*>(userData);
    SendProgress(*info, info->m_uDone + done);
    return true;
}

DWORD WINAPI CFileBackup::BackupThread(LPVOID param)
{
    CFileBackup* self = static_cast<CFileBackup*>(param);
    int failures = self->Run();
    SendMessageW(self->m_hParentWnd, WM_FILEBACKUP_DONE, 0, static_cast<LPARAM>(failures));
    return 0;
}

int CFileBackup::Run()
{
    m_errors.clear();
    std::wstring path = qpath::WithoutTrailingSeparators(m_strFolder) + L"\\" + m_strName + L".fbk";

    CBackupPlan plan;
    PlanBackup(m_sources, path, plan);
    m_errors = plan.problems;
    int failures = static_cast<int>(plan.problems.size());
    if (plan.entries.size() > CZipCentralDir::maxEntries) {
        m_errors.push_back(L"more than 65535 files and folders: an archive cannot hold them, nothing was written");
        return failures + static_cast<int>(plan.entries.size());
    }

    CProgressInfo info;
    info.m_uTotal = plan.totalBytes;
    info.m_hProgress = m_hProgress;
    info.m_hNotify = m_hProgress ? GetParent(m_hProgress) : m_hParentWnd;
    if (m_hProgress)
        SendMessageW(m_hProgress, PBM_SETRANGE32, 0,
                     static_cast<LPARAM>(plan.totalBytes > INT_MAX ? INT_MAX : plan.totalBytes));
    int level = LevelFromChoice(m_iCompression);

    size_t next = 0;
    try {
        m_zip.Open(path, CZipArchive::zipCreate);
        for (; next < plan.entries.size() && !m_worker.StopRequested(); ++next) {
            const CAddInfo& entry = plan.entries[next];
            try {
                // The walk's time, attributes and size: no second look at each file before it is read.
                if (!m_zip.AddFile(entry.m_strPath, entry.m_info, entry.m_bFolder ? 0 : level, true,
                                   &CFileBackup::Callback, &info, 65535)) {
                    m_errors.push_back(entry.m_strPath + L": cannot be read, not backed up");
                    ++failures;
                }
            } catch (const CZipException& e) {
                if (e.m_iCause != CZipException::tooBig) throw;
                // Only this file does not fit the archive's limits: drop what it wrote and go on, since the
                // files after it may well fit.
                m_zip.AbortEntry();
                m_errors.push_back(entry.m_strPath + L": too large for the archive (" + WidenAscii(e.what()) +
                                   L"), not backed up");
                ++failures;
            }
            info.m_uDone += entry.m_uSize;
        }
        failures += static_cast<int>(plan.entries.size() - next);
        m_zip.Close();
        if (next == plan.entries.size()) SendProgress(info, info.m_uTotal);
    } catch (const CZipException& e) {
        m_errors.push_back(e.GetErrorDescription());
        failures = FailWhole(path, plan);
    } catch (const std::exception& e) {
        m_errors.push_back(WidenAscii(e.what()));
        failures = FailWhole(path, plan);
    }
    return failures;
}

int CFileBackup::FailWhole(const std::wstring& path, const CBackupPlan& plan)
{
    // An archive without its directory is of no use: nothing of this run was backed up.
    m_zip.Close(true);
    Zip::RemoveFile(path);
    int failures = static_cast<int>(plan.problems.size() + plan.entries.size());
    return failures > 0 ? failures : 1;
}
}  // namespace Coldrith
