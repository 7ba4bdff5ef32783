#include "HttpTransfer.h"

#include <atomic>
#include <memory>
#include <vector>

#include <QMfc.h>
#include <QMfcInternet.h>
#include <QGuards.h>
#include <QWorker.h>

#include "UrlRules.h"

namespace HttpTransfer {

namespace {

// Chunks of this size are read and written.
const UINT kChunk = 204799;
// A server that stops answering fails the transfer after this long instead of holding its worker for ever.
const DWORD kTimeoutMs = 30000;

void LimitWaits(CInternetSession& session)
{
    session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, kTimeoutMs);
    session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, kTimeoutMs);
    session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, kTimeoutMs);
}

// Opens the address and checks the status; the open file is handed over in `file`.
Result Open(CInternetSession& session, const std::wstring& url, DWORD flags, std::unique_ptr<CStdioFile>& file)
{
    Result result;
    if (!UrlRules::IsHttpUrl(url)) {
        result.outcome = Outcome::BadUrl;
        return result;
    }
    try {
        file.reset(session.OpenURL(url.c_str(), 1, flags));
    } catch (CException* e) {
        e->Delete();
        result.outcome = Outcome::NetworkError;
        return result;
    }
    CHttpFile* http = dynamic_cast<CHttpFile*>(file.get());
    if (!http || !http->QueryInfoStatusCode(result.status)) {
        result.outcome = Outcome::NetworkError;
        return result;
    }
    result.outcome = result.status == 200 ? Outcome::Ok : Outcome::HttpStatus;
    return result;
}

