// Registry state for comparisons, and the restore of a clean run from the backup database.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace bxtest {

// Every key (empty record) and value (type and bytes) below a key, by path relative to it ("" for itself).
typedef std::map<std::wstring, std::string> Snapshot;
Snapshot TakeSnapshot(HKEY root, const std::wstring& path);
std::wstring DescribeDifference(const Snapshot& a, const Snapshot& b);

// Re-creates every key and value of the rows whose key path or value name contains the tag; returns the rows used.
int RestoreFromDb(const std::wstring& dbPath, const std::wstring& tag);

}  // namespace bxtest
