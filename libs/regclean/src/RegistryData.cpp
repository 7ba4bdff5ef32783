// The engine's operations: the scan over the table, reporting, and the clean with backup and deletion.
#include "RegistryData.h"

#include <shlobj.h>

#include <memory>
#include <vector>

#include "FailedEntryList.h"
#include "QPathText.h"
#include "QShellFolder.h"
#include "RegBackupDatabase.h"
#include "RegDelete.h"
#include "RegNames.h"
#include "ScanContext.h"
#include "ScanKeys.h"

using namespace bexlar;

struct CRegistryData::CleanContext {
    CValueDeleter values;
    AccessJournal journal;  // keeps access lists durably before a deletion replaces them
};

namespace {

const wchar_t* const rstTitle[10] = {
    L"\u4E0D\u5B58\u5728\u7684DLL\u6587\u4EF6\u8BB0\u5F55",     // 不存在的DLL文件记录
    L"\u6253\u5F00\u5BF9\u8BDD\u6846\u5386\u53F2\u8BB0\u5F55",  // 打开对话框历史记录
    L"\u6587\u4EF6\u7C7B\u578B\u64CD\u4F5C\u8BB0\u5F55",        // 文件类型操作记录
    L"\u8FC7\u671F\u7684\u5F00\u59CB\u83DC\u5355\u9879",        // 过期的开始菜单项
    L"\u7F3A\u5931\u7684MUI\u5F15\u7528",                       // 缺失的MUI引用
    L"\u65E0\u6548\u7684\u5E2E\u52A9\u6587\u4EF6",              // 无效的帮助文件
    L"\u65E0\u6548\u7684\u5E94\u7528\u7A0B\u5E8F\u8DEF\u5F84",  // 无效的应用程序路径
    L"\u5B89\u88C5\u4FE1\u606F\u6B8B\u7559\u9879",              // 安装信息残留项
    L"\u4E0D\u5B8C\u6574\u7684\u6587\u4EF6\u5173\u8054",        // 不完整的文件关联
    L"\u6CA1\u6709\u7528\u7684COM\u7EC4\u4EF6",                 // 没有用的COM组件
};

// Items of one clean run are grouped into batches that are backed up and committed before any deletion. A batch
// ends after a short time, so deletions follow the item messages closely, and each commit costs a disk flush.
const size_t kBatchItems = 4096;
const DWORD kBatchMilliseconds = 300;

// Whether a key deleted earlier in this run contains the item's key.
bool UnderDeletedKey(const std::vector<std::pair<HKEY, std::wstring>>& deleted, HKEY root, const std::wstring& key)
{
    std::wstring path = qpath::FoldCase(key);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    for (const auto& d : deleted)
        if (d.first == root && path.compare(0, d.second.size(), d.second) == 0) return true;
    return false;
}

}  // namespace

CRegistryData::CRegistryData()
    : m_bCleanFailed(0),
      m_bCleanStarted(false),
      m_pfnResult(nullptr),
      m_pResultUser(nullptr),
      m_bStop(false),
      m_hNotifyWnd(nullptr),
      m_bFinished(true),
      m_ctx(nullptr),
      m_cleanCtx(nullptr)
{
    // A clean killed half-way may have left protected keys opened up: their lists go back, once per process.
    static const int leftoverListsRestored = RestoreLeftoverAccessLists(ProgramFolder());
    (void)leftoverListsRestored;
    struct Row {
        REG_SCAN_TYPE type;
        HKEY root;
        const wchar_t* key;
        PFN_SCAN scan;
    };
    const Row rows[] = {
        {RST_SHAREDDLL, HKEY_LOCAL_MACHINE, kSharedDlls, &CRegistryData::ScanSharedDlls},
        {RST_OPENSAVEMRU, HKEY_CURRENT_USER, kOpenSaveMru, &CRegistryData::ScanOpenSaveMRU},
        {RST_EXTHISTORY, HKEY_CURRENT_USER, kFileExts, &CRegistryData::ScanFileExts},
        {RST_STARTMENU, HKEY_CURRENT_USER, kMenuOrder, &CRegistryData::ScanMenuOrder},
        {RST_MUICACHE, HKEY_CURRENT_USER, kMuiCache, &CRegistryData::ScanMUICache},
        {RST_HELP, HKEY_LOCAL_MACHINE, kHelp, &CRegistryData::ScanHelp},
        {RST_HELP, HKEY_LOCAL_MACHINE, kHtmlHelp, &CRegistryData::ScanHelp},
        {RST_APPPATH, HKEY_LOCAL_MACHINE, kAppPaths, &CRegistryData::ScanAppPath},
        {RST_UNINSTALL, HKEY_LOCAL_MACHINE, kUninstall, &CRegistryData::ScanUninstall},
        {RST_FILEASSOC, HKEY_CLASSES_ROOT, L"", &CRegistryData::ScanFileAssociate},
        {RST_COM, HKEY_CLASSES_ROOT, L"CLSID\\", &CRegistryData::ScanClsid},
        {RST_COM, HKEY_CLASSES_ROOT, L"TypeLib\\", &CRegistryData::ScanTypeLib},
    };
    for (const Row& r : rows) {
        SCAN_DATA entry;
        entry.type = r.type;
        entry.title = rstTitle[r.type];
        entry.key.root = r.root;
        entry.key.subKey = r.key;
        entry.pfnScan = r.scan;
        m_scanTable.insert(entry);
    }
}

