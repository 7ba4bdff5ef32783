#include "ToolRecorder.h"

#include <QTestSupport.h>

#include <random>

namespace yarrowby_test {

ToolRecorder::ToolRecorder(UINT progressMessage, UINT doneMessage) : m_progress(progressMessage), m_done(doneMessage)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ToolRecorder::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"YarrowbyToolRecorder";
    ::RegisterClassW(&wc);
    m_wnd = ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(m_wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ToolRecorder::~ToolRecorder() { ::DestroyWindow(m_wnd); }

LRESULT CALLBACK ToolRecorder::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ToolRecorder*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self && (msg == self->m_progress || msg == self->m_done)) {
        self->m_messages.push_back({msg, wParam, lParam});
        return 0;
    }
    return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

bool ToolRecorder::WaitForDone(size_t count, DWORD timeoutMs)
{
    return shell_test::PumpUntil([&] { return Done().size() >= count; }, timeoutMs);
}

std::vector<ToolMessage> ToolRecorder::Of(UINT message) const
{
    std::vector<ToolMessage> found;
    for (const ToolMessage& m : m_messages)
        if (m.message == message) found.push_back(m);
    return found;
}

std::vector<ToolMessage> ToolRecorder::Progress() const { return Of(m_progress); }

std::vector<ToolMessage> ToolRecorder::Done() const { return Of(m_done); }

std::string RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = char(generator() & 0xFF);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    return ok;
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[1 << 16];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> FolderNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

}  // namespace yarrowby_test
