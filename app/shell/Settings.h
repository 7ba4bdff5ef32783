// The program's settings: values below HKEY_LOCAL_MACHINE\Software\Quorvel\Param. Every value is read and written
// here only, so its name, type and default are spelled once. A value that is missing or of another type reads as
// its default; a setter returns the registry's status (0 when stored).
#pragma once

#include <windows.h>

#include <string>

namespace Settings {

// "Lang" (text): the interface language's number, 1..11 in the order of Shell::kLanguageFolders. 1, English, when
// missing or when the text is not one of those numbers.
int Language();
LONG SetLanguage(int number);

// "ServiceUrl" (text): the address of the maker's web service as stored; "" when missing.
std::wstring ServiceUrl();
LONG SetServiceUrl(const std::wstring& url);

// The result of the last one-click scan, in the subkey RegScore.
extern const wchar_t kLastScanKey[];  // below HKEY_LOCAL_MACHINE
constexpr int kLastScanCounts = 5;

// "LastScanScore" (DWORD). False, score 0, when missing.
bool LastScanScore(DWORD& score);
LONG SetLastScanScore(DWORD score);
// "LastScanTime" (text). False, text empty, when missing.
bool LastScanTime(std::wstring& text);
LONG SetLastScanTime(const std::wstring& text);
// The problems the scan found in each of its five categories (registry, privacy traces, junk files, shortcuts,
// file associations: index 0..4). 0 when missing.
DWORD LastScanCount(int index);
LONG SetLastScanCount(int index, DWORD count);

}  // namespace Settings
