// Retiring pages at exit: a page is deleted only after every worker that may touch it has ended, also when that
// takes longer than the wait, and also when the worker belongs to one of its sub-pages.
#include <gtest/gtest.h>

#include <atomic>

#include "FunctionDlg.h"
#include "PageRetirement.h"
#include "QGuards.h"
#include "QTestSupport.h"
#include "QWorker.h"
#include "WindowTestHost.h"

namespace {

const UINT kTouch = WM_APP + 0x51;

// What the worker and the pages did, kept outside the pages so it outlives them.
struct Journal {
    qcore::UniqueHandle go{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> workerEnded{false};
    int touches = 0;
    bool deleted = false;
    bool workerEndedAtDeletion = false;
    HWND workerPageWnd = nullptr;
};

// A page whose worker waits for the go-ahead (it ignores a stop, like a worker inside a slow system call), then
// reports to its page with SendMessageW and writes into it.
class WorkerPage : public CFunctionDlg {
public:
    explicit WorkerPage(Journal& journal) : m_journal(journal) { WatchWorker(m_worker); }
    ~WorkerPage() override
    {
        m_journal.deleted = true;
        m_journal.workerEndedAtDeletion = m_journal.workerEnded.load();
    }
    void StartWorker()
    {
        m_journal.workerPageWnd = GetSafeHwnd();
        ASSERT_TRUE(m_worker.Start([this] {
            qcore::WaitForHandle(m_journal.go.Get(), INFINITE, qcore::Pump::None);
            ::SendMessageW(m_journal.workerPageWnd, kTouch, 0, 0);
            m_lastWord = 1;  // memory of the page: it must still be there
            m_journal.workerEnded = true;
        }));
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kTouch) {
            ++m_journal.touches;
            return 0;
        }
        return CFunctionDlg::WindowProc(message, wParam, lParam);
    }

private:
    Journal& m_journal;
    int m_lastWord = 0;
    qcore::CWorker m_worker;
};

// A page without workers of its own whose sub-page has one.
class ParentPage : public CFunctionDlg {
public:
    explicit ParentPage(Journal& journal) : m_sub(journal) {}
    void OnInitPage() override { AddSubPage(&m_sub, this, 0); }
    WorkerPage& Sub() { return m_sub; }

private:
    WorkerPage m_sub;
};

TEST(PageRetirement, APageIsDeletedOnlyAfterTheWorkersThatMayTouchItHaveEnded)
{
    const struct {
        const char* name;
        bool workerInSubPage;
        bool endsWithinTheWait;
    } cases[] = {
        {"page, ends in time", false, true},
        {"page, outlives the wait", false, false},
        {"sub-page, ends in time", true, true},
        {"sub-page, outlives the wait", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Journal journal;
        shell_test::HostWindow host;
        CFunctionDlgContainer container;
        container.Create(IDD_FUNCTION_PAGE, &host);
        CFunctionDlg* page = nullptr;
        WorkerPage* worker = nullptr;
        if (c.workerInSubPage) {
            auto* parent = new ParentPage(journal);
            page = parent;
            worker = &parent->Sub();
        } else {
            worker = new WorkerPage(journal);
            page = worker;
        }
        CFunctionDlgContainer::AddPage(page, &container, 120001);
        const HWND pageWnd = page->GetSafeHwnd();
        worker->StartWorker();
        if (c.endsWithinTheWait) ::SetEvent(journal.go.Get());

        // The worker sends to its page during the wait: that is served, or it could never end.
        const size_t kept = Shell::RetirePages({page}, c.endsWithinTheWait ? 30000 : 100);
        if (c.endsWithinTheWait) {
            EXPECT_EQ(0u, kept);
            EXPECT_TRUE(journal.deleted);
            EXPECT_TRUE(journal.workerEndedAtDeletion);
            EXPECT_EQ(1, journal.touches);
            EXPECT_FALSE(::IsWindow(pageWnd));
            container.DestroyWindow();
            continue;
        }

        EXPECT_EQ(1u, kept);
        EXPECT_EQ(1u, Shell::PagesAwaitingWorkers());
        EXPECT_FALSE(journal.deleted);
        ASSERT_TRUE(::IsWindow(pageWnd));
        EXPECT_FALSE(::IsWindowVisible(pageWnd));
        // Its old parent goes as the main window's children do at exit; the kept page stays.
        container.DestroyWindow();
        EXPECT_TRUE(::IsWindow(pageWnd));
        EXPECT_FALSE(journal.deleted);

        ::SetEvent(journal.go.Get());
        ASSERT_TRUE(shell_test::PumpUntil([&] { return journal.deleted; }, 30000));
        EXPECT_TRUE(journal.workerEndedAtDeletion);
        EXPECT_EQ(1, journal.touches);
        EXPECT_FALSE(::IsWindow(pageWnd));
        EXPECT_EQ(0u, Shell::PagesAwaitingWorkers());
    }
}

TEST(PageRetirement, PagesWithoutRunningWorkersAreDeletedAtOnce)
{
    Journal journal;
    shell_test::HostWindow host;
    CFunctionDlgContainer container;
    container.Create(IDD_FUNCTION_PAGE, &host);
    auto* idle = new WorkerPage(journal);  // its worker never started
    auto* plain = new CFunctionDlg;
    CFunctionDlgContainer::AddPage(idle, &container, 120002);
    CFunctionDlgContainer::AddPage(plain, &container, 120003);
    EXPECT_EQ(0u, Shell::RetirePages({idle, plain, nullptr}, 0));
    EXPECT_TRUE(journal.deleted);
    EXPECT_EQ(0u, Shell::PagesAwaitingWorkers());
    container.DestroyWindow();
}

}  // namespace
