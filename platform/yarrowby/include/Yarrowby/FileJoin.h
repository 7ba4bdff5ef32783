// CFileJoin: joins the pieces of a split file back into one file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Yarrowby/YarrowbyApi.h"
#include "Yarrowby/YarrowbyMessages.h"

class YarrowbyToolWorker;

class YARROWBY_API CFileJoin {
public:
    CFileJoin();
    // Stops a running job (nothing is left behind) and waits for it.
    ~CFileJoin();
    CFileJoin(const CFileJoin&) = delete;
    CFileJoin& operator=(const CFileJoin&) = delete;

    // The window that receives WM_FILEJOIN_PROGRESS and WM_FILEJOIN_DONE (null: nobody).
    void SetParentWnd(HWND hWnd);
    // Copies the arguments and joins the pieces, in the order given, into folder\name on a worker thread; returns
    // at once. Before anything is written the pieces are checked: each must be named "<name>,<n>.splt", the
    // numbers must run 1, 2, ... N in the order given, and all but the last must be of one size; otherwise
    // nothing is written and the done message names the fault. The output is written to a temporary file in the
    // folder and takes its name (replacing a file of that name) only when every byte is written and flushed: a
    // failed join leaves no partial output and an earlier file of that name as it was. A job still running refuses
    // the call (done at once, ERROR_BUSY). False when refused or no thread could start (done already sent).
    bool JoinSpliterFiles(const std::vector<std::wstring>& pieces, const std::wstring& folder,
                          const std::wstring& name);
    void Stop();
    bool IsRunning() const;

    // The name of the whole file a piece belongs to: the piece's file name (after its folder) up to its last
    // comma. Empty when that name has no comma or nothing before it.
    static std::wstring JoinedFileName(const std::wstring& piecePath);

private:
    YarrowbyToolWorker* m_worker;
};
