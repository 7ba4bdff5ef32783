#include "FileRestore.h"

#include "BackupPlan.h"
#include "BackupProgress.h"
#include "BackupText.h"
#include "QPathText.h"
#include "RestoreStaging.h"
#include "zip/ZipEntryName.h"
#include "zip/ZipPlatform.h"

#include <ctime>
#include <cwchar>
#include <set>

namespace Coldrith {
std::wstring FormatDosTime(uint16_t dosDate, uint16_t dosTime)
{
    std::tm t = {};
    t.tm_year = 80 + (dosDate >> 9);
    t.tm_mon = ((dosDate >> 5) & 0x0F) - 1;
    t.tm_mday = dosDate & 0x1F;
    t.tm_hour = dosTime >> 11;
    t.tm_min = (dosTime >> 5) & 0x3F;
    t.tm_sec = (dosTime & 0x1F) * 2;
    if (t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday == 0 || t.tm_hour > 23 || t.tm_min > 59 || t.tm_sec > 59) {
        t = std::tm();
        t.tm_year = 80;
        t.tm_mday = 1;
    }
    t.tm_isdst = -1;
    wchar_t text[128];
    size_t n = std::wcsftime(text, sizeof(text) / sizeof(text[0]), L"%d %b %Y, %X", &t);
    return std::wstring(text, n);
}

CFileRestore::CFileRestore() {}

CFileRestore::~CFileRestore() { m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly); }

void CFileRestore::SetParentWnd(HWND parent) { m_hParentWnd = parent; }

bool CFileRestore::OpenZipFile(const std::wstring& path, std::vector<ZipItem>& items)
{
    m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly);
    m_zip.Close(true);
    m_items.clear();
    try {
        m_zip.Open(path, CZipArchive::zipOpenReadOnly);
        for (uint16_t i = 0; i < m_zip.GetCount(); ++i) {
            CZipFileHeader header;
            m_zip.GetEntryInfo(header, i);
            ZipItem item;
            item.name = Zip::LastComponent(header.GetFileName());
            std::wstring reason;
            if (!Zip::SafeRelativePath(header.GetFileName(), item.path, reason)) item.path.clear();
            item.isDirectory = header.IsDirectory();
            item.size = header.m_uUncomprSize;
            item.time = FormatDosTime(header.m_uModDate, header.m_uModTime);
            m_items.push_back(item);
        }
    } catch (const std::exception&) {
        m_zip.Close(true);
        m_items.clear();
        return false;
    }
    items.insert(items.end(), m_items.begin(), m_items.end());
    return true;
}

bool CFileRestore::UnZipFile(const std::wstring& target)
{
    if (!m_hParentWnd) return false;
    m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly);  // one run at a time
    m_strTarget = target;
    return m_worker.Start([this] { RestoreThread(this); });
}

void CFileRestore::StopUnZipProcess() { m_worker.RequestStop(); }

void CFileRestore::SendProgress(uint64_t done)
{
    int value = ProgressPermyriad(done, m_uTotalSize);
    if (!m_throttle.ShouldSend(value, GetTickCount())) return;
    SendMessageW(m_hParentWnd, WM_FILERESTORE_PROGRESS, static_cast<WPARAM>(value), 0);
}

bool CFileRestore::Callback(uint32_t, uint32_t done, void* userData)
{
    CFileRestore* self = static_cast<CFileRestore*>(userData);
    self->SendProgress(self->m_uDoneBefore + done);
    return true;
}

DWORD WINAPI CFileRestore::RestoreThread(LPVOID param)
{
    CFileRestore* self = static_cast<CFileRestore*>(param);
    int failures = self->Run();
    SendMessageW(self->m_hParentWnd, WM_FILERESTORE_DONE, 0, static_cast<LPARAM>(failures));
    return 0;
}

int CFileRestore::Run()
{
    m_errors.clear();
    m_uDoneBefore = 0;
    m_throttle.Reset();
    if (m_zip.IsClosed()) {
        m_errors.push_back(L"no archive is open");
        return 1;
    }
    uint16_t count = static_cast<uint16_t>(m_items.size());
    m_uTotalSize = 0;
    for (uint16_t i = 0; i < count; ++i) {
        CZipFileHeader header;
        if (m_zip.GetEntryInfo(header, i)) m_uTotalSize += header.m_uUncomprSize;
    }

    // A file that replaces one in the target is written first into a staging folder inside it and takes its
    // place only when complete; a new file goes straight under its name, recorded in the staging folder's
    // journal while partial. A killed run leaves the staging folder, which the next run removes with the
    // partial file its journal names.
    CRestoreStaging staging;
    if (!m_strTarget.empty() && Zip::CreateFolders(m_strTarget)) {
        std::set<std::wstring> topNames;  // what the entries make directly in the target
        for (const auto& item : m_items) topNames.insert(qpath::FoldCase(item.path.substr(0, item.path.find(L'\\'))));
        staging.Create(m_strTarget, topNames);
    }
    m_zip.m_szTempFolder = staging.Path();
    m_zip.m_pJournal = staging.Path().empty() ? nullptr : &staging;
    m_zip.m_szMadeFolder.clear();  // the target may have gone since the last run

    int failures = 0;
    std::set<std::wstring> written;  // relative paths of the files restored in this run (case folded)
    uint16_t i = 0;
    for (; i < count && !m_worker.StopRequested(); ++i) {
        CZipFileHeader header;
        m_zip.GetEntryInfo(header, i);
        std::wstring stored = header.GetFileName();
        std::wstring relative, reason;
        if (!Zip::SafeRelativePath(stored, relative, reason)) {
            m_errors.push_back(stored + L": refused (" + reason + L")");
            ++failures;
            m_uDoneBefore += header.m_uUncomprSize;
            continue;
        }
        std::wstring key = qpath::FoldCase(relative);
        if (!header.IsDirectory() && written.count(key)) {
            m_errors.push_back(stored + L": skipped, another entry already restored \"" + relative + L"\"");
            ++failures;
            m_uDoneBefore += header.m_uUncomprSize;
            continue;
        }
        std::wstring folder = m_strTarget.empty() ? m_items[i].name : m_strTarget;
        try {
            if (m_zip.ExtractEntry(i, folder, true, nullptr, &CFileRestore::Callback, this, 65535))
                written.insert(key);
            else {
                m_errors.push_back(stored + L": could not be restored");
                ++failures;
            }
        } catch (const CZipException& e) {
            m_zip.AbortEntry();
            m_errors.push_back(stored + L": " + WidenAscii(e.what()));
            ++failures;
        } catch (const std::exception& e) {
            m_zip.AbortEntry();
            m_errors.push_back(stored + L": " + WidenAscii(e.what()));
            ++failures;
        }
        m_uDoneBefore += header.m_uUncomprSize;
        SendProgress(m_uDoneBefore);
    }
    m_zip.m_szTempFolder.clear();
    m_zip.m_pJournal = nullptr;
    staging.Remove();
    if (i < count) {
        m_errors.push_back(L"stopped before all entries were restored");
        failures += count - i;
    }
    return failures;
}
}  // namespace Coldrith
