#include "QTestSupport.h"

#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#include "QAppDriver.h"

namespace shell_test {

namespace {

struct FindBox {
    DWORD pid;
    HWND found;
    const std::vector<HWND>* skip;
};

BOOL CALLBACK FindBoxProc(HWND wnd, LPARAM param)
{
    auto* find = reinterpret_cast<FindBox*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != find->pid || !::IsWindowVisible(wnd)) return TRUE;
    wchar_t cls[32] = L"";
    ::GetClassNameW(wnd, cls, 32);
    if (wcscmp(cls, L"#32770") != 0 || !::GetDlgItem(wnd, 0xFFFF)) return TRUE;
    // A message box holds only its text, its icon and its buttons: a program's own dialog (its main window)
    // that happens to have a static without an id is no box.
    for (HWND child = ::GetWindow(wnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::GetClassNameW(child, cls, 32);
        if (_wcsicmp(cls, L"Button") != 0 && _wcsicmp(cls, L"Static") != 0) return TRUE;
    }
    for (HWND s : *find->skip)
        if (s == wnd) return TRUE;
    find->found = wnd;
    return FALSE;
}

}  // namespace

FolderBrowserDriver::FolderBrowserDriver(std::function<void(HWND)> act)
    : WindowDriver(&FolderBrowserDriver::IsFolderBrowser, std::move(act))
{
}

bool FolderBrowserDriver::IsFolderBrowser(HWND wnd)
{
    wchar_t cls[32] = L"";
    ::GetClassNameW(wnd, cls, 32);
    return wcscmp(cls, L"#32770") == 0 && ::FindWindowExW(wnd, nullptr, L"SysTreeView32", nullptr);
}

void FolderBrowserDriver::Press(HWND browser, int id)
{
    ::PostMessageW(browser, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

std::wstring FolderBrowserDriver::SelectedName(HWND browser)
{
    HWND tree = ::FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
    wchar_t text[MAX_PATH] = L"";
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (!item.hItem || !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return L"";
    return text;
}

void FolderBrowserDriver::Choose(HWND browser, const std::wstring& folder)
{
    // The browser may still be selecting its initial folder: select again until the tree shows ours.
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    DWORD start = ::GetTickCount();
    do {
        ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
        if (lstrcmpiW(SelectedName(browser).c_str(), name.c_str()) == 0) break;
        ::Sleep(20);
    } while (::GetTickCount() - start < 5000);
    Press(browser, IDOK);
}

MessageBoxDriver::MessageBoxDriver(int button, DWORD processId)
    : m_button(button), m_processId(processId ? processId : ::GetCurrentProcessId())
{
    m_thread = std::thread([this] { Run(); });
}

MessageBoxDriver::~MessageBoxDriver()
{
    m_stop = true;
    m_thread.join();
}

std::vector<std::wstring> MessageBoxDriver::Texts()
{
    qcore::ScopedLock hold(m_lock);
    return m_texts;
}

void MessageBoxDriver::Run()
{
    while (!m_stop) {
        FindBox find = {m_processId, nullptr, &m_answered};
        ::EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&find));
        if (find.found) {
            std::wstring text = WindowText(::GetDlgItem(find.found, 0xFFFF));
            {
                qcore::ScopedLock hold(m_lock);
                m_texts.push_back(text);
            }
            m_answered.push_back(find.found);
            HWND button = ::GetDlgItem(find.found, m_button);
            if (button)
                ::PostMessageW(button, BM_CLICK, 0, 0);
            else
                ::PostMessageW(find.found, WM_COMMAND, MAKEWPARAM(m_button, BN_CLICKED), 0);
        }
        ::Sleep(20);
    }
}

WindowDriver::WindowDriver(std::function<bool(HWND)> match, std::function<void(HWND)> act)
    : m_match(std::move(match)), m_act(std::move(act))
{
    m_thread = std::thread([this] { Run(); });
}

WindowDriver::~WindowDriver() { m_thread.join(); }

void WindowDriver::Run()
{
    // The window belongs to the test thread, busy in a modal loop: it can only be looked for from here.
    auto matches = [this](HWND wnd) { return ::IsWindowVisible(wnd) && m_match(wnd); };
    HWND found = nullptr;
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 15000; ::Sleep(20))
        if ((found = FindProcessWindow(::GetCurrentProcessId(), matches)) != nullptr) break;
    if (!found) return;
    m_found = true;
    m_act(found);
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (::GetTickCount() - start > timeoutMs) return pred();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpUntilPainted(DWORD timeoutMs)
{
    // Judged right after the queue is drained: a timer that fires while waiting would otherwise keep it busy.
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (HIWORD(::GetQueueStatus(QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) == 0) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::wstring MakeScratchFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"shelltest_" + name + L"\\";
    RemoveTree(folder);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveTree(const std::wstring& folder)
{
    std::wstring base = folder;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    if (base.size() < 4) return;  // never a drive root
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((base + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = base + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &fd));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(base.c_str());
}

void WriteUtf16(const std::wstring& path, const std::wstring& text, bool bom)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (bom) {
        const wchar_t mark = 0xFEFF;
        ::WriteFile(h, &mark, sizeof(mark), &written, nullptr);
    }
    ::WriteFile(h, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(h);
}

std::string HostPath(const std::wstring& windowsPath)
{
    typedef char*(CDECL * UnixNameFn)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) return std::string();
    char* name = toUnix(windowsPath.c_str());
    if (name == nullptr) return std::string();
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

bool MakeHostSymlink(const std::wstring& link, const std::string& target)
{
    const size_t cut = link.rfind(L'\\');
    const std::string parent = HostPath(link.substr(0, cut));
    if (parent.empty()) return false;
    auto widen = [](const std::string& text) {
        std::wstring wide;
        for (char c : text) wide.push_back(static_cast<unsigned char>(c));
        return wide;
    };
    const std::wstring unixLink = widen(parent) + L"/" + link.substr(cut + 1);
    std::wstring command = L"ln -s \"" + widen(target) + L"\" \"" + unixLink + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(L"\\\\?\\unix\\bin\\ln", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    // Wine does not track a Unix child: wait for the link to show instead.
    return PumpUntil(
        [&] {
            const DWORD attrs = ::GetFileAttributesW(link.c_str());
            return attrs != INVALID_FILE_ATTRIBUTES &&
                   (!(attrs & FILE_ATTRIBUTE_DIRECTORY) || (attrs & FILE_ATTRIBUTE_REPARSE_POINT));
        },
        5000);
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring WindowText(HWND wnd)
{
    wchar_t text[1024] = L"";
    ::GetWindowTextW(wnd, text, 1024);
    return text;
}

std::wstring ListCellText(HWND list, int row, int column)
{
    wchar_t text[4096] = L"";
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 4096;
    ::SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
    return text;
}

namespace {

BOOL CALLBACK CollectDescendant(HWND wnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> Descendants(HWND wnd)
{
    // EnumChildWindows works from a list taken when it starts, depth first. A walk along GW_HWNDNEXT would skip
    // windows when the program reorders or adds pages meanwhile (it builds its hidden pages after showing).
    std::vector<HWND> all;
    ::EnumChildWindows(wnd, &CollectDescendant, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::vector<std::wstring> RawKeys(HWND root)
{
    std::vector<std::wstring> keys;
    for (HWND wnd : Descendants(root)) {
        std::wstring text = WindowText(wnd);
        if (text.compare(0, 4, L"IDS_") == 0) keys.push_back(text);
    }
    return keys;
}

}  // namespace shell_test
