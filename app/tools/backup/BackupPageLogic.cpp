#include "BackupPageLogic.h"

#include <cwchar>

#include "QPathText.h"
#include "zip/ZipEntryName.h"

namespace BackupPages {

namespace {

std::wstring Replace(std::wstring text, wchar_t from, wchar_t to)
{
    for (auto& c : text)
        if (c == from) c = to;
    return text;
}

const wchar_t kPrefix[] = L"Backup_";
const size_t kPrefixLength = 7;

}  // namespace

std::wstring RegistryBackupFileName(const std::tm& localTime)
{
    wchar_t text[128] = L"";
    size_t n = std::wcsftime(text, sizeof(text) / sizeof(text[0]), L"%b.%d,%Y %I:%M:%S %p", &localTime);
    std::wstring date(text, n);
    return kPrefix + Replace(Replace(date, L':', L'-'), L',', L'_') + L".reg";
}

bool RegistryRowTextFromFileName(const std::wstring& fileName, std::wstring& rowText)
{
    if (fileName.size() <= kPrefixLength + 4 || !qpath::EndsWithNoCase(fileName, L".reg")) return false;
    std::wstring date = fileName.substr(kPrefixLength, fileName.size() - 4 - kPrefixLength);
    rowText = Replace(Replace(date, L'-', L':'), L'_', L',');
    return true;
}

std::wstring RegistryFileNameFromRowText(const std::wstring& rowText)
{
    return kPrefix + Replace(Replace(rowText, L':', L'-'), L',', L'_') + L".reg";
}

std::wstring QuoteForRegistryEditor(const std::wstring& path)
{
    std::wstring text = L"\"";
    for (wchar_t c : path) {
        text += c;
        if (c == L'\\') text += c;
    }
    return text + L"\"";
}

std::wstring FavoriteDisplayName(const std::wstring& fileName)
{
    return fileName.size() <= 4 ? std::wstring() : fileName.substr(0, fileName.size() - 4);
}

ArchiveNameCheck CheckArchiveName(const std::wstring& name)
{
    if (name.empty()) return ArchiveNameCheck::Empty;
    if (name.find_first_of(L"/\\|<>*?\":") != std::wstring::npos) return ArchiveNameCheck::Invalid;
    for (wchar_t c : name)
        if (c < 32) return ArchiveNameCheck::Invalid;
    // The archive is name + ".fbk": a device name stays one with that extension.
    if (name.back() == L'.' || name.back() == L' ' || Zip::IsDeviceName(name)) return ArchiveNameCheck::Invalid;
    return ArchiveNameCheck::Ok;
}

std::wstring TreeItemPath(const std::vector<std::wstring>& textsFromDrive)
{
    std::wstring path;
    for (const auto& text : textsFromDrive) {
        if (!path.empty() && path.back() != L'\\') path += L'\\';
        path += text;
    }
    return path;
}

bool ContainsPathIgnoringCase(const std::vector<std::wstring>& paths, const std::wstring& path)
{
    for (const auto& p : paths)
        if (qpath::EqualsNoCase(p, path)) return true;
    return false;
}

std::wstring SummarizeLines(const std::vector<std::wstring>& lines, size_t maxLines)
{
    std::wstring text;
    for (size_t i = 0; i < lines.size() && i < maxLines; ++i) text += L"\r\n" + lines[i];
    if (lines.size() > maxLines) text += L"\r\n(+" + std::to_wstring(lines.size() - maxLines) + L")";
    return text;
}

int FindRestorePointSequence(const std::vector<RestorePointRow>& points, const std::wstring& description)
{
    for (const auto& p : points)
        if (p.description == description) return p.sequence;
    return -1;
}

}  // namespace BackupPages
