// Deletion of registry items: 0 only when the key or value is really gone.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "QGuards.h"

namespace bexlar {

// Opens the key itself: when it is a registry link, the link key, not its target.
LONG OpenKeyNoFollow(HKEY root, const std::wstring& path, REGSAM access, HKEY* key);
// True when the key (opened with OpenKeyNoFollow) is a registry link.
bool IsLinkKey(HKEY key);

// Deletes a key with everything below it; links inside are removed as links, their targets never touched. Access rights are changed only when the plain delete is denied, and
// put back where the delete still fails. An empty path is refused.
// Keeps a key's original access list durably before it is replaced; false: the list must not be replaced.
typedef std::function<bool(HKEY root, const std::wstring& subKey, const std::vector<BYTE>& descriptor)> AccessJournal;

long DeleteKeyTree(HKEY root, const std::wstring& subKey, const AccessJournal& journal = AccessJournal());

// Deletes one value (an empty name: the default value).
long DeleteValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName);

// Deletes values one after another, keeping the key of the last one open (values of one key come in a row).
class CValueDeleter {
public:
    long Delete(HKEY root, const std::wstring& subKey, const std::wstring& valueName);
    void Release();

private:
    HKEY root_ = nullptr;
    std::wstring path_;
    qcore::UniqueRegKey key_;  // kept open for the next value of the same key
};

// True when the key no longer exists.
bool KeyGone(HKEY root, const std::wstring& subKey);

// The access-control lists of a key tree, saved before they are replaced so they can be put back.
class SavedKeySecurity {
public:
    // Gives Administrators and LocalSystem full access to the key and every key below it, saving each list first
    // (and handing it to the journal, when there is one; a list the journal refuses is not replaced).
    void GrantFullAccess(HKEY root, const std::wstring& subKey, const AccessJournal& journal = AccessJournal());
    // Puts the saved lists back on the keys that still exist.
    void Restore();
    size_t Count() const { return saved_.size(); }

private:
    struct Entry {
        HKEY root;
        std::wstring path;
        std::vector<BYTE> descriptor;
    };
    std::vector<Entry> saved_;
};

}  // namespace bexlar
