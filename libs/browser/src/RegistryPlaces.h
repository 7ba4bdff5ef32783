// Registry places of the browser's settings and add-ons, and the rule that tells an add-on entry's key from any
// other key.
#pragma once

#include <string>

namespace Grennow {

// Keys (no trailing backslash).
extern const wchar_t kMainKey[];                  // HKCU and HKLM: the browser's main settings
extern const wchar_t kBrowserKey[];               // HKCU: the browser's own key
extern const wchar_t kShellFoldersKey[];          // HKCU: the user's shell folders
extern const wchar_t kCacheKey[];                 // HKCU: the temporary-files cache
extern const wchar_t kTypedUrlsKey[];             // HKCU: typed addresses
extern const wchar_t kDistributionUnitsKey[];     // HKLM: downloaded ActiveX controls
extern const wchar_t kBrowserHelperObjectsKey[];  // HKLM
extern const wchar_t kMenuExtKey[];               // HKCU
extern const wchar_t kExplorerBarsKey[];          // HKCU and HKLM

// group + "\" + name.
std::wstring EntryKey(const wchar_t* group, const std::wstring& name);
// True when keyPath is group + "\" + one non-empty name without a backslash (letter case ignored).
bool IsEntryKeyOf(const std::wstring& keyPath, const wchar_t* group);
// True when keyPath is the group itself (letter case ignored).
bool IsGroupKey(const std::wstring& keyPath, const wchar_t* group);

// The class's default value and its InprocServer32 file under HKEY_CLASSES_ROOT; false (empty text) when unread.
bool ReadClassName(const std::wstring& clsid, std::wstring& name);
bool ReadClassFile(const std::wstring& clsid, std::wstring& file);
// Company, version and description from the file's version resource (empty texts when it has none).
void ReadVersionTexts(const std::wstring& file, std::wstring& company, std::wstring& version,
                      std::wstring& description);

}  // namespace Grennow
