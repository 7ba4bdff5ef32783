#include "UninstallRules.h"

#include <cstdio>

#include "QPathText.h"

namespace {

const wchar_t* const kUninstallKeys[] = {
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
};

bool IsUpdateKeyName(const std::wstring& name)
{
    if (name.size() < 3 || (name[0] != L'K' && name[0] != L'k') || (name[1] != L'B' && name[1] != L'b')) return false;
    return name[2] >= L'0' && name[2] <= L'9';
}

}  // namespace

bool IsHiddenEntry(const UninstallFlags& flags)
{
    if (flags.systemComponent || flags.hasParent || IsUpdateKeyName(flags.subkeyName)) return true;
    for (const wchar_t* type : {L"Update", L"Hotfix", L"Security Update"})
        if (qpath::EqualsNoCase(flags.releaseType, type)) return true;
    return false;
}

std::wstring EstimatedSizeText(DWORD kib)
{
    wchar_t text[32] = L"";
    if (kib == 0) return std::wstring();
    if (kib < 1024)
        swprintf(text, 32, L"%u KB", unsigned(kib));
    else if (kib < 1024 * 1024)
        swprintf(text, 32, L"%.1f MB", kib / 1024.0);
    else
        swprintf(text, 32, L"%.2f GB", kib / (1024.0 * 1024.0));
    return text;
}

IconLocation ParseIconLocation(const std::wstring& value)
{
    IconLocation location;
    std::wstring text = value;
    const size_t comma = text.rfind(L',');
    if (comma != std::wstring::npos) {
        const std::wstring number = text.substr(comma + 1);
        size_t digits = number.size() > 0 && number[0] == L'-' ? 1 : 0;
        const size_t first = digits;
        while (digits < number.size() && number[digits] >= L'0' && number[digits] <= L'9') ++digits;
        if (digits > first && digits == number.size()) {
            location.index = _wtoi(number.c_str());
            text.resize(comma);
        }
    }
    while (!text.empty() && text.back() == L' ') text.pop_back();
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
    location.path = text;
    return location;
}

bool IsRemovableEntryPath(const std::wstring& keyPath, HKEY& root, std::wstring& subkey)
{
    if (keyPath.compare(0, 5, L"HKLM\\") == 0)
        root = HKEY_LOCAL_MACHINE;
    else if (keyPath.compare(0, 5, L"HKCU\\") == 0)
        root = HKEY_CURRENT_USER;
    else
        return false;
    subkey = keyPath.substr(5);
    for (const wchar_t* parent : kUninstallKeys) {
        const std::wstring prefix = parent;
        if (subkey.size() <= prefix.size() || !qpath::EqualsNoCase(subkey.substr(0, prefix.size()), prefix)) continue;
        const std::wstring name = subkey.substr(prefix.size());
        return name.find(L'\\') == std::wstring::npos && name != L"." && name != L"..";
    }
    return false;
}

SplitCommand SplitQuotedCommand(const std::wstring& command)
{
    SplitCommand split;
    if (command.empty() || command[0] != L'"') return split;
    const size_t close = command.find(L'"', 1);
    split.program = command.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    if (close != std::wstring::npos) split.arguments = command.substr(close + 1);
    return split;
}

SplitCommand SplitUnquotedCommand(const std::wstring& command,
                                  const std::function<std::wstring(const std::wstring& prefix)>& programOf)
{
    SplitCommand split;
    for (size_t end = command.size(); end > 0; end = command.find_last_of(L" \t", end - 1)) {
        if (end == std::wstring::npos) break;
        if (end < command.size() && end > 0 && (command[end - 1] == L' ' || command[end - 1] == L'\t')) continue;
        const std::wstring program = programOf(command.substr(0, end));
        if (!program.empty()) {
            split.program = program;
            split.arguments = command.substr(end);
            return split;
        }
    }
    return split;
}
