// The backup database regbackup\regbackup.db: every registry item is written here before it is deleted.
// Items are backed up in batches inside one transaction; the caller deletes a batch only after Commit succeeded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace bexlar {

class CRegBackupDatabase {
public:
    enum Outcome { kBackedUp, kNothingToBackUp, kBackupFailed };

    // folder: the program's folder (with a trailing backslash); the database lives in its "regbackup" folder.
    explicit CRegBackupDatabase(const std::wstring& programFolder);
    ~CRegBackupDatabase();
    CRegBackupDatabase(const CRegBackupDatabase&) = delete;
    CRegBackupDatabase& operator=(const CRegBackupDatabase&) = delete;

    bool Open();
    bool IsOpen() const { return m_bOpened != 0; }

    // Writes the rows of one item (a value, or a key with everything below it) into the open batch.
    // A missing key or value gives kNothingToBackUp; any read or write error leaves no row of the item.
    Outcome BackUp(HKEY root, const std::wstring& subKey, const std::wstring& valueName);
    // Whether the last failed item could not be read for lack of access rights.
    bool LastFailureWasDenied() const { return m_denied; }
    // Makes the batch durable; false when it could not (its rows are then gone).
    bool Commit();
    // True once a transaction could not be begun or committed (locked, full or damaged database): nothing more
    // can be backed up in this run.
    bool Broken() const { return m_broken; }
    bool InBatch() const { return m_batchItems > 0 || m_inTransaction; }

    // Removes this run's rows of a value after its deletion failed; the run count drops by one.
    bool RemoveValueRows(HKEY root, const std::wstring& subKey, const std::wstring& valueName);

    // Keeps the original access list of a key durably before it is replaced (outside a batch only).
    bool JournalAccessList(HKEY root, const std::wstring& subKey, const std::vector<BYTE>& descriptor);
    // Forgets this run's access lists once each was put back or its key deleted.
    bool ClearAccessJournal();

    // Writes the run row (identifier, item count, time) and closes.
    bool WriteRunAndClose();

    int ItemCount() const { return m_count; }
    const std::string& RunId() const { return m_resid; }
    const std::wstring& Path() const { return m_path; }

private:
    Outcome BackUpValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName);
    // Backs up the key "name" below the open key parent; path is its full path below the root.
    Outcome BackUpKey(HKEY parent, const std::wstring& name, const std::wstring& path, bool top);
    bool InsertValueRow(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD type,
                        const BYTE* data, DWORD size);
    bool InsertKeyRow(HKEY root, const std::wstring& subKey);
    bool Exec(const char* sql);
    bool HasTable(const char* name);
    bool Step(sqlite3_stmt* statement);
    void DropCachedKey();
    void Close();
    void ReleaseTurn();

    int m_bOpened;
    std::wstring m_path;
    // Held from the start of a batch until its commit or rollback (see WriterTurn).
    bool m_holdsTurn;
    sqlite3* m_db;
    std::wstring m_folder;
    int m_count;
    std::string m_resid;

    sqlite3_stmt* m_insertValue;
    sqlite3_stmt* m_insertKey;
    sqlite3_stmt* m_savepoint;
    sqlite3_stmt* m_release;
    sqlite3_stmt* m_rollbackTo;
    // The key of the last value backed up, kept open within a batch (values of one key come in a row).
    HKEY m_cachedRoot;
    std::wstring m_cachedPath;
    HKEY m_cachedKey;
    HKEY m_root;    // the root of the item being backed up
    bool m_denied;  // a key of the item could not be opened for lack of access
    bool m_broken;
    bool m_inTransaction;
    int m_batchItems;  // items counted in the open batch
};

enum KeyLinks { kFollowLinks, kOpenLinkItself };
// Opens a key for reading its contents; protected keys are read through the backup privilege when it is held.
// With kOpenLinkItself a registry link at the end of the path is opened as the link key, not its target.
LONG OpenKeyForBackup(HKEY root, const std::wstring& path, HKEY* key, KeyLinks links);

// Puts back the access lists a killed clean left replaced, and forgets them; returns how many were put back.
int RestoreLeftoverAccessLists(const std::wstring& programFolder);

// The database file of a program folder (with a trailing backslash).
std::wstring BackupDatabasePath(const std::wstring& programFolder);

}  // namespace bexlar
