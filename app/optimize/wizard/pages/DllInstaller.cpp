#include "DllInstaller.h"

#include "net/PeImage.h"
#include "system/SystemPrograms.h"
#include "UrlRules.h"

namespace DllInstaller {

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Result Make(Outcome outcome, DWORD status = 0)
{
    Result r;
    r.outcome = outcome;
    r.httpStatus = status;
    return r;
}

Outcome FromTransfer(HttpTransfer::Outcome outcome)
{
    switch (outcome) {
    case HttpTransfer::Outcome::Ok: return Outcome::Installed;
    case HttpTransfer::Outcome::BadUrl: return Outcome::BadUrl;
    case HttpTransfer::Outcome::NetworkError: return Outcome::NetworkError;
    case HttpTransfer::Outcome::HttpStatus: return Outcome::HttpStatus;
    case HttpTransfer::Outcome::FileError: return Outcome::WriteFailed;
    case HttpTransfer::Outcome::Stopped: return Outcome::Stopped;
    case HttpTransfer::Outcome::TooLarge: return Outcome::TooLarge;
    }
    return Outcome::NetworkError;
}

// A new, empty temporary file of this program in the user's temp folder.
std::wstring NewTempFile()
{
    wchar_t folder[MAX_PATH] = L"";
    wchar_t file[MAX_PATH] = L"";
    const DWORD n = ::GetTempPathW(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH || !::GetTempFileNameW(folder, L"qvd", 0, file)) return std::wstring();
    return file;
}

}  // namespace

Result Install(const std::wstring& name, const std::wstring& url, const std::wstring& systemFolder,
               const HttpTransfer::Progress& progress, HANDLE stop)
{
    if (!UrlRules::IsBareDllName(name)) return Make(Outcome::BadName);
    if (!UrlRules::IsHttpUrl(url)) return Make(Outcome::BadUrl);
    const std::wstring target = systemFolder + L"\\" + name;
    if (target.size() >= MAX_PATH) return Make(Outcome::BadName);
    if (Exists(target)) return Make(Outcome::AlreadyPresent);

    const std::wstring temp = NewTempFile();
    if (temp.empty()) return Make(Outcome::WriteFailed);
    HttpTransfer::Limits limits;
    limits.maxBytes = kMaxDllBytes;
    limits.stop = stop;
    const HttpTransfer::Result transfer = HttpTransfer::DownloadToFile(url, temp, progress, limits);
    Result result = Make(FromTransfer(transfer.outcome), transfer.status);
    if (result.outcome == Outcome::Installed) {
        const PeCheck check = CheckPeDllFile(temp, ThisProcessMachine());
        if (check == PeCheck::OtherMachine)
            result.outcome = Outcome::OtherMachine;
        else if (check != PeCheck::DllForThisMachine)
            result.outcome = Outcome::NotDll;
        // Without "replace": a file that appeared meanwhile stays as it is.
        else if (!::CopyFileW(temp.c_str(), target.c_str(), TRUE))
            result.outcome = Exists(target) ? Outcome::AlreadyPresent : Outcome::WriteFailed;
    }
    ::DeleteFileW(temp.c_str());
    return result;
}

Result Register(const std::wstring& name, const std::wstring& systemFolder, HANDLE cancel)
{
    if (!UrlRules::IsBareDllName(name)) return Make(Outcome::BadName);
    const std::wstring path = systemFolder + L"\\" + name;
    if (!Exists(path)) return Make(Outcome::NotInstalled);
    return Make(SystemPrograms::RegisterDllSilently(path, cancel) ? Outcome::Registered : Outcome::RegisterFailed);
}

const wchar_t* OutcomeKey(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Installed: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_INSTALLED";
    case Outcome::Registered: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_REGISTERED";
    case Outcome::BadName: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_BAD_NAME";
    case Outcome::BadUrl: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_BAD_URL";
    case Outcome::AlreadyPresent: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_EXISTS";
    case Outcome::NetworkError: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_NETWORK";
    case Outcome::HttpStatus: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_HTTP_STATUS";
    case Outcome::NotDll: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_NOT_DLL";
    case Outcome::OtherMachine: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_OTHER_MACHINE";
    case Outcome::WriteFailed: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_WRITE_FAILED";
    case Outcome::Stopped: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_STOPPED";
    case Outcome::TooLarge: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_TOO_LARGE";
    case Outcome::NotInstalled: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_NOT_INSTALLED";
    case Outcome::RegisterFailed: return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_REGISTER_FAILED";
    }
    return L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_NETWORK";
}

}  // namespace DllInstaller