CRegistryData::~CRegistryData() {}

const wchar_t* CRegistryData::GetTitle(REG_SCAN_TYPE type)
{
    unsigned index = static_cast<unsigned>(type);
    return index < 10 ? rstTitle[index] : nullptr;
}

std::wstring CRegistryData::BackupDatabasePath() { return bexlar::BackupDatabasePath(ProgramFolder()); }

void CRegistryData::SetScanWnd(HWND hWnd) { m_hNotifyWnd = hWnd; }

void CRegistryData::SelectNone()
{
    for (const SCAN_RESULT& r : m_results) Select(r, false);
}

long CRegistryData::Stop()
{
    m_bStop = true;
    return 0;
}

bool CRegistryData::IsFinished() { return m_bFinished; }

void CRegistryData::Notify(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_hNotifyWnd) SendMessageW(m_hNotifyWnd, msg, wParam, lParam);
}

long CRegistryData::Scan(PFN_REGSCAN_FILTER filter, void* filterUser, PFN_REGSCAN_RESULT onResult, void* resultUser)
{
    m_bFinished = false;
    m_bStop = false;
    m_results.clear();
    m_pResultUser = resultUser;
    m_bCleanStarted = false;
    m_bCleanFailed = 0;
    m_pfnResult = onResult;

    std::unique_ptr<ScanContext> ctx(new ScanContext(IsWow64()));
    ctx->userPrograms = qcore::SpecialFolderPath(CSIDL_PROGRAMS);
    ctx->commonPrograms = qcore::SpecialFolderPath(CSIDL_COMMON_PROGRAMS);
    m_ctx = ctx.get();

    long last = 0;
    for (const SCAN_DATA& entry : m_scanTable) {
        if (Stopped()) break;
        if (filter && !filter(entry.type, filterUser)) continue;
        last = (this->*entry.pfnScan)(entry);
        if (last == 1) break;
    }
    m_ctx = nullptr;
    m_bFinished = true;
    m_bStop = false;
    Notify(WM_REGSCAN_FINISHED, 0, 0);
    return last;
}

CRegistryData::SCAN_RESULT CRegistryData::NewResult(const SCAN_DATA& entry, const std::wstring& subKey,
                                                    const std::wstring& valueName, int pathLocation) const
{
    SCAN_RESULT r;
    r.type = entry.type;
    r.title = rstTitle[entry.type];
    r.data.root = entry.key.root;
    r.data.subKey = subKey;
    r.data.valueName = valueName;
    r.pathLocation = pathLocation;
    r.selected = true;
    r.pfnClean = &CRegistryData::CleanValue;
    r.reason = RSR_FILE_NOT_FOUND;
    return r;
}

bool CRegistryData::Report(SCAN_RESULT& result, int reason, PFN_CLEAN clean, const std::wstring& detail)
{
    result.reason = reason;
    result.pfnClean = clean;
    result.detail = detail;
    return Report(result);
}

bool CRegistryData::Report(SCAN_RESULT& result)
{
    std::wstring text = FullItemText(result.data.root, result.data.subKey, result.data.valueName);
    if (CFailedEntryList::Instance().Contains(text)) return !Stopped();
    auto inserted = m_results.insert(result);
    if (!inserted.second) return !Stopped();
    if (m_pfnResult && !m_pfnResult(&*inserted.first, m_pResultUser)) m_bStop = true;
    return !Stopped();
}

long CRegistryData::CleanKey(const REG_DATA& item)
{
    if (m_cleanCtx) m_cleanCtx->values.Release();  // no handle stays open inside a key being deleted
    return DeleteKeyTree(item.root, item.subKey, m_cleanCtx ? m_cleanCtx->journal : AccessJournal());
}

long CRegistryData::CleanValue(const REG_DATA& item)
{
    if (m_cleanCtx) return m_cleanCtx->values.Delete(item.root, item.subKey, item.valueName);
    return DeleteValue(item.root, item.subKey, item.valueName);
}

