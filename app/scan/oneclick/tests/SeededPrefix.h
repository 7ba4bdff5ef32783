// Problems of all five kinds planted in the test prefix for the one-click scan.
#pragma once

#include <string>

namespace oneclick_test {

struct SeededProblems {
    std::wstring junkFile;        // C:\windows\temp\... .tmp
    std::wstring lockedJunkFile;  // another one the test locks before the repair
    std::wstring brokenLink;      // a .lnk on the desktop whose target is gone
    std::wstring cacheFile;       // a file in the browser cache folder
    std::wstring muiValue;        // an MUI cache value naming a missing program (HKCU)
};

extern const wchar_t kMuiCacheKey[];
extern const wchar_t kTxtCommandKey[];  // below HKEY_LOCAL_MACHINE\Software\Classes

SeededProblems SeedProblems();
// Adds `count` more MUI cache values naming missing programs (a slower registry part).
void SeedManyRegistryProblems(int count);

bool FileExists(const std::wstring& path);
bool ValueExists(HKEY root, const wchar_t* key, const wchar_t* value);
// Broken associations as the repair library sees them now.
int BrokenAssociations();
// True when the file's bytes hold the text in UTF-8 or UTF-16.
bool FileContainsText(const std::wstring& path, const std::wstring& text);

}  // namespace oneclick_test
