// Registry scan engine: finds invalid registry entries in ten categories and deletes the selected ones,
// backing each one up into regbackup\regbackup.db beside the program first.
#pragma once

#include <windows.h>

#include <atomic>
#include <set>
#include <string>

#include "BexlarApi.h"

// Messages sent synchronously to the window given to CRegistryData::SetScanWnd.
#define WM_REGSCAN_CATEGORY_DONE (WM_USER + 1)  // wParam: REG_SCAN_TYPE of the finished scan member
#define WM_REGSCAN_FINISHED (WM_USER + 2)
#define WM_REGCLEAN_ITEM (WM_USER + 3)  // wParam: const SCAN_RESULT*, valid only during the call
#define WM_REGCLEAN_FINISHED (WM_USER + 4)

enum REG_SCAN_TYPE {
    RST_SHAREDDLL = 0,
    RST_OPENSAVEMRU = 1,
    RST_EXTHISTORY = 2,
    RST_STARTMENU = 3,
    RST_MUICACHE = 4,
    RST_HELP = 5,
    RST_APPPATH = 6,
    RST_UNINSTALL = 7,
    RST_FILEASSOC = 8,
    RST_COM = 9,
};

enum REG_SCAN_REASON {
    RSR_FILE_NOT_FOUND = 1,
    RSR_JUNK_VALUE = 2,
    RSR_NO_SUB_VALUES = 3,
    RSR_TYPELIB_NOT_REGISTERED = 4,
};

class BEXLAR_API CRegistryData {
public:
    typedef ::REG_SCAN_TYPE REG_SCAN_TYPE;
    typedef ::REG_SCAN_REASON REG_SCAN_REASON;

    struct REG_DATA {
        HKEY root = nullptr;
        std::wstring subKey;     // below the root; ends in a backslash
        std::wstring valueName;  // empty: the item is the key itself
    };

    struct SCAN_DATA;
    typedef long (CRegistryData::*PFN_SCAN)(const SCAN_DATA&);
    typedef long (CRegistryData::*PFN_CLEAN)(const REG_DATA&);

    struct SCAN_DATA {
        REG_SCAN_TYPE type = RST_SHAREDDLL;
        std::wstring title;
        REG_DATA key;
        PFN_SCAN pfnScan = nullptr;
        CRegistryData* pOwner = nullptr;
    };

    struct SCAN_RESULT {
        REG_SCAN_TYPE type = RST_SHAREDDLL;
        std::wstring title;
        REG_DATA data;
        int pathLocation = 0;  // 0 the value name, 1 the value data
        int pathKind = 0;      // 0 file or folder, 1 file, 2 folder
        std::wstring path;
        std::wstring detail;

    private:
        friend class CRegistryData;
        // Changed through the engine's Select while the result sits in its set, whose elements are const; not part
        // of the ordering.
        mutable bool selected = true;

    public:
        PFN_CLEAN pfnClean = nullptr;
        int reason = 0;
    };

    // Order of both sets: type (signed), root (unsigned), subKey, valueName (code unit by code unit).
    static int CompareItems(int typeA, const REG_DATA& a, int typeB, const REG_DATA& b)
    {
        if (typeA != typeB) return typeA < typeB ? -1 : 1;
        ULONG_PTR ra = reinterpret_cast<ULONG_PTR>(a.root), rb = reinterpret_cast<ULONG_PTR>(b.root);
        if (ra != rb) return ra < rb ? -1 : 1;
        if (int c = a.subKey.compare(b.subKey)) return c < 0 ? -1 : 1;
        if (int c = a.valueName.compare(b.valueName)) return c < 0 ? -1 : 1;
        return 0;
    }
    struct ScanDataLess {
        bool operator()(const SCAN_DATA& a, const SCAN_DATA& b) const
        {
            return CompareItems(a.type, a.key, b.type, b.key) < 0;
        }
    };
    struct ScanResultLess {
        bool operator()(const SCAN_RESULT& a, const SCAN_RESULT& b) const
        {
            return CompareItems(a.type, a.data, b.type, b.data) < 0;
        }
    };

    typedef bool (*PFN_REGSCAN_FILTER)(REG_SCAN_TYPE type, void* user);
    typedef bool (*PFN_REGSCAN_RESULT)(const SCAN_RESULT* result, void* user);
    typedef bool (*PFN_REGCLEAN_PROGRESS)(REG_SCAN_TYPE type, void* user);

    CRegistryData();
    ~CRegistryData();
    CRegistryData(const CRegistryData&) = delete;
    CRegistryData& operator=(const CRegistryData&) = delete;

