// Items whose deletion failed in this process; later scans of the process do not report them again.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "QLock.h"

namespace bexlar {

class CFailedEntryList {
public:
    // The process-wide list; created on first use and kept until the process ends.
    static CFailedEntryList& Instance();

    // Both compare in lower case; an empty text is never added nor found.
    void Add(const std::wstring& text);
    bool Contains(const std::wstring& text);
    std::vector<std::wstring> Entries();

    // Writes the list as data\sregtrash.dat below the folder; the previous file stays when anything fails.
    bool WriteFile(const std::wstring& programFolder);

    CFailedEntryList();
    CFailedEntryList(const CFailedEntryList&) = delete;
    CFailedEntryList& operator=(const CFailedEntryList&) = delete;

private:
    std::unordered_map<std::wstring, int> map_;
    std::vector<std::wstring> order_;
    qcore::Lock lock_;
};

// The XML document of the failed-entry file for the entries and the date (time element "Y.M.D").
std::string BuildFailedEntryDocument(const std::vector<std::wstring>& entries, const SYSTEMTIME& date);

// Writes the bytes to a temporary file beside the target, then replaces the target with it.
bool WriteFileReplacing(const std::wstring& target, const std::wstring& temporary, const std::string& bytes);

}  // namespace bexlar