bool Signalled(HANDLE event) { return event && ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

// WinINet's calls block for as long as their time-outs allow, and closing a handle does not end them under Wine.
// So a transfer that can be stopped runs on a thread of its own: a stop returns at once, and the thread, left to
// end by itself (its time-outs bound it), sees the stop and cleans up after itself.
// The thread's progress is handed over through the shared record and reported on the caller's thread, so nothing
// of the caller's is touched once the caller has gone on.
struct StoppableRun {
    Result result;
    std::wstring text;
    qcore::UniqueHandle stop;  // the caller's stop event, kept open for as long as the thread needs it
    std::atomic<ULONGLONG> done{0};
    std::atomic<ULONGLONG> total{0};
};

using Body = std::function<Result(HANDLE stop, std::wstring& text, const Progress& progress)>;

Result RunStoppable(HANDLE stop, std::wstring* text, const Progress& progress, const Body& body)
{
    std::wstring scratch;
    HANDLE copy = nullptr;
    if (!stop ||
        !::DuplicateHandle(::GetCurrentProcess(), stop, ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return body(stop, text ? *text : scratch, progress);
    auto run = std::make_shared<StoppableRun>();
    run->stop.Reset(copy);
    qcore::UniqueHandle thread(qcore::StartThread([run, body] {
        run->result = body(run->stop.Get(), run->text, [run](ULONGLONG done, ULONGLONG total) {
            run->total = total;
            run->done = done;
        });
    }));
    if (!thread) return body(stop, text ? *text : scratch, progress);
    const HANDLE waits[2] = {thread.Get(), stop};
    ULONGLONG reported = 0;
    for (;;) {
        const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, 100);
        if (woke == WAIT_OBJECT_0 + 1 || woke == WAIT_FAILED) {
            Result stopped;
            stopped.outcome = Outcome::Stopped;
            return stopped;
        }
        const ULONGLONG done = run->done;
        if (progress && done != reported) progress(reported = done, run->total);
        if (woke == WAIT_OBJECT_0) break;
    }
    if (text) *text = std::move(run->text);
    return run->result;
}

// A transfer the caller stopped ends as Stopped, whatever it ended with meanwhile.
Result Finish(Result result, HANDLE stop)
{
    if (Signalled(stop)) result.outcome = Outcome::Stopped;
    return result;
}

Result FetchTextNow(const std::wstring& url, std::wstring& text, ULONGLONG maxBytes, HANDLE stop)
{
    text.clear();
    CInternetSession session(L"HttpClient", 1, PRE_CONFIG_INTERNET_ACCESS);
    LimitWaits(session);
    std::unique_ptr<CStdioFile> file;
    Result result = Open(session, url, INTERNET_FLAG_TRANSFER_ASCII, file);
    if (result.outcome != Outcome::Ok) return Finish(result, stop);
    if (maxBytes && file->GetLength() > maxBytes) result.outcome = Outcome::TooLarge;
    try {
        CString line;
        while (result.outcome == Outcome::Ok && !Signalled(stop) && file->ReadString(line)) {
            text += line.GetString();
            text += L'\n';
            if (maxBytes && file->GetPosition() > maxBytes) result.outcome = Outcome::TooLarge;
        }
        result.bytes = file->GetPosition();
    } catch (CException* e) {
        e->Delete();
        result.outcome = Outcome::NetworkError;
    }
    file->Close();
    result = Finish(result, stop);
    if (result.outcome != Outcome::Ok) text.clear();
    return result;
}

Result DownloadNow(const std::wstring& url, const std::wstring& path, const Progress& progress, ULONGLONG maxBytes,
                   HANDLE stop)
{
    CInternetSession session(L"DozeDA/1.0", 1, PRE_CONFIG_INTERNET_ACCESS);
    LimitWaits(session);
    std::unique_ptr<CStdioFile> file;
    Result result = Open(session, url, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, file);
    if (result.outcome != Outcome::Ok) return Finish(result, stop);
    const ULONGLONG total = file->GetLength();
    if (maxBytes && total > maxBytes) {
        file->Close();
        result.outcome = Outcome::TooLarge;
        return result;
    }
    qcore::UniqueFile out(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        result.outcome = Outcome::FileError;
        return result;
    }
    std::vector<char> buffer(kChunk);
    try {
        for (;;) {
            if (Signalled(stop)) {
                result.outcome = Outcome::Stopped;
                break;
            }
            const UINT n = file->Read(buffer.data(), kChunk);
            if (n == 0) break;
            if (maxBytes && result.bytes + n > maxBytes) {
                result.outcome = Outcome::TooLarge;
                break;
            }
            DWORD written = 0;
            if (!::WriteFile(out.Get(), buffer.data(), n, &written, nullptr) || written != n) {
                result.outcome = Outcome::FileError;
                break;
            }
            result.bytes += n;
            if (progress) progress(result.bytes, total);
        }
    } catch (CException* e) {
        e->Delete();
        result.outcome = Outcome::NetworkError;
    }
    file->Close();
    // A server that announced a length and sent less broke off.
    if (result.outcome == Outcome::Ok && total != 0 && result.bytes < total) result.outcome = Outcome::NetworkError;
    out.Reset();
    result = Finish(result, stop);
    if (result.outcome != Outcome::Ok) ::DeleteFileW(path.c_str());
    return result;
}

}  // namespace

Result FetchText(const std::wstring& url, std::wstring& text, const Limits& limits)
{
    const ULONGLONG maxBytes = limits.maxBytes;
    return RunStoppable(limits.stop, &text, Progress(),
                        [url, maxBytes](HANDLE stop, std::wstring& out, const Progress&) {
                            return FetchTextNow(url, out, maxBytes, stop);
                        });
}

Result DownloadToFile(const std::wstring& url, const std::wstring& path, const Progress& progress, const Limits& limits)
{
    const ULONGLONG maxBytes = limits.maxBytes;
    return RunStoppable(limits.stop, nullptr, progress,
                        [url, path, maxBytes](HANDLE stop, std::wstring&, const Progress& report) {
                            return DownloadNow(url, path, report, maxBytes, stop);
                        });
}

}  // namespace HttpTransfer
