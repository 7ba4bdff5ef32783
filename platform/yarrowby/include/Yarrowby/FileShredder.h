// CFileShredder: overwrites files several times, each pass flushed to the disk, then renames and deletes them.
//
// Limits: overwriting in place cannot reach copies the system keeps elsewhere: copy-on-write and journalling file
// systems, SSD wear levelling, snapshots and shadow copies, NTFS compressed or sparse files, alternate data
// streams, or a file's data resident in its directory record.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Yarrowby/YarrowbyApi.h"
#include "Yarrowby/YarrowbyMessages.h"

class YarrowbyToolWorker;

class YARROWBY_API CFileShredder {
public:
    // Most and fewest passes a run makes; other counts are clamped to these.
    static const int kMinPasses = 1;
    static const int kMaxPasses = 100;

    CFileShredder();
    // Stops a running job (the file being overwritten stays, overwritten in part) and waits for it.
    ~CFileShredder();
    CFileShredder(const CFileShredder&) = delete;
    CFileShredder& operator=(const CFileShredder&) = delete;

    // The window that receives WM_SHRED_PROGRESS and WM_SHRED_DONE (null: nobody).
    void SetParentWnd(HWND hWnd);
    // Copies the paths and starts shredding them on a worker thread; returns at once. Each file's whole allocated
    // length is overwritten `passes` times (clamped to 1-100) with random data, each pass flushed; the file is then
    // renamed to a random name of the same length and deleted. Folders, drive roots and links are refused; a file
    // another program holds open fails; the run goes on with the next file either way. A job still running refuses
    // the call (done at once, ERROR_BUSY). False when refused or no thread could start (done already sent).
    bool ShredderFiles(const std::vector<std::wstring>& files, int passes);
    // Asks a running job to stop and waits for it, handling the messages sent to this thread meanwhile; its done
    // message is still sent. Returns at once when nothing runs.
    void Stop();
    bool IsRunning() const;

private:
    YarrowbyToolWorker* m_worker;
};
