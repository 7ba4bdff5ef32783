#include "Yarrowby/FileSpliter.h"

#include <QGuards.h>

#include <vector>

#include "CopyRun.h"
#include "PieceNames.h"
#include "ToolWorker.h"

namespace {

// Writes the pieces; on failure removes the ones this run wrote. 0 or the error.
DWORD WritePieces(const std::wstring& source, const std::wstring& folder, unsigned long long pieceSize,
                  YarrowbyToolWorker& worker)
{
    if (pieceSize == 0) return ERROR_INVALID_PARAMETER;
    qcore::UniqueFile in(OpenForSequentialRead(source));
    LARGE_INTEGER size = {};
    if (!in || !::GetFileSizeEx(in.Get(), &size)) return ::GetLastError();
    const unsigned long long total = static_cast<unsigned long long>(size.QuadPart);
    const unsigned long long count = total == 0 ? 1 : (total + pieceSize - 1) / pieceSize;

    CopyRun copy(worker, total);
    if (!copy.Valid()) return ERROR_NOT_ENOUGH_MEMORY;
    std::vector<std::wstring> written;
    DWORD error = 0;
    for (unsigned long long number = 1; number <= count && !error; ++number) {
        const std::wstring path = FolderPrefix(folder) + PieceName(source, number);
        // Only new files: a piece left from before (or a link in its place) is never written through, and a
        // failure below removes nothing this run did not create. The page asks before clearing old pieces.
        qcore::UniqueFile out(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) {
            error = ::GetLastError();
            break;
        }
        written.push_back(path);
        const unsigned long long offset = (number - 1) * pieceSize;
        error = copy.Copy(in.Get(), out.Get(), total - offset < pieceSize ? total - offset : pieceSize);
        // Flushed behind the copy while the run fills the next piece; waited for below. Flushed here, one after
        // the other, the pieces took twice as long.
        if (!error) copy.FlushBehind(out.Get());
    }
    // Every piece is on the disk before success is reported.
    if (!error) error = copy.FinishFlushes();
    if (error) {
        copy.AbandonFlushes();
        for (const std::wstring& path : written) ::DeleteFileW(path.c_str());
        return error;
    }
    copy.Finish();
    return 0;
}

}  // namespace

CFileSpliter::CFileSpliter() : m_worker(new YarrowbyToolWorker(WM_FILESPLIT_PROGRESS, WM_FILESPLIT_DONE)) {}

CFileSpliter::~CFileSpliter() { delete m_worker; }

void CFileSpliter::SetParentWnd(HWND hWnd) { m_worker->SetWindow(hWnd); }

bool CFileSpliter::SplitFiles(const std::wstring& source, const std::wstring& folder, unsigned long long pieceSize)
{
    return m_worker->Start([source, folder, pieceSize](YarrowbyToolWorker& worker, JobOutcome& outcome) {
        if (const DWORD error = WritePieces(source, folder, pieceSize, worker)) outcome.Fail(error);
    });
}

void CFileSpliter::Stop() { m_worker->Stop(); }

bool CFileSpliter::IsRunning() const { return m_worker->Running(); }

std::wstring CFileSpliter::PieceFileName(const std::wstring& sourcePath, unsigned long long number)
{
    return PieceName(sourcePath, number);
}
