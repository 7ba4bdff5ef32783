// Fixtures shared by the Coldrith tests: scratch folders, file contents, archive bytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ColdrithTest {
// A fresh folder under the temp folder, removed with its contents when the object goes.
class CScratchDir {
public:
    explicit CScratchDir(const wchar_t* tag);
    ~CScratchDir();
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& rel) const { return m_path + L"\\" + rel; }

private:
    std::wstring m_path;
};

// Removes the file or folder with its contents; a linked folder is unlinked, what it leads to stays.
void RemoveTree(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& data);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
void MakeDirs(const std::wstring& path);
std::string RandomBytes(size_t n, uint32_t seed);
std::string TextBytes(size_t n);
// Sorted relative paths of every file and folder below root (folders end in "\"; linked folders are listed,
// not entered).
std::vector<std::wstring> ListTree(const std::wstring& root);
}  // namespace ColdrithTest
