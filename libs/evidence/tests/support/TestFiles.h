#pragma once

#include <windows.h>

#include <QTestSupport.h>

#include <set>
#include <string>

namespace LumbreyTest {

// A new empty folder below the temp folder, unique per call.
std::wstring NewTempFolder(const std::wstring& name);

// Creates the folder and its parents; works past MAX_PATH.
void MakeFolders(const std::wstring& path);

// Writes `size` bytes into a new file (parents created); works past MAX_PATH.
void MakeFile(const std::wstring& path, DWORD size = 0);

bool Exists(const std::wstring& path);

using shell_test::HostPath;
using shell_test::MakeHostSymlink;

// Keeps a file open with no sharing while alive.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path);
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

std::set<std::wstring> AsSet(const std::initializer_list<std::wstring>& items);

}  // namespace LumbreyTest
