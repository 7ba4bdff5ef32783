#include <gtest/gtest.h>

#include <windows.h>

#include "QGuards.h"
#include "QProcess.h"
#include "QStubPrograms.h"

using qcore::ProgramRun;
using shell_test::StubProgram;

namespace {

// A stand-in program that waits the given time and ends with the given code.
struct Sleeper {
    explicit Sleeper(DWORD delayMs, DWORD exitCode = 0) : stub(L"qvsleeper")
    {
        stub.SetDelay(delayMs);
        stub.SetExitCode(exitCode);
    }
    StubProgram stub;
};

bool HasEnded(HANDLE process) { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

struct SignalLater {
    HANDLE event;
    DWORD afterMs;
};

DWORD WINAPI SignalAfter(void* param)
{
    auto* signal = static_cast<SignalLater*>(param);
    ::Sleep(signal->afterMs);
    ::SetEvent(signal->event);
    return 0;
}

}  // namespace

TEST(RunProgram, EndsWithTheProgramsExitCodeOrNotStartedWhenMissing)
{
    Sleeper program(0, 7);
    ASSERT_TRUE(program.stub.ok());
    const ProgramRun run = qcore::RunProgram(program.stub.Path(), L"/x \"a b\"", 10000);
    EXPECT_EQ(ProgramRun::Ended, run.state);
    EXPECT_EQ(7u, run.exitCode);
    EXPECT_FALSE(run.Succeeded());
    ASSERT_EQ(1u, program.stub.Calls().size());
    EXPECT_NE(std::wstring::npos, program.stub.Calls()[0].find(L"/x \"a b\""));

    EXPECT_EQ(ProgramRun::NotStarted, qcore::RunProgram(L"C:\\no such folder\\none.exe", L"", 1000).state);
}

// A program that hangs is ended when its time is up, when the caller cancels and when the program shuts down:
// no wait lasts past its limit and no child is left behind.
TEST(RunProgram, AProgramThatHangsIsEndedOnTheLimitOnCancelAndOnShutdown)
{
    Sleeper program(60000);
    ASSERT_TRUE(program.stub.ok());
    struct Case {
        const char* what;
        bool useCancel;
        bool useShutdown;
        ProgramRun::State expected;
    } cases[] = {
        {"time limit", false, false, ProgramRun::TimedOut},
        {"cancel event", true, false, ProgramRun::Cancelled},
        {"shutdown", false, true, ProgramRun::Cancelled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qcore::UniqueHandle cancel(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        SignalLater signal = {c.useShutdown ? qcore::ShutdownEvent() : cancel.Get(), 300};
        qcore::UniqueHandle signaller;
        if (c.useCancel || c.useShutdown)
            signaller.Reset(::CreateThread(nullptr, 0, &SignalAfter, &signal, 0, nullptr));

        qcore::UniqueHandle process(qcore::StartProgram(program.stub.Path(), L""));
        ASSERT_TRUE(process);
        const DWORD started = ::GetTickCount();
        const DWORD limit = (c.useCancel || c.useShutdown) ? 30000 : 300;
        const ProgramRun run = qcore::WaitForProgram(process.Get(), limit, cancel.Get());
        const DWORD took = ::GetTickCount() - started;
        if (signaller) ::WaitForSingleObject(signaller.Get(), INFINITE);
        ::ResetEvent(qcore::ShutdownEvent());

        EXPECT_EQ(c.expected, run.state);
        EXPECT_LT(took, 10000u);
        EXPECT_TRUE(HasEnded(process.Get())) << "the child was left running";
    }
    EXPECT_FALSE(qcore::ShutdownSignalled());
}
