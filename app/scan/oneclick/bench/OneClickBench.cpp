// Wall time of the one-click scan against its five parts run alone, on a prefix seeded with problems of every
// kind, in paired runs (the parts, then the scan, alternating which goes first). Each part runs as the scan runs
// it: on its own thread where the scan gives it one, with its messages handled by a window of this thread. The
// parts run side by side in the scan, so it should take little more than its longest part (goal 1.1x); its ratio
// to the sum of the parts shows how much the side-by-side run gains. Pairs: QUORVEL_BENCH_PAIRS (default 7).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "JunkFileScanner.h"
#include "Moravin/FileAssociateRepaire.h"
#include "Moravin/ShortCutClean.h"
#include "QMessageWindow.h"
#include "RegistryData.h"
#include "ScanFolders.h"
#include "StartStep1Dlg.h"
#include "SysEvidence.h"
#include "WindowTestHost.h"
#include "tests/SeededPrefix.h"
#include "PairedRuns.h"

namespace {

double Seconds(double start) { return bench::Now() - start; }

void PumpUntil(bool (*done)(void*), void* context)
{
    while (!done(context)) {
        MSG msg;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0)
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
    }
}

double TimeRegistry()
{
    CRegistryData engine;
    engine.SetScanWnd(nullptr);
    const double start = bench::Now();
    std::vector<CRegistryData::SCAN_RESULT> found;
    engine.Scan(
        nullptr, nullptr,
        [](const CRegistryData::SCAN_RESULT* r, void* kept) {
            static_cast<std::vector<CRegistryData::SCAN_RESULT>*>(kept)->push_back(*r);
            return true;
        },
        &found);
    return Seconds(start);
}

double TimeEvidence()
{
    Lumbrey::CSysEvidence scanner;
    std::vector<Lumbrey::CSysEvidence::ScanResultItem> items;
    const double start = bench::Now();
    scanner.ScanInternetExplorer(0, items);
    return Seconds(start);
}

// The scanner's messages go to a window of this thread, as in the scan.
double TimeJunk()
{
    bool done = false;
    qcore::MessageWindow sink([&done](UINT msg, WPARAM, LPARAM) {
        if (msg == WM_JUNKSCAN_DONE) done = true;
        return LRESULT(0);
    });
    Lumbrey::CJunkFileScanner scanner;
    const double start = bench::Now();
    scanner.ScanJunkFile({OneClick::JunkScanFolder()}, sink.Get());
    PumpUntil([](void* d) { return *static_cast<bool*>(d); }, &done);
    return Seconds(start);
}

// On the scan's worker thread, as the one-click scan starts it.
double TimeShortcuts()
{
    bool done = false;
    qcore::MessageWindow sink([&done](UINT msg, WPARAM, LPARAM) {
        if (msg == WM_SHORTCUT_SCAN_DONE) done = true;
        return LRESULT(0);
    });
    Moravin::CShortCutClean scan;
    scan.SetParentWnd(sink.Get());
    const double start = bench::Now();
    scan.FindShortCutLink(OneClick::ShortcutScanFolders());
    PumpUntil([](void* d) { return *static_cast<bool*>(d); }, &done);
    return Seconds(start);
}

double TimeFileAssoc()
{
    Moravin::CFileAssociateRepaire assoc;
    std::vector<Moravin::CFileAssociateRepaire::FileAssocItem> items;
    const double start = bench::Now();
    assoc.GetAllAssociateStatus(items);
    return Seconds(start);
}

double TimeOneClick(CStartStep1Dlg& step)
{
    const double start = bench::Now();
    step.StartQuickScan();
    PumpUntil([](void* s) { return static_cast<CStartStep1Dlg*>(s)->Run().State() == OneClick::RunState::Ended; },
              &step);
    return Seconds(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int extraRegistry = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wstring(argv[i]) == L"--registry-problems") extraRegistry = _wtoi(argv[i + 1]);
    oneclick_test::SeedProblems();
    if (extraRegistry > 0) oneclick_test::SeedManyRegistryProblems(extraRegistry);

    shell_test::HostWindow host;
    CFunctionDlg home;
    home.Create(IDD_FUNCTION_PAGE, &host);
    home.MoveWindow(186, 126, 737, 536);
    home.ShowWindow(SW_SHOW);
    CStartStep1Dlg* step = new CStartStep1Dlg;
    CFunctionDlg::AddSubPage(step, &home, 1);

    // The first run warms the file system and registry caches for every part alike.
    printf("first one-click scan %7.3f s\n", TimeOneClick(*step));
    const char* names[] = {"registry", "browser cache", "junk files", "shortcuts", "file associations"};
    double (*const parts[])() = {&TimeRegistry, &TimeEvidence, &TimeJunk, &TimeShortcuts, &TimeFileAssoc};
    const int pairs = bench::PairsFromEnvironment(7);
    for (int round = 0; round < pairs; ++round) {
        double longest = 0, sum = 0, whole = 0;
        if (round % 2) whole = TimeOneClick(*step);
        for (int i = 0; i < 5; ++i) {
            const double t = parts[i]();
            printf("part %-18s %7.3f s\n", names[i], t);
            longest = t > longest ? t : longest;
            sum += t;
        }
        if (round % 2 == 0) whole = TimeOneClick(*step);
        bench::PrintPair("one-click scan", "longest part alone", longest, whole);
        bench::PrintPair("one-click scan", "sum of the parts alone", sum, whole);
    }
    const OneClick::ScanCounts& c = step->Counts();
    printf("found: registry %d, traces %d, junk %d, shortcuts %d, associations %d\n", c[OneClick::kRegistry],
           c[OneClick::kEvidence], c[OneClick::kJunk], c[OneClick::kShortcut], c[OneClick::kFileAssoc]);
    step->DestroyWindow();
    delete step;
    home.DestroyWindow();
    return 0;
}
