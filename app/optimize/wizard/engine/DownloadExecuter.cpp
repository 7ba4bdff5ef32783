#include "DownloadExecuter.h"

#include <windows.h>

#include <Common.h>

#include "net/HttpTransfer.h"
#include "UrlRules.h"

std::wstring CDownloadExecuter::DownloadFolder() { return SBGetAppPathW() + L"download"; }

bool CDownloadExecuter::Run()
{
    const std::wstring url = WideAttribute("DownloadUrl");
    const std::wstring name = WideAttribute("FileName");
    if (!UrlRules::IsHttpUrl(url) || !UrlRules::IsBareFileName(name)) return false;
    const std::wstring folder = DownloadFolder();
    if (!SBRecursiveCreateDirectoryW(folder.c_str())) return false;

    wchar_t temp[MAX_PATH] = L"";
    if (!::GetTempFileNameW(folder.c_str(), L"qvd", 0, temp)) return false;
    // GetTempFileNameW made the empty file: it goes again whatever fails.
    const std::wstring target = folder + L"\\" + name;
    if (HttpTransfer::DownloadToFile(url, temp).outcome == HttpTransfer::Outcome::Ok &&
        ::MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    ::DeleteFileW(temp);
    return false;
}
