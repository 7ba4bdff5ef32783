// Web requests of the repair pages over WinINet: a text answer (the DLL search) and a file download. Only http
// and https addresses are fetched, and only an answer with status 200 counts.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

namespace HttpTransfer {

enum class Outcome {
    Ok,
    BadUrl,        // not an http or https address
    NetworkError,  // no connection, or the transfer broke off
    HttpStatus,    // the server answered, with a status other than 200 (Result::status)
    FileError,     // the local file could not be created or written
    Stopped,       // the caller stopped it
    TooLarge,      // the answer is longer than the caller takes: it was not read further
};

struct Result {
    Outcome outcome = Outcome::NetworkError;
    DWORD status = 0;     // the HTTP status when the server answered
    ULONGLONG bytes = 0;  // bytes received
};

// Called after each chunk: bytes so far and the length the server announced (0 when it did not).
using Progress = std::function<void(ULONGLONG done, ULONGLONG total)>;

// What a transfer may take: at most maxBytes of answer (0: no limit), and a stop event (optional) that ends it
// within moments, even while it waits for a slow server.
struct Limits {
    ULONGLONG maxBytes = 0;
    HANDLE stop = nullptr;
};

// Fetches the address as text (agent "HttpClient"): the answer's lines, each followed by "\n".
Result FetchText(const std::wstring& url, std::wstring& text, const Limits& limits = Limits());

// Downloads the address (agent "DozeDA/1.0", never from or into the cache) into a new file at path. On any
// failure the file is deleted again, so nothing half-written stays behind. An answer that announces more than
// maxBytes is refused before its body is read.
Result DownloadToFile(const std::wstring& url, const std::wstring& path, const Progress& progress = Progress(),
                      const Limits& limits = Limits());

}  // namespace HttpTransfer
