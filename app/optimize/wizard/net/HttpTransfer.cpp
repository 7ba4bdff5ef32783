#include "HttpTransfer.h"

#include <memory>
#include <vector>

#include <QMfc.h>
#include <QMfcInternet.h>
#include <QGuards.h>

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

}  // namespace

Result FetchText(const std::wstring& url, std::wstring& text)
{
    text.clear();
    CInternetSession session(L"HttpClient", 1, PRE_CONFIG_INTERNET_ACCESS);
    LimitWaits(session);
    std::unique_ptr<CStdioFile> file;
    Result result = Open(session, url, INTERNET_FLAG_TRANSFER_ASCII, file);
    if (result.outcome != Outcome::Ok) return result;
    try {
        CString line;
        while (file->ReadString(line)) {
            text += line.GetString();
            text += L'\n';
        }
        result.bytes = file->GetPosition();
    } catch (CException* e) {
        e->Delete();
        text.clear();
        result.outcome = Outcome::NetworkError;
    }
    file->Close();
    return result;
}

Result DownloadToFile(const std::wstring& url, const std::wstring& path, const Progress& progress,
                      const std::atomic<bool>* stop)
{
    CInternetSession session(L"DozeDA/1.0", 1, PRE_CONFIG_INTERNET_ACCESS);
    LimitWaits(session);
    std::unique_ptr<CStdioFile> file;
    Result result = Open(session, url, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, file);
    if (result.outcome != Outcome::Ok) return result;

    qcore::UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        result.outcome = Outcome::FileError;
        return result;
    }
    const ULONGLONG total = file->GetLength();
    std::vector<char> buffer(kChunk);
    try {
        for (;;) {
            if (stop && stop->load()) {
                result.outcome = Outcome::Stopped;
                break;
            }
            const UINT n = file->Read(buffer.data(), kChunk);
            if (n == 0) break;
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
    if (result.outcome != Outcome::Ok) ::DeleteFileW(path.c_str());
    return result;
}

} // namespace HttpTransfer
