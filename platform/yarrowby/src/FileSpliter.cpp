#include "Yarrowby/FileSpliter.h"

#include <QGuards.h>

#include <vector>

#include "CopyRun.h"
#include "PieceNames.h"
#include "ToolWorker.h"

namespace {

// The identity of an open file, to know a file opened again by its name for the same one.
struct FileIdentity {
    DWORD volume = 0;
    DWORD high = 0;
    DWORD low = 0;
    bool operator==(const FileIdentity& other) const
    {
        return volume == other.volume && high == other.high && low == other.low;
    }
};

DWORD Identify(HANDLE file, FileIdentity& identity)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file, &info)) return ::GetLastError();
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return 0;
}

// Opens a written piece again, checks that it is still the file this run wrote and flushes it. 0 or the error.
DWORD FlushPiece(const std::wstring& path, const FileIdentity& written)
{
    qcore::UniqueFile piece(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!piece) return ::GetLastError();
    FileIdentity found;
    if (const DWORD error = Identify(piece.Get(), found)) return error;
    if (!(found == written)) return ERROR_FILE_INVALID;
    return ::FlushFileBuffers(piece.Get()) ? 0 : ::GetLastError();
}

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
    std::vector<FileIdentity> identities;
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
        identities.emplace_back();
        error = Identify(out.Get(), identities.back());
        const unsigned long long offset = (number - 1) * pieceSize;
        if (!error) error = copy.Copy(in.Get(), out.Get(), total - offset < pieceSize ? total - offset : pieceSize);
        // Closed as soon as it is written: the system starts writing a closed file out while the run fills the
        // next piece, so the flushes at the end find little left to do. Flushed while open, one after the other,
        // the pieces took twice as long.
    }
    // Every piece is on the disk before success is reported.
    for (size_t i = 0; i < written.size() && !error; ++i) error = FlushPiece(written[i], identities[i]);
    if (error) {
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
