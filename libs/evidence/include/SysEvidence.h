#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "LumbreyApi.h"

// Sent (SendMessageW, on the scanning thread) to the parent window for every trace, after it has been
// appended to the caller's vector. wParam: the ScanResultItem (valid only during the call); lParam: the
// category number given to the dispatcher.
#define WM_EVIDENCE_ITEM_FOUND (WM_USER + 5000)

namespace Lumbrey {

// Finds privacy traces: values of history keys below HKEY_CURRENT_USER, files of cache and history
// folders, and the entries of the recycle bin. Categories are numbered 0 to 59 and split among four
// dispatchers; the scan runs on the caller's thread.
class LUMBREY_API CSysEvidence {
public:
    struct ScanResultItem {
        std::wstring category;   // the category's display name
        std::wstring filePath;   // absolute path of a file trace (see IsRecycleBinItem); empty for values
        std::wstring keyPath;    // key below HKEY_CURRENT_USER of a registry trace; empty for files
        std::wstring valueName;  // name of the registry value
        std::wstring valueData;  // the value's data read as text, up to its first null
        int kind = 0;            // 1 a file or recycle-bin entry, 0 a registry value
        int size = 0;            // file size in bytes (at most INT_MAX); 0 for registry values
    };

    // Category numbers with a special meaning for callers.
    enum { CATEGORY_RECYCLE_BIN = 41 };

    CSysEvidence();

    // Stores the window that receives WM_EVIDENCE_ITEM_FOUND; a null window is ignored.
    void SetParentWnd(HWND wnd);
    // 1 stops every walk (and makes later dispatcher calls find nothing) until 0 is stored again.
    void StopScanEvidence(int stop);

    // Run one category; numbers outside the dispatcher's range or without a source find nothing. Traces are
    // appended to items; the vector is not cleared.
    void ScanInternetExplorer(int category, std::vector<ScanResultItem>& items);  // 0..7
    void ScanWindowsSoftware(int category, std::vector<ScanResultItem>& items);   // 8..19
    void ScanWindowsSystem(int category, std::vector<ScanResultItem>& items);     // 27..42
    void ScanInternetSoftware(int category, std::vector<ScanResultItem>& items);  // 48..59

    // Empties the recycle bin of every drive (both arguments are ignored). Returns 1 when the bin is
    // empty afterwards, 0 when emptying failed.
    static int deleteFileInRecy(std::wstring path, HWND wnd);

    // True for a recycle-bin entry. Such an entry is removed only through the recycle bin
    // (deleteFileInRecy), never with a file deletion: its filePath is either the entry's physical file or,
    // where the shell gives no file-system path, the entry's name below the recycle bin's shell folder
    // (RecycleBinShellPrefix() followed by the name), which names no file.
    static bool IsRecycleBinItem(const ScanResultItem& item);
    static const wchar_t* RecycleBinShellPrefix();

protected:
    void EnumFiles(const std::wstring& folder, std::vector<ScanResultItem>& items, const std::wstring& category,
                   int number);
    void EnumRegKeys(HKEY root, const std::wstring& keyPath, std::vector<ScanResultItem>& items,
                     const std::wstring& category, int number);
    void EnumRecyle(std::vector<ScanResultItem>& items, const std::wstring& category, int number);

private:
    void ScanGroup(int group, int number, std::vector<ScanResultItem>& items);
    void ReadRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                      std::vector<ScanResultItem>& items, const std::wstring& category, int number);
    void Report(std::vector<ScanResultItem>& items, ScanResultItem&& item, int number);
    bool Stopped() const { return m_nStop != 0; }

    HWND m_hParentWnd;
    std::atomic<LONG> m_nStop;
};

}  // namespace Lumbrey
