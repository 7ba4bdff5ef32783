#include "Yarrowby/FileJoin.h"

#include <QGuards.h>
#include <QPathText.h>

#include "CopyRun.h"
#include "PieceNames.h"
#include "ToolWorker.h"

namespace {

bool IsPlainFileName(const std::wstring& name)
{
    return !name.empty() && name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos && name != L"." && name != L"..";
}

// A full last piece with the next number beside it: the set ends early, and the joined file would be short.
bool NextPieceExists(const std::vector<std::wstring>& pieces, const std::vector<unsigned long long>& sizes)
{
    if (sizes.back() != sizes.front()) return false;  // a shorter last piece ends the split
    const std::wstring& last = pieces.back();
    const PieceLabel label = ReadPieceLabel(last);
    const std::wstring next = last.substr(0, last.size() - qpath::FileNameOf(last).size()) + label.joinedName + L"," +
                              std::to_wstring(label.number + 1) + L".splt";
    return ::GetFileAttributesW(next.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Copies the pieces into `temp`, flushed. 0 or the error.
DWORD WriteJoined(const std::vector<std::wstring>& pieces, const std::vector<unsigned long long>& sizes,
                  const std::wstring& temp, CopyRun& copy)
{
    qcore::UniqueFile out(
        ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return ::GetLastError();
    for (size_t i = 0; i < pieces.size(); ++i) {
        qcore::UniqueFile in(OpenForSequentialRead(pieces[i]));
        if (!in) return ::GetLastError();
        if (const DWORD error = copy.Copy(in.Get(), out.Get(), sizes[i])) return error;
    }
    if (!::FlushFileBuffers(out.Get())) return ::GetLastError();
    return copy.FinishFlushes();
}

DWORD Join(const std::vector<std::wstring>& pieces, const std::wstring& folder, const std::wstring& name,
           YarrowbyToolWorker& worker)
{
    if (pieces.empty()) return ERROR_INVALID_PARAMETER;
    if (!IsPlainFileName(name)) return ERROR_INVALID_NAME;
    // The pieces are named after the output, so none of them can be the output itself.
    if (const DWORD fault = CheckPieceSequence(pieces, name)) return fault;
    std::vector<unsigned long long> sizes;
    unsigned long long total = 0;
    for (const std::wstring& piece : pieces) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExW(piece.c_str(), GetFileExInfoStandard, &data)) return ::GetLastError();
        sizes.push_back((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
        total += sizes.back();
    }
    if (const DWORD fault = CheckPieceSizes(sizes)) return fault;
    if (NextPieceExists(pieces, sizes)) return YARROWBY_ERROR_PIECE_MISSING;

    CopyRun copy(worker, total);
    if (!copy.Valid()) return ERROR_NOT_ENOUGH_MEMORY;
    wchar_t temp[MAX_PATH] = L"";
    if (!::GetTempFileNameW(FolderPrefix(folder).c_str(), L"qjn", 0, temp)) return ::GetLastError();
    DWORD error = WriteJoined(pieces, sizes, temp, copy);
    copy.AbandonFlushes();  // nothing left after a success; after a failure the file can go
    // Only a complete, flushed file takes the name; an earlier file of that name stays until then.
    if (!error &&
        !::MoveFileExW(temp, (FolderPrefix(folder) + name).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = ::GetLastError();
    if (error) {
        ::DeleteFileW(temp);
        return error;
    }
    copy.Finish();
    return 0;
}

}  // namespace

CFileJoin::CFileJoin() : m_worker(new YarrowbyToolWorker(WM_FILEJOIN_PROGRESS, WM_FILEJOIN_DONE)) {}

CFileJoin::~CFileJoin() { delete m_worker; }

void CFileJoin::SetParentWnd(HWND hWnd) { m_worker->SetWindow(hWnd); }

bool CFileJoin::JoinSpliterFiles(const std::vector<std::wstring>& pieces, const std::wstring& folder,
                                 const std::wstring& name)
{
    return m_worker->Start([pieces, folder, name](YarrowbyToolWorker& worker, JobOutcome& outcome) {
        if (const DWORD error = Join(pieces, folder, name, worker)) outcome.Fail(error);
    });
}

void CFileJoin::Stop() { m_worker->Stop(); }

bool CFileJoin::IsRunning() const { return m_worker->Running(); }

std::wstring CFileJoin::JoinedFileName(const std::wstring& piecePath) { return JoinedNameOf(piecePath); }