long CRegistryData::Clean(PFN_REGCLEAN_PROGRESS progress, void* user)
{
    m_bStop = false;
    if (m_results.empty()) {
        Notify(WM_REGCLEAN_FINISHED, 0, 0);
        return 0;
    }
    m_bCleanStarted = true;

    const std::wstring folder = ProgramFolder();
    CRegBackupDatabase db(folder);
    CleanContext cleanCtx;
    cleanCtx.journal = [&db](HKEY root, const std::wstring& key, const std::vector<BYTE>& descriptor) {
        return db.JournalAccessList(root, key, descriptor);
    };
    m_cleanCtx = &cleanCtx;
    CFailedEntryList& failed = CFailedEntryList::Instance();
    std::vector<std::pair<HKEY, std::wstring>> deletedKeys;  // lower case, trailing backslash
    struct Pending {
        const SCAN_RESULT* result;
        std::unique_ptr<SavedKeySecurity> security;  // access lists changed to read a protected key
    };
    std::vector<Pending> batch;
    DWORD batchStart = 0;
    long status = 0;  // the first failure of the run
    auto fail = [&](long code) {
        if (status == 0) status = code;
        m_bCleanFailed = 1;
    };

    // Deletes the items of the batch once their backup is durable.
    auto flush = [&]() {
        if (batch.empty()) return;
        bool committed = db.Commit();
        for (Pending& p : batch) {
            const SCAN_RESULT* r = p.result;
            if (!committed) {
                if (p.security) p.security->Restore();
                fail(E_FAIL);
                continue;
            }
            const bool isKey = r->pfnClean == &CRegistryData::CleanKey;
            long st = (this->*(r->pfnClean))(r->data);
            if (st == ERROR_FILE_NOT_FOUND && UnderDeletedKey(deletedKeys, r->data.root, r->data.subKey)) st = 0;
            if (st == 0) {
                if (isKey) {
                    std::wstring path = qpath::FoldCase(r->data.subKey);
                    if (path.empty() || path.back() != L'\\') path += L'\\';
                    deletedKeys.emplace_back(r->data.root, path);
                }
            } else {
                if (p.security) p.security->Restore();
                failed.Add(FullItemText(r->data.root, r->data.subKey, r->data.valueName));
                // A key delete may have removed part of the tree: its rows stay.
                if (!isKey) db.RemoveValueRows(r->data.root, r->data.subKey, r->data.valueName);
                fail(st);
            }
        }
        batch.clear();
    };

    bool havePrevious = false;
    REG_SCAN_TYPE previous = RST_SHAREDDLL;
    for (const SCAN_RESULT& r : m_results) {
        if (Stopped()) break;
        if (!IsSelected(r)) continue;
        // Without a database nothing can be backed up, so nothing is cleaned: the run ends at once.
        if (!db.IsOpen() && !db.Open()) {
            fail(E_FAIL);
            break;
        }
        if (progress && (!havePrevious || r.type != previous)) progress(r.type, user);
        havePrevious = true;
        previous = r.type;

        SCAN_RESULT copy = r;
        Notify(WM_REGCLEAN_ITEM, reinterpret_cast<WPARAM>(&copy), 0);
        Select(r, false);

        // Nothing is deleted without a complete backup.
        CRegBackupDatabase::Outcome outcome = db.BackUp(r.data.root, r.data.subKey, r.data.valueName);
        std::unique_ptr<SavedKeySecurity> security;
        if (outcome == CRegBackupDatabase::kBackupFailed && !db.Broken() && db.LastFailureWasDenied() &&
            r.data.valueName.empty() && !r.data.subKey.empty()) {
            // A protected key: open it up as its deletion would, read it, and put the lists back unless it is
            // deleted in the end. The lists are journalled first, outside any batch.
            flush();
            db.Commit();
            security.reset(new SavedKeySecurity);
            security->GrantFullAccess(r.data.root, r.data.subKey, cleanCtx.journal);
            if (security->Count() > 0) outcome = db.BackUp(r.data.root, r.data.subKey, r.data.valueName);
            if (outcome == CRegBackupDatabase::kBackupFailed) security->Restore();
        }
        if (outcome == CRegBackupDatabase::kBackupFailed) {
            flush();
            fail(E_FAIL);
            if (db.Broken()) break;  // locked, full or damaged: every later item would fail the same way
            continue;
        }
        if (batch.empty()) batchStart = GetTickCount();
        batch.push_back(Pending{&r, std::move(security)});
        if (batch.size() >= kBatchItems || GetTickCount() - batchStart >= kBatchMilliseconds) flush();
        if (db.Broken()) break;
    }
    flush();
    cleanCtx.values.Release();
    m_cleanCtx = nullptr;
    if (db.IsOpen()) {
        db.ClearAccessJournal();
        db.WriteRunAndClose();
    }
    failed.WriteFile(folder);

    m_bStop = false;
    Notify(WM_REGCLEAN_FINISHED, 0, 0);
    return status;
}
