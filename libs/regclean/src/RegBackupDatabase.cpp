#include "RegBackupDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "QGuards.h"
#include "QLock.h"
#include "RegNames.h"

namespace bexlar {

namespace {

const char kCreateData[] =
    "CREATE TABLE datainfo (resid TEXT, type integer, root TEXT, subroot TEXT, \t\tvaluekey TEXT, "
    "valuetype integer, datasize integer, datareg blob)";
const char kCreateHead[] = "CREATE TABLE headinfo (resid TEXT, number integer, time TEXT)";
const char kInsertValue[] = "insert into datainfo values(?1, 0, ?2, ?3, ?4, ?5, ?6, ?7)";
const char kInsertKey[] = "insert into datainfo(resid, type, root, subroot) values(?1, '1', ?2, ?3)";
const char kInsertRun[] = "insert into headinfo values(?1, ?2, ?3)";
// Access lists replaced to delete protected keys, kept until the run has put them back or deleted the keys, so
// that a run that was killed half-way can be undone at the next start.
const char kCreateJournal[] =
    "CREATE TABLE IF NOT EXISTS accessjournal (resid TEXT, root TEXT, subroot TEXT, descriptor blob)";
const char kInsertJournal[] = "insert into accessjournal values(?1, ?2, ?3, ?4)";
const char kClearJournal[] = "delete from accessjournal where resid = ?1";
// A writer that holds the database is waited for this long, once per clean.
const int kBusyMilliseconds = 2000;

// Cleans in one process take turns at writing. The busy time-out is for another program holding the database; a
// second clean of this process only waits for the first one's batch, however long a busy machine makes it.
qcore::Lock& WriterTurn()
{
    static qcore::Lock* turn = new qcore::Lock;  // never destroyed: a clean may still run while the process ends
    return *turn;
}
const char kRemoveValue[] = "delete from datainfo where root = ?1 and subroot = ?2 and valuekey = ?3 and resid = ?4";

// Enables the backup privilege of the thread's token for the lifetime of the object, where the token holds it.
class BackupPrivilege {
public:
    BackupPrivilege()
    {
        qcore::UniqueHandle token;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put())) return;
        TOKEN_PRIVILEGES tp = {};
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, SE_BACKUP_NAME, &tp.Privileges[0].Luid)) {
            DWORD size = sizeof(previous_);
            if (AdjustTokenPrivileges(token.Get(), FALSE, &tp, sizeof(tp), &previous_, &size) &&
                GetLastError() == ERROR_SUCCESS)
                token_ = std::move(token);
        }
    }
    ~BackupPrivilege()
    {
        if (token_) AdjustTokenPrivileges(token_.Get(), FALSE, &previous_, 0, nullptr, nullptr);
    }
    BackupPrivilege(const BackupPrivilege&) = delete;
    BackupPrivilege& operator=(const BackupPrivilege&) = delete;

private:
    qcore::UniqueHandle token_;  // held only while the privilege is to be put back
    TOKEN_PRIVILEGES previous_ = {};
};

class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (db) sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

bool BindText(sqlite3_stmt* s, int index, const std::string& text)
{
    return sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

std::string RunIdNow()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char buf[32];
    std::snprintf(buf, sizeof(buf), "%u%02u%02u%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return buf;
}

std::string RunTimeText()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t buf[64];
    _snwprintf(buf, 63, L"%u\u5E74%02u\u6708%02u\u65E5 %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
               t.wSecond);
    buf[63] = 0;
    return Utf8(buf);
}

}  // namespace

LONG OpenKeyForBackup(HKEY root, const std::wstring& path, HKEY* key, KeyLinks links)
{
    const DWORD linkOption = links == kOpenLinkItself ? REG_OPTION_OPEN_LINK : 0;
    LONG err = RegOpenKeyExW(root, path.c_str(), linkOption, KEY_READ, key);
    if (err != ERROR_ACCESS_DENIED) return err;
    BackupPrivilege privilege;
    DWORD disposition = 0;
    err = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_BACKUP_RESTORE | linkOption, KEY_READ, nullptr,
                          key, &disposition);
    if (err == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY) {
        // It vanished in the meantime: do not leave an empty key behind.
        RegCloseKey(*key);
        *key = nullptr;
        RegDeleteKeyW(root, path.c_str());
        return ERROR_FILE_NOT_FOUND;
    }
    return err == ERROR_SUCCESS ? err : ERROR_ACCESS_DENIED;
}

CRegBackupDatabase::CRegBackupDatabase(const std::wstring& programFolder)
    : m_bOpened(0),
      m_holdsTurn(false),
      m_db(nullptr),
      m_folder(programFolder),
      m_count(0),
      m_insertValue(nullptr),
      m_insertKey(nullptr),
      m_savepoint(nullptr),
      m_release(nullptr),
      m_rollbackTo(nullptr),
      m_cachedRoot(nullptr),
      m_cachedKey(nullptr),
      m_root(nullptr),
      m_denied(false),
      m_broken(false),
      m_inTransaction(false),
      m_batchItems(0)
{
}

