// Start-up of Quorvel.exe to its visible main window against a bare one-window program (QuorvelBareWindow.exe),
// both started by CreateProcess from this program under the same running wineserver, in paired runs. Each run
// ends when the program's window is visible; the program is then closed and waited for before the next start.
// Usage: ShellStartupBench.exe   (pairs: QUORVEL_BENCH_PAIRS, default 7; run through bench/run-startup-bench.sh)
#include <windows.h>

#include <cstdio>
#include <string>

#include "PairedRuns.h"
#include "QAppDriver.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {
// A run that fails ends the benchmark: a missing time must not enter the table.
[[noreturn]] void Fail(const char* what)
{
    std::printf("%s\n", what);
    std::fflush(stdout);
    ExitProcess(1);
}

double QuorvelStart()
{
    QuorvelProcess app;
    const double start = bench::Now();
    if (!app.Start()) Fail("Quorvel.exe could not be started");
    if (app.WaitUntilVisible() < 0) Fail("Quorvel's main window did not show");
    const double seconds = bench::Now() - start;
    app.Exit();
    if (!app.WaitForExit(10000)) Fail("Quorvel did not end");
    return seconds;
}

double BareStartWith(const std::wstring& arguments)
{
    QuorvelProcess bare;
    const double start = bench::Now();
    if (!bare.StartProgram(ProgramFolder() + L"QuorvelBareWindow.exe", arguments))
        Fail("the bare window program could not be started");
    HWND shown = nullptr;
    PumpUntil(
        [&] {
            shown = FindProcessWindow(bare.ProcessId(), [](HWND w) { return ::IsWindowVisible(w) != FALSE; });
            return shown != nullptr;
        },
        60000);
    const double seconds = bench::Now() - start;
    if (!shown) Fail("the bare window did not show");
    ::PostMessageW(shown, WM_CLOSE, 0, 0);
    bare.WaitForExit(10000);
    return seconds;
}

double BareStart() { return BareStartWith(L""); }
// The same window after loading the libraries Quorvel.exe imports: the share of a start that is the loader's.
double BareStartWithImports() { return BareStartWith(L"--load-imports"); }
}  // namespace

int main()
{
    SetLanguageSetting(nullptr);
    SetRecentLastScan();  // no scan of the home page's own on a normal start
    const int pairs = bench::PairsFromEnvironment(7);
    // One untimed start of each loads both into the file cache alike.
    BareStart();
    QuorvelStart();
    BareStartWithImports();
    bench::RunPairs("start-up to visible window", "bare one-window program", pairs, &BareStart, &QuorvelStart);
    bench::RunPairs("start-up to visible window", "bare window loading Quorvel's imports", pairs, &BareStartWithImports,
                    &QuorvelStart);
    return 0;
}
