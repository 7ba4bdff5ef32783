// The rules of the DLL search and download page that need no window: the request to the service, the reading of
// its answer, and the progress arithmetic.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace DllSearch {

extern const wchar_t kEndpoint[];         // "dllapi.php"
extern const wchar_t kVerifyToken[];      // the service's fixed token
extern const wchar_t kSearchAction[];     // "searchdll"
extern const wchar_t kDefaultFileName[];  // the edit's text when the page is shown

// "win7", "vista" or "xp" (kinds of GetOSVersion) followed by "64" or "32".
std::wstring OsText(int kind, bool is64);
// <base>dllapi.php?os=..&verify=..&action=searchdll&file=.. with every value percent-encoded.
std::wstring SearchUrl(const std::wstring& serviceBase, const std::wstring& os, const std::wstring& file);

struct Row {
    std::wstring name;  // the text after the last "/" of the address
    std::wstring url;
};
// The usable lines of an answer in answer order: each trimmed of blanks, tabs and CR; kept when it is an http(s)
// address whose last "/" is followed by a name. (The page lists them last first.)
std::vector<Row> ParseAnswer(const std::wstring& answer);

// The service's answer is a short list of addresses: a longer one is refused, not read whole.
const ULONGLONG kMaxAnswerBytes = 1024 * 1024;

// The rows that offer the file asked for (its name in any letter case): the service may answer with others,
// which the user did not ask for and is not offered.
std::vector<Row> RowsFor(const std::vector<Row>& rows, const std::wstring& asked);

// The bar's position while a file downloads: base + done × 100 / total in 64-bit arithmetic, never past
// base + 100; base when the server announced no length.
int ProgressPosition(int base, ULONGLONG done, ULONGLONG total);

}  // namespace DllSearch
