#include "PageRetirement.h"

#include <memory>

#include "FunctionDlg.h"
#include "QGuards.h"
#include "QWorker.h"
#include "ShellMessages.h"

namespace Shell {

namespace {

const wchar_t kKeeperClass[] = L"QuorvelRetiredPages";

size_t g_waiting = 0;
HWND g_keeper = nullptr;

void DeletePage(CFunctionDlg* page)
{
    if (page->GetSafeHwnd()) page->DestroyWindow();
    delete page;
}

LRESULT CALLBACK KeeperProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_PAGE_WORKERS_ENDED) return ::DefWindowProcW(wnd, msg, wp, lp);
    DeletePage(reinterpret_cast<CFunctionDlg*>(lp));
    if (--g_waiting == 0) {
        g_keeper = nullptr;
        ::DestroyWindow(wnd);
    }
    return 0;
}

// A message-only window of this thread: the parent of the kept pages and the receiver of their watchers' news.
HWND Keeper()
{
    if (g_keeper) return g_keeper;
    static const ATOM registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &KeeperProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kKeeperClass;
        return ::RegisterClassW(&wc);
    }();
    if (!registered) return nullptr;
    g_keeper = ::CreateWindowExW(0, kKeeperClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    return g_keeper;
}

// Copies of the thread handles, so a page that closes its own handle meanwhile cannot pull them away.
std::vector<qcore::UniqueHandle> RunningWorkersOf(CFunctionDlg* page)
{
    std::vector<HANDLE> threads;
    page->AddRunningWorkers(threads);
    std::vector<qcore::UniqueHandle> copies;
    for (HANDLE thread : threads) {
        HANDLE copy = nullptr;
        if (::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0))
            copies.emplace_back(copy);
    }
    return copies;
}

bool AllEnded(const std::vector<qcore::UniqueHandle>& threads)
{
    for (const qcore::UniqueHandle& thread : threads)
        if (qcore::WaitForHandle(thread.Get(), 0, qcore::Pump::None) != qcore::WaitOutcome::Signalled) return false;
    return true;
}

// Hides the page, moves it under the keeper and starts a watcher that reports when its workers have ended.
// Without a keeper or a watcher the page is never deleted: a leak is safe, a deletion under a worker is not.
void Keep(CFunctionDlg* page, std::vector<qcore::UniqueHandle> threads)
{
    HWND keeper = Keeper();
    if (!keeper) return;
    if (HWND wnd = page->GetSafeHwnd()) {
        ::ShowWindow(wnd, SW_HIDE);
        ::SetParent(wnd, keeper);
    }
    auto watched = std::make_shared<std::vector<qcore::UniqueHandle>>(std::move(threads));
    ++g_waiting;
    const qcore::UniqueHandle watcher(qcore::StartThread([watched, keeper, page] {
        for (const qcore::UniqueHandle& thread : *watched)
            qcore::WaitForHandle(thread.Get(), INFINITE, qcore::Pump::None);
        ::PostMessageW(keeper, WM_PAGE_WORKERS_ENDED, 0, reinterpret_cast<LPARAM>(page));
    }));
}

}  // namespace

size_t RetirePages(const std::vector<CFunctionDlg*>& pages, DWORD timeoutMs)
{
    for (CFunctionDlg* page : pages)
        if (page) page->StopWorkers();

    std::vector<std::vector<qcore::UniqueHandle>> workers;
    for (CFunctionDlg* page : pages)
        workers.push_back(page ? RunningWorkersOf(page) : std::vector<qcore::UniqueHandle>());

    const DWORD start = ::GetTickCount();
    for (const auto& threads : workers) {
        for (const qcore::UniqueHandle& thread : threads) {
            const DWORD elapsed = ::GetTickCount() - start;
            const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
            qcore::WaitForHandle(thread.Get(), left, qcore::Pump::SentOnly);
        }
    }

    size_t kept = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (!pages[i]) continue;
        if (AllEnded(workers[i])) {
            DeletePage(pages[i]);
        } else {
            Keep(pages[i], std::move(workers[i]));
            ++kept;
        }
    }
    return kept;
}

size_t PagesAwaitingWorkers() { return g_waiting; }

}  // namespace Shell
