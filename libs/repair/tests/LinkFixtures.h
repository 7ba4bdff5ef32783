// Fixture folders and shell links made by the tests.
#pragma once

#include <windows.h>

#include <string>

// A fresh folder under the temp folder, removed with its contents at the end.
class TempTree {
public:
    explicit TempTree(const std::wstring& name);
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::wstring& Root() const { return m_root; }
    std::wstring Path(const std::wstring& relative) const { return m_root + L"\\" + relative; }
    // Creates the folder (and its parents) below the root; returns its full path.
    std::wstring Folder(const std::wstring& relative) const;
    // Creates a small file below the root; returns its full path.
    std::wstring File(const std::wstring& relative, const std::string& content = "x") const;

private:
    std::wstring m_root;
};

// A link whose stored path is `target` (IShellLinkW::SetPath, then saved).
bool MakeLink(const std::wstring& linkPath, const std::wstring& target);
// A link to a shell object without a file-system path (IDList only), e.g. CSIDL_DRIVES.
bool MakeShellObjectLink(const std::wstring& linkPath, int csidl);
// An advertised installer shortcut: a link carrying only a Darwin descriptor.
bool MakeAdvertisedLink(const std::wstring& linkPath);
// True when the link loads and carries a Darwin descriptor.
bool IsAdvertisedLink(const std::wstring& linkPath);
// The path the link stores (GetPath); empty when none.
std::wstring StoredTarget(const std::wstring& linkPath);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// Removes a file or an empty folder.
bool RemovePath(const std::wstring& path);
// A drive letter root ("R:\") that names no drive.
std::wstring AbsentDriveRoot();