    long Scan(PFN_REGSCAN_FILTER filter, void* filterUser, PFN_REGSCAN_RESULT onResult, void* resultUser);
    long Stop();
    bool IsFinished();
    long Clean(PFN_REGCLEAN_PROGRESS progress, void* user);
    static const wchar_t* GetTitle(REG_SCAN_TYPE type);
    // The file Clean backs every item up into before deleting it.
    static std::wstring BackupDatabasePath();
    void SetScanWnd(HWND hWnd);
    // The results of the last scan; each one's selection decides whether the next Clean deletes it.
    const std::set<SCAN_RESULT, ScanResultLess>& GetResults() const { return m_results; }
    // A new result is selected; Clean unselects each result it works on.
    bool IsSelected(const SCAN_RESULT& result) const { return result.selected; }
    void Select(const SCAN_RESULT& result, bool selected) { result.selected = selected; }
    // Unselects every result: a caller then selects exactly what its list shows ticked.
    void SelectNone();
    // Whether the last Clean failed on any item (a new Scan clears it).
    bool CleanFailed() const { return m_bCleanFailed != 0; }
    // A stop was asked (Stop, or a result callback's false) during the running Scan or Clean; each clears it as it
    // ends.
    bool Stopped() const { return m_bStop.load(); }

private:
    int m_bCleanFailed;
    std::set<SCAN_DATA, ScanDataLess> m_scanTable;
    std::set<SCAN_RESULT, ScanResultLess> m_results;
    bool m_bCleanStarted;
    PFN_REGSCAN_RESULT m_pfnResult;
    void* m_pResultUser;
    std::atomic<bool> m_bStop;
    HWND m_hNotifyWnd;
    bool m_bFinished;

    struct ScanContext;
    struct CleanContext;

    // Scan members, one per category (ScanHelp serves both help keys).
    long ScanSharedDlls(const SCAN_DATA& entry);
    long ScanOpenSaveMRU(const SCAN_DATA& entry);
    long ScanFileExts(const SCAN_DATA& entry);
    long ScanMenuOrder(const SCAN_DATA& entry);
    long ScanMUICache(const SCAN_DATA& entry);
    long ScanHelp(const SCAN_DATA& entry);
    long ScanAppPath(const SCAN_DATA& entry);
    long ScanUninstall(const SCAN_DATA& entry);
    long ScanFileAssociate(const SCAN_DATA& entry);
    long ScanClsid(const SCAN_DATA& entry);
    long ScanTypeLib(const SCAN_DATA& entry);

    // Enumeration callbacks; they reach the engine through SCAN_DATA::pOwner.
    static bool CheckValueNamePath(HKEY key, const wchar_t* name, const BYTE* data, DWORD type, DWORD size, void* user);
    static bool CheckOpenSaveMRUSubKey(HKEY key, const wchar_t* name, void* user);
    static bool CheckOpenSaveMRUDataPath(HKEY key, const wchar_t* name, const BYTE* data, DWORD type, DWORD size,
                                         void* user);
    static bool CheckFileExts(HKEY key, const wchar_t* name, void* user);
    static bool CheckMenuOrder(HKEY key, const wchar_t* name, void* user);
    static bool CheckMUICache(HKEY key, const wchar_t* name, const BYTE* data, DWORD type, DWORD size, void* user);
    static bool CheckHelp(HKEY key, const wchar_t* name, const BYTE* data, DWORD type, DWORD size, void* user);
    static bool CheckAppPath(HKEY key, const wchar_t* name, void* user);
    static bool CheckUninstall(HKEY key, const wchar_t* name, void* user);
    static bool CheckFileAssociateSubKey(HKEY key, const wchar_t* name, void* user);
    static bool CheckClsidSubKey(HKEY key, const wchar_t* name, void* user);
    static bool CheckClsidCodeBase(HKEY key, const wchar_t* name, void* user);
    static bool CheckTypeLibSubKey(HKEY key, const wchar_t* name, void* user);
    static bool CheckTypeLibWin32Key(HKEY key, const wchar_t* name, void* user);

    bool CheckUninstallString(const SCAN_DATA& entry, const std::wstring& subKey);
    bool CheckExtAssociateKey(const SCAN_DATA& entry, const std::wstring& name);
    bool CheckShellOpenCommand(const SCAN_DATA& entry, const std::wstring& name);
    bool CheckDefaultIcon(const SCAN_DATA& entry, const std::wstring& name);

    // Path tests: 0 exists, 1 missing, E_FAIL undecidable, E_INVALIDARG bad location.
    long CheckCmdline(SCAN_RESULT& result);
    long CheckFilePath(SCAN_RESULT& result);

    // Deletion of one item; 0 when it is gone.
    long CleanKey(const REG_DATA& item);
    long CleanValue(const REG_DATA& item);

    // A result of the entry's category for one item, read from the value name (0) or the value data (1).
    SCAN_RESULT NewResult(const SCAN_DATA& entry, const std::wstring& subKey, const std::wstring& valueName,
                          int pathLocation) const;
    // Stores and reports a result; false when the scan must stop.
    bool Report(SCAN_RESULT& result);
    bool Report(SCAN_RESULT& result, int reason, PFN_CLEAN clean, const std::wstring& detail);
    void Notify(UINT msg, WPARAM wParam, LPARAM lParam);

    ScanContext* m_ctx;        // per-scan caches (existence memo, shell folders); live during Scan only
    CleanContext* m_cleanCtx;  // open handles of the running Clean
};
