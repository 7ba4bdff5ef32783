// Skarloe.dll: the client of the operating system's update service. It searches for software updates that are
// not installed, downloads one at a time with progress and completion callbacks, and installs a downloaded one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "SkarloeApi.h"

// One update that is not installed. Texts are in the system's ANSI code page.
struct UpdateItem {
    std::string kbId;  // "KB" and the first article number; empty when the update names none
    std::string title;
    std::string description;
    int maxDownloadSize = 0;  // the low 32 bits of the largest download, in bytes
    std::string date;         // last deployment change, "year-month-day" without zero padding
    std::string severity;     // "Unknown" when the service gives none
    bool downloaded = false;
    std::string updateId;  // the identifier by which an update is downloaded and installed
};

// Callbacks run on a thread of the update service's choosing: they must be safe on any thread. The identifier
// handed to them is the library's own copy, valid during the call.
typedef void (*PFN_UPDATE_DOWNLOAD_PROGRESS)(char* updateId, int percent);
typedef void (*PFN_UPDATE_DOWNLOAD_COMPLETE)(char* updateId);
typedef void (*PFN_UPDATE_INSTALL_PROGRESS)(char* updateId, int percent);
typedef void (*PFN_UPDATE_INSTALL_COMPLETE)(char* updateId);

class SKARLOE_API CWindowsUpdate {
public:
    CWindowsUpdate();
    ~CWindowsUpdate();
    CWindowsUpdate(const CWindowsUpdate&) = delete;
    CWindowsUpdate& operator=(const CWindowsUpdate&) = delete;

    // Searches for software updates that are not installed; the records of the previous search are gone.
    // Returns the first failing status of the search, else the status of the last update read (S_OK when none).
    long CheckUpdate();
    int GetUpdateItemCount();
    // The record at index (valid until the next search), or null outside 0 .. count - 1.
    UpdateItem* GetUpdateItemIndex(int index);

    void SetWnd(HWND wnd) { m_wnd = wnd; }
    HWND GetWnd() { return m_wnd; }

    // Starts the download of one update of the last search; its progress and completion arrive through the
    // callbacks. E_FAIL for an identifier the last search did not return. A download started before ends here:
    // one download runs at a time.
    long DownloadUpdate(const char* updateId);
    // Asks the running download to stop; nothing when none runs.
    void StopDowndload();
    // Installs one downloaded update and waits for the result: a failure status when the service did not install
    // it (its own error, or E_FAIL).
    long InstallUpdate(const char* updateId);
    // The outcome of the last download that completed: S_OK, or the failure status of an aborted or failed one.
    long GetLastDownloadResult();

    void SetDownloadCallback(PFN_UPDATE_DOWNLOAD_PROGRESS callback);
    void SetDownloadCompleteCallback(PFN_UPDATE_DOWNLOAD_COMPLETE callback);
    // Kept for callers that set them; installs report through their result.
    void SetInstallCallback(PFN_UPDATE_INSTALL_PROGRESS callback);
    void SetInstallCompleteCallback(PFN_UPDATE_INSTALL_COMPLETE callback);

private:
    struct Node;
    struct Shared;

    // The update of this id with a reference of the caller's (released by the caller), or null. A new search may
    // free the records meanwhile: the reference keeps the update alive for the call that uses it.
    struct IUpdate* FindUpdate(const char* updateId);
    void ReleaseRecords();

    std::vector<UpdateItem*> m_items;
    std::vector<Node*> m_updates;
    HWND m_wnd;
    Shared* m_shared;  // the apartment, the running job and the callbacks
};
