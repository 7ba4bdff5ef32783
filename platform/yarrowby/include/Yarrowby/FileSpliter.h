// CFileSpliter: cuts a file into pieces "<file name>,1.splt", "<file name>,2.splt", ... of a chosen size, raw
// bytes without a header, so the pieces joined in number order give the file back.
#pragma once

#include <windows.h>

#include <string>

#include "Yarrowby/YarrowbyApi.h"
#include "Yarrowby/YarrowbyMessages.h"

class YarrowbyToolWorker;

class YARROWBY_API CFileSpliter {
public:
    CFileSpliter();
    // Stops a running job (its pieces are removed) and waits for it.
    ~CFileSpliter();
    CFileSpliter(const CFileSpliter&) = delete;
    CFileSpliter& operator=(const CFileSpliter&) = delete;

    // The window that receives WM_FILESPLIT_PROGRESS and WM_FILESPLIT_DONE (null: nobody).
    void SetParentWnd(HWND hWnd);
    // Starts writing the pieces of `source` into `folder` on a worker thread and returns at once. Every piece but
    // the last holds pieceSize bytes; all are flushed before success is reported. On any failure (a full disk, an unreadable
    // source) the pieces written by this call are removed again. Pieces of an earlier split with higher numbers are
    // left alone. A job still running refuses the call (done at once, ERROR_BUSY). False when refused or no
    // thread could start (done already sent).
    bool SplitFiles(const std::wstring& source, const std::wstring& folder, unsigned long long pieceSize);
    void Stop();
    bool IsRunning() const;

    // The file name of piece `number` (from 1) of a file: "<file name>,<number>.splt".
    static std::wstring PieceFileName(const std::wstring& sourcePath, unsigned long long number);

private:
    YarrowbyToolWorker* m_worker;
};
