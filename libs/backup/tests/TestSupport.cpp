#include "TestSupport.h"

#include <algorithm>
#include <stdexcept>

namespace ColdrithTest {
CScratchDir::CScratchDir(const wchar_t* tag)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static LONG counter = 0;
    m_path = std::wstring(temp) + L"coldrith-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(InterlockedIncrement(&counter));
    while (!m_path.empty() && m_path.back() == L'\\') m_path.pop_back();
    RemoveTree(m_path);
    MakeDirs(m_path);
}

CScratchDir::~CScratchDir() { RemoveTree(m_path); }

void RemoveTree(const std::wstring& path)
{
    DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(),
                       (attrs & FILE_ATTRIBUTE_DIRECTORY) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL);
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveDirectoryW(path.c_str());  // the link goes, what it leads to stays
        return;
    }
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& data)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::string name(path.begin(), path.end());
        throw std::runtime_error("cannot create test file " + name + " (error " + std::to_string(GetLastError()) + ")");
    }
    DWORD done = 0;
    if (!data.empty()) WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &done, nullptr);
    CloseHandle(h);
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open test file");
    std::string data;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) data.append(buf, got);
    CloseHandle(h);
    return data;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeDirs(const std::wstring& path)
{
    size_t pos = path.find(L'\\', 3);
    while (pos != std::wstring::npos) {
        CreateDirectoryW(path.substr(0, pos).c_str(), nullptr);
        pos = path.find(L'\\', pos + 1);
    }
    CreateDirectoryW(path.c_str(), nullptr);
}

std::string RandomBytes(size_t n, uint32_t seed)
{
    std::string out(n, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = static_cast<char>(x);
    }
    return out;
}

std::string TextBytes(size_t n)
{
    static const char* words[] = {"backup ", "restore ", "archive ", "folder ", "entry ", "\r\n", "zip ", "data "};
    std::string out;
    uint32_t x = 12345;
    while (out.size() < n) {
        x = x * 1103515245u + 12345u;
        out += words[(x >> 16) % 8];
    }
    out.resize(n);
    return out;
}

namespace {
void Collect(const std::wstring& root, const std::wstring& rel, std::vector<std::wstring>& out)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((root + (rel.empty() ? L"" : L"\\" + rel) + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring child = rel.empty() ? name : rel + L"\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(child + L"\\");
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))  // a linked folder is listed, not entered
                Collect(root, child, out);
        } else
            out.push_back(child);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}
}  // namespace

std::vector<std::wstring> ListTree(const std::wstring& root)
{
    std::vector<std::wstring> out;
    Collect(root, L"", out);
    std::sort(out.begin(), out.end());
    return out;
}
}  // namespace ColdrithTest