CRegBackupDatabase::~CRegBackupDatabase() { Close(); }

void CRegBackupDatabase::DropCachedKey()
{
    if (m_cachedKey) RegCloseKey(m_cachedKey);
    m_cachedKey = nullptr;
    m_cachedRoot = nullptr;
    m_cachedPath.clear();
}

void CRegBackupDatabase::ReleaseTurn()
{
    if (m_holdsTurn) WriterTurn().Leave();
    m_holdsTurn = false;
}

void CRegBackupDatabase::Close()
{
    DropCachedKey();
    if (m_inTransaction && m_db) Exec("ROLLBACK");
    m_inTransaction = false;
    m_batchItems = 0;
    ReleaseTurn();
    for (sqlite3_stmt** s : {&m_insertValue, &m_insertKey, &m_savepoint, &m_release, &m_rollbackTo}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
    m_bOpened = 0;
}

bool CRegBackupDatabase::Step(sqlite3_stmt* statement)
{
    sqlite3_reset(statement);
    bool ok = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_reset(statement);
    return ok;
}

bool CRegBackupDatabase::Exec(const char* sql)
{
    return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool CRegBackupDatabase::Open()
{
    if (m_bOpened) return true;
    Close();
    if (m_folder.empty()) return false;
    std::wstring folder = m_folder + L"regbackup";
    m_path = BackupDatabasePath(m_folder);
    if (!CreateFolderChain(folder)) return false;
    m_resid = RunIdNow();
    if (sqlite3_open_v2(Utf8(m_path).c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        Close();
        return false;
    }
    sqlite3_busy_timeout(m_db, kBusyMilliseconds);
    // One write transaction makes the tables: a database locked by another writer fails here, once.
    bool schema = false;
    {
        qcore::ScopedLock turn(WriterTurn());
        if (!Exec("BEGIN IMMEDIATE")) {
            Close();
            return false;
        }
        schema = (HasTable("datainfo") || Exec(kCreateData)) && (HasTable("headinfo") || Exec(kCreateHead)) &&
                 Exec(kCreateJournal) && Exec("COMMIT");
        if (!schema) Exec("ROLLBACK");
    }
    if (!schema || sqlite3_prepare_v2(m_db, kInsertValue, -1, &m_insertValue, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db, kInsertKey, -1, &m_insertKey, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db, "SAVEPOINT item", -1, &m_savepoint, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db, "RELEASE item", -1, &m_release, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db, "ROLLBACK TO item", -1, &m_rollbackTo, nullptr) != SQLITE_OK) {
        Close();
        return false;
    }
    m_bOpened = 1;
    return true;
}

bool CRegBackupDatabase::HasTable(const char* name)
{
    Statement s(m_db, "select 1 from sqlite_master where type = 'table' and name = ?1");
    return s.get() && sqlite3_bind_text(s.get(), 1, name, -1, SQLITE_STATIC) == SQLITE_OK &&
           sqlite3_step(s.get()) == SQLITE_ROW;
}

bool CRegBackupDatabase::JournalAccessList(HKEY root, const std::wstring& subKey, const std::vector<BYTE>& descriptor)
{
    if (!m_bOpened || m_inTransaction || descriptor.empty()) return false;
    qcore::ScopedLock turn(WriterTurn());
    Statement s(m_db, kInsertJournal);
    return s.get() && BindText(s.get(), 1, m_resid) && BindText(s.get(), 2, FullRootName(root)) &&
           BindText(s.get(), 3, Utf8(subKey)) &&
           sqlite3_bind_blob(s.get(), 4, descriptor.data(), static_cast<int>(descriptor.size()), SQLITE_STATIC) ==
               SQLITE_OK &&
           sqlite3_step(s.get()) == SQLITE_DONE;
}

bool CRegBackupDatabase::ClearAccessJournal()
{
    if (!m_bOpened) return false;
    Commit();
    qcore::ScopedLock turn(WriterTurn());
    Statement s(m_db, kClearJournal);
    return s.get() && BindText(s.get(), 1, m_resid) && sqlite3_step(s.get()) == SQLITE_DONE;
}

int RestoreLeftoverAccessLists(const std::wstring& programFolder)
{
    const std::wstring path = BackupDatabasePath(programFolder);
    if (programFolder.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(Utf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return 0;
    }
    sqlite3_busy_timeout(db, kBusyMilliseconds);
    int restored = 0;
    {
        // Newest first, so a key journalled twice ends with its oldest, original list.
        Statement s(db, "select root, subroot, descriptor from accessjournal order by rowid desc");
        while (s.get() && sqlite3_step(s.get()) == SQLITE_ROW) {
            const char* rootName = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
            const char* subKey = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 1));
            const void* blob = sqlite3_column_blob(s.get(), 2);
            HKEY root = rootName ? RootFromFullName(rootName) : nullptr;
            if (!root || !subKey || !blob || !IsValidSecurityDescriptor(const_cast<void*>(blob))) continue;
            qcore::UniqueRegKey key;
            if (RegOpenKeyExW(root, FromUtf8(subKey).c_str(), REG_OPTION_OPEN_LINK, WRITE_DAC, key.Put()) !=
                ERROR_SUCCESS)
                continue;  // deleted after all
            if (RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, const_cast<void*>(blob)) == ERROR_SUCCESS)
                ++restored;
        }
    }
    sqlite3_exec(db, "delete from accessjournal", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return restored;
}

bool CRegBackupDatabase::InsertValueRow(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                                        DWORD type, const BYTE* data, DWORD size)
{
    std::string key, value;
    if (!ToUtf8(subKey, &key) || !ToUtf8(valueName, &value)) return false;  // would not restore the same name
    sqlite3_stmt* s = m_insertValue;
    sqlite3_reset(s);
    static const BYTE kEmpty = 0;
    bool ok = BindText(s, 1, m_resid) && BindText(s, 2, FullRootName(root)) && BindText(s, 3, key) &&
              BindText(s, 4, value) && sqlite3_bind_int64(s, 5, type) == SQLITE_OK &&
              sqlite3_bind_int64(s, 6, size) == SQLITE_OK &&
              sqlite3_bind_blob(s, 7, size ? data : &kEmpty, static_cast<int>(size), SQLITE_STATIC) == SQLITE_OK &&
              sqlite3_step(s) == SQLITE_DONE;
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return ok;
}

bool CRegBackupDatabase::InsertKeyRow(HKEY root, const std::wstring& subKey)
{
    std::string key;
    if (!ToUtf8(subKey, &key)) return false;
    sqlite3_stmt* s = m_insertKey;
    sqlite3_reset(s);
    bool ok = BindText(s, 1, m_resid) && BindText(s, 2, FullRootName(root)) && BindText(s, 3, key) &&
              sqlite3_step(s) == SQLITE_DONE;
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return ok;
}

CRegBackupDatabase::Outcome CRegBackupDatabase::BackUpValue(HKEY root, const std::wstring& subKey,
                                                            const std::wstring& valueName)
{
    if (!m_cachedKey || m_cachedRoot != root || m_cachedPath != subKey) {
        DropCachedKey();
        HKEY key = nullptr;
        // The value is deleted where the scan read it, through any link on the way: it is read the same way.
        LONG err = OpenKeyForBackup(root, subKey, &key, kFollowLinks);
        if (err == ERROR_FILE_NOT_FOUND) return kNothingToBackUp;
        if (err != ERROR_SUCCESS) return kBackupFailed;
        m_cachedKey = key;
        m_cachedRoot = root;
        m_cachedPath = subKey;
    }
    HKEY key = m_cachedKey;
    LONG err = ERROR_SUCCESS;
    Outcome outcome = kBackupFailed;
    std::vector<BYTE> data(256);
    for (;;) {
        DWORD type = REG_NONE, size = static_cast<DWORD>(data.size());
        err = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size);
        if (err == ERROR_MORE_DATA) {
            data.resize(size + 2);
            continue;
        }
        if (err == ERROR_FILE_NOT_FOUND) outcome = kNothingToBackUp;
        if (err == ERROR_SUCCESS && InsertValueRow(root, subKey, valueName, type, data.data(), size))
            outcome = kBackedUp;
        break;
    }
    return outcome;
}

CRegBackupDatabase::Outcome CRegBackupDatabase::BackUpKey(HKEY parent, const std::wstring& name,
                                                          const std::wstring& path, bool top)
{
    // A key is deleted as itself, a link as a link: a link is backed up as its one value, the REG_LINK
    // "SymbolicLinkValue", and never walked into.
    qcore::UniqueRegKey owner;
    LONG err = OpenKeyForBackup(parent, name, owner.Put(), kOpenLinkItself);
    if (err == ERROR_FILE_NOT_FOUND) return top ? kNothingToBackUp : kBackedUp;  // a subkey removed meanwhile
    if (err == ERROR_ACCESS_DENIED) m_denied = true;
    if (err != ERROR_SUCCESS) return kBackupFailed;
    const HKEY key = owner.Get();

    bool ok = true;
    DWORD subKeys = 0, maxKeyName = 0, values = 0, maxValueName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxKeyName, nullptr, &values, &maxValueName,
                         &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        ok = false;

    // The counts save the calls that would only answer "no more"; an entry that went meanwhile ends the walk.
    std::vector<wchar_t> keyName(maxKeyName + 2);
    DWORD seenKeys = 0;
    for (DWORD i = 0; ok && i < subKeys; ++i) {
        DWORD len = static_cast<DWORD>(keyName.size());
        err = RegEnumKeyExW(key, i, keyName.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (err == ERROR_NO_MORE_ITEMS) break;
        if (err == ERROR_MORE_DATA) {
            keyName.resize(keyName.size() * 2 + 256);
            --i;
            continue;
        }
        if (err != ERROR_SUCCESS) {
            ok = false;
            break;
        }
        ++seenKeys;
        std::wstring child(keyName.data(), len);
        if (BackUpKey(key, child, JoinKey(path, child), false) == kBackupFailed) ok = false;
    }

    std::vector<wchar_t> valueName(maxValueName + 2);
    std::vector<BYTE> data(maxData + 2);
    DWORD seenValues = 0;
    for (DWORD i = 0; ok && i < values; ++i) {
        DWORD nameLen = static_cast<DWORD>(valueName.size()), size = static_cast<DWORD>(data.size()), type = 0;
        err = RegEnumValueW(key, i, valueName.data(), &nameLen, nullptr, &type, data.data(), &size);
        if (err == ERROR_NO_MORE_ITEMS) break;
        if (err == ERROR_MORE_DATA) {
            DWORD vn = 0, vd = 0;
            RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &vn, &vd, nullptr,
                             nullptr);
            valueName.resize(std::max<size_t>(valueName.size() * 2, vn + 2));
            data.resize(std::max<size_t>(data.size() * 2, std::max<size_t>(vd, size) + 2));
            --i;
            continue;
        }
        if (err != ERROR_SUCCESS) {
            ok = false;
            break;
        }
        ++seenValues;
        if (!InsertValueRow(m_root, path, std::wstring(valueName.data(), nameLen), type, data.data(), size)) ok = false;
    }
    owner.Reset();
    if (ok && seenKeys == 0 && seenValues == 0) ok = InsertKeyRow(m_root, path);
    return ok ? kBackedUp : kBackupFailed;
}

CRegBackupDatabase::Outcome CRegBackupDatabase::BackUp(HKEY root, const std::wstring& subKey,
                                                       const std::wstring& valueName)
{
    if (!m_bOpened) return kBackupFailed;
    if (!m_inTransaction) {
        WriterTurn().Enter();
        m_holdsTurn = true;
        if (!Exec("BEGIN IMMEDIATE")) {
            ReleaseTurn();
            m_broken = true;
            return kBackupFailed;
        }
        m_inTransaction = true;
    }
    if (!Step(m_savepoint)) return kBackupFailed;
    m_root = root;
    m_denied = false;
    Outcome outcome = valueName.empty() ? BackUpKey(root, subKey, subKey, true) : BackUpValue(root, subKey, valueName);
    if (outcome == kBackupFailed) Step(m_rollbackTo);
    Step(m_release);
    if (outcome != kBackupFailed) {
        ++m_count;
        ++m_batchItems;
    }
    return outcome;
}

bool CRegBackupDatabase::Commit()
{
    DropCachedKey();
    if (!m_inTransaction) return true;
    bool ok = Exec("COMMIT");
    if (!ok) {
        m_broken = true;
        Exec("ROLLBACK");
        m_count -= m_batchItems;
    }
    m_inTransaction = false;
    m_batchItems = 0;
    ReleaseTurn();
    return ok;
}

bool CRegBackupDatabase::RemoveValueRows(HKEY root, const std::wstring& subKey, const std::wstring& valueName)
{
    if (!m_bOpened || m_inTransaction) return false;
    qcore::ScopedLock turn(WriterTurn());
    Statement s(m_db, kRemoveValue);
    if (!s.get()) return false;
    bool ok = BindText(s.get(), 1, FullRootName(root)) && BindText(s.get(), 2, Utf8(subKey)) &&
              BindText(s.get(), 3, Utf8(valueName)) && BindText(s.get(), 4, m_resid) &&
              sqlite3_step(s.get()) == SQLITE_DONE;
    if (ok) --m_count;
    return ok;
}

bool CRegBackupDatabase::WriteRunAndClose()
{
    bool ok = false;
    if (m_bOpened) {
        Commit();
        qcore::ScopedLock turn(WriterTurn());
        Statement s(m_db, kInsertRun);
        ok = s.get() && BindText(s.get(), 1, m_resid) && sqlite3_bind_int(s.get(), 2, m_count) == SQLITE_OK &&
             BindText(s.get(), 3, RunTimeText()) && sqlite3_step(s.get()) == SQLITE_DONE;
    }
    Close();
    return ok;
}

std::wstring BackupDatabasePath(const std::wstring& programFolder)
{
    return programFolder + L"regbackup\\regbackup.db";
}

}  // namespace bexlar
