#include "JunkTypeTable.h"

#include "PathText.h"
#include "QPathText.h"

namespace JunkPage {

namespace {

// In match order: the first row that matches describes the file (".$$$" is listed twice; the first wins).
const JunkType kTypes[kJunkTypeCount] = {
    {L".swp", L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES"},
    {L".$$$", L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES"},
    {L".tmp", L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES"},
    {L".temp", L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES"},
    {L".??~", L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES"},
    {L".sik", L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES"},
    {L".db$", L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES_DATABASE"},
    {L".nch", L"IDS_SCAN_CLEAN_JUNK_TYPE_OUTLOOK"},
    {L".pch", L"IDS_SCAN_CLEAN_JUNK_TYPE_VS"},
    {L".ncb", L"IDS_SCAN_CLEAN_JUNK_TYPE_VS"},
    {L".ilk", L"IDS_SCAN_CLEAN_JUNK_TYPE_VS"},
    {L".exp", L"IDS_SCAN_CLEAN_JUNK_TYPE_VS"},
    {L".ilc", L"IDS_SCAN_CLEAN_JUNK_TYPE_CBUILDER"},
    {L".ild", L"IDS_SCAN_CLEAN_JUNK_TYPE_CBUILDER"},
    {L".ils", L"IDS_SCAN_CLEAN_JUNK_TYPE_CBUILDER"},
    {L".ilf", L"IDS_SCAN_CLEAN_JUNK_TYPE_CBUILDER"},
    {L".tds", L"IDS_SCAN_CLEAN_JUNK_TYPE_CBUILDER"},
    {L".gid", L"IDS_SCAN_CLEAN_JUNK_WINDOWS_HELP"},
    {L".fts", L"IDS_SCAN_CLEAN_JUNK_WORD_LIST"},
    {L".ftg", L"IDS_SCAN_CLEAN_JUNK_WORD_LIST"},
    {L".err", L"IDS_SCAN_CLEAN_JUNK_ERROR_FILES"},
    {L".$$$", L"IDS_SCAN_CLEAN_JUNK_MEMORY_DUMP"},
    {L".chk", L"IDS_SCAN_CLEAN_JUNK_CHKDSK"},
    {L"._dd", L"IDS_SCAN_CLEAN_JUNK_CHKDSK"},
    {L".diz", L"IDS_SCAN_CLEAN_JUNK_DESCRIPTION_FILES"},
    {L".log", L"ID_SCAN_CLEAN_JUNK_LOGFILE"},  // the one key of the table without "IDS_"
    {L".prv", L"IDS_SCAN_CLEAN_JUNK_BACKUPFILES"},
    {L".old", L"IDS_SCAN_CLEAN_JUNK_BACKUPFILES"},
    {L".bak", L"IDS_SCAN_CLEAN_JUNK_BACKUPFILES"},
    {L".nu3", L"IDS_SCAN_CLEAN_JUNK_SYMANTEC"},
};

const size_t kLongestExtension = 4;  // "temp"

}  // namespace

const JunkType& JunkTypeAt(int row) { return kTypes[row]; }

int MatchJunkType(const wchar_t* name, size_t length)
{
    // Called for every file of a walk: no allocation, at most one short comparison per row.
    size_t dot = length;
    while (dot > 0 && name[dot - 1] != L'.') --dot;
    if (dot == 0) return -1;
    const size_t extLength = length - dot;
    if (extLength == 0 || extLength > kLongestExtension) return -1;
    wchar_t ext[kLongestExtension];
    for (size_t i = 0; i < extLength; ++i) ext[i] = name[dot + i];
    qpath::FoldCaseInPlace(ext, extLength);
    for (int row = 0; row < kJunkTypeCount; ++row) {
        const wchar_t* ending = kTypes[row].ending + 1;
        size_t i = 0;
        while (i < extLength && ending[i] == ext[i]) ++i;
        if (i == extLength && ending[i] == 0) return row;
    }
    return -1;
}

bool IsProtectedFolder(const std::wstring& folder, const std::wstring& windowsFolder)
{
    if (windowsFolder.empty() || !qpath::StartsWithNoCase(folder, windowsFolder)) return false;
    return !qpath::StartsWithNoCase(folder, windowsFolder + L"TEMP");
}

std::wstring StatusPath(const std::wstring& path) { return ScanPages::ShortenPath(path, 58, 5, 50); }

}  // namespace JunkPage
