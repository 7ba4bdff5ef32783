// Wall time of the one-click scan against the longest of its five parts run alone, on a prefix seeded with
// problems of every kind. The five parts run side by side, so the one-click scan should take little more than its
// longest part. Prints each time and the ratio; the floor is 1.1.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "JunkFileScanner.h"
#include "Moravin/FileAssociateRepaire.h"
#include "Moravin/ShortCutClean.h"
#include "RegistryData.h"
#include "ScanFolders.h"
#include "StartStep1Dlg.h"
#include "SysEvidence.h"
#include "WindowTestHost.h"
#include "tests/SeededPrefix.h"

namespace {

const double kFloor = 1.1;
const int kRounds = 5;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Seconds(DWORD start) { return (GetTickCount() - start) / 1000.0; }

void PumpUntil(bool (*done)(void*), void* context) {
    while (!done(context)) {
        MSG msg;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0)
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
    }
}

// A window that receives the junk scanner's messages, as the page does.
struct JunkSink {
    HWND wnd = nullptr;
    bool done = false;
    int found = 0;
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        JunkSink* self = reinterpret_cast<JunkSink*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (self && m == WM_JUNKSCAN_FILE_FOUND) ++self->found;
        if (self && m == WM_JUNKSCAN_DONE) self->done = true;
        return DefWindowProcW(h, m, w, l);
    }
};

double TimeRegistry() {
    CRegistryData engine;
    engine.SetScanWnd(nullptr);
    const DWORD start = GetTickCount();
    engine.Scan(nullptr, nullptr, [](const CRegistryData::SCAN_RESULT*, void*) { return true; }, nullptr);
    return Seconds(start);
}

double TimeEvidence() {
    Evidence::CSysEvidence scanner;
    std::vector<Evidence::CSysEvidence::ScanResultItem> items;
    const DWORD start = GetTickCount();
    scanner.ScanInternetExplorer(0, items);
    return Seconds(start);
}

double TimeJunk() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &JunkSink::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OneClickBenchJunkSink";
    RegisterClassW(&wc);
    JunkSink sink;
    sink.wnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(sink.wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&sink));
    Evidence::CJunkFileScanner scanner;
    const DWORD start = GetTickCount();
    scanner.ScanJunkFile({OneClick::JunkScanFolder()}, sink.wnd);
    PumpUntil([](void* s) { return static_cast<JunkSink*>(s)->done; }, &sink);
    const double seconds = Seconds(start);
    DestroyWindow(sink.wnd);
    return seconds;
}

double TimeShortcuts() {
    Moravin::CShortCutClean scan;
    const DWORD start = GetTickCount();
    scan.FindShortCutLinkNoThread(OneClick::ShortcutScanFolders());
    return Seconds(start);
}

double TimeFileAssoc() {
    Moravin::CFileAssociateRepaire assoc;
    std::vector<Moravin::CFileAssociateRepaire::FileAssocItem> items;
    const DWORD start = GetTickCount();
    assoc.GetAllAssociateStatus(items);
    return Seconds(start);
}

double TimeOneClick(CStartStep1Dlg& step) {
    const DWORD start = GetTickCount();
    step.StartQuickScan();
    PumpUntil([](void* s) { return static_cast<CStartStep1Dlg*>(s)->Run().State() == OneClick::RunState::Ended; },
              &step);
    return Seconds(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
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

    // The first run warms the file system and registry caches for every part alike; then rounds of the five
    // parts alone and the one-click scan, compared by their medians (the machine may be busy with other work).
    printf("first one-click scan %7.3f s\n", TimeOneClick(*step));
    const char* names[] = {"registry", "browser cache", "junk files", "shortcuts", "file associations"};
    std::vector<double> parts[5], oneClick;
    for (int round = 0; round < kRounds; ++round) {
        parts[0].push_back(TimeRegistry());
        parts[1].push_back(TimeEvidence());
        parts[2].push_back(TimeJunk());
        parts[3].push_back(TimeShortcuts());
        parts[4].push_back(TimeFileAssoc());
        oneClick.push_back(TimeOneClick(*step));
    }
    double longest = 0;
    for (int i = 0; i < 5; ++i) {
        const double m = Median(parts[i]);
        printf("%-18s %7.3f s (median of %d)\n", names[i], m, kRounds);
        if (m > longest) longest = m;
    }
    const double whole = Median(oneClick);
    const OneClick::ScanCounts& c = step->Counts();
    printf("one-click scan     %7.3f s (median of %d; found: registry %d, traces %d, junk %d, shortcuts %d, "
           "associations %d)\n",
           whole, kRounds, c[OneClick::kRegistry], c[OneClick::kEvidence], c[OneClick::kJunk],
           c[OneClick::kShortcut], c[OneClick::kFileAssoc]);
    const double ratio = longest > 0 ? whole / longest : 0;
    printf("ratio one-click / longest part: %.2f (floor %.2f) %s\n", ratio, kFloor, ratio <= kFloor ? "OK" : "SLOW");
    step->DestroyWindow();
    delete step;
    home.DestroyWindow();
    return 0;
}
