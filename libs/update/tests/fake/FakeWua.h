// A scripted stand-in for the update agent, for tests: a COM server registered in the test prefix under the
// agent's session and collection classes. The test scripts it through the functions below (the server is
// loaded into the test's own process).
#pragma once

#include <windows.h>
#include <oleauto.h>

enum FakeDownloadMode {
    kDownloadOnItsOwnThread = 0,  // progress steps, then completion, on a thread of the fake
    kDownloadInsideBegin = 1,     // progress and completion before BeginDownload returns
    kDownloadCannotStart = 2,     // BeginDownload fails
    kDownloadUntilAborted = 3,    // progress 0, then waits for RequestAbort (or FakeWua_ReleaseHeld)
};

struct FakeUpdateSpec {
    const wchar_t* id;
    const wchar_t* title;
    const wchar_t* description;
    const wchar_t* kb;        // null: no article
    const wchar_t* severity;  // null: none
    ULONGLONG size;
    DATE date;
    bool downloaded;
    bool itemFails;  // the collection's Item fails for this index
    int downloadMode;
    int downloadResult;  // OperationResultCode of the finished download
    int installResult;   // OperationResultCode of the install
    LONG installHResult;
    bool installHeld;  // the install waits for FakeWua_ReleaseHeld
};

struct FakeWuaScenario {
    HRESULT searchResult;
    int count;
    FakeUpdateSpec updates[8];
    int progressSteps;  // progress notifications before completion (0, 40, 80, ... percent)
};

struct FakeWuaCounters {
    LONG createDownloader;
    LONG beginDownload;
    LONG requestAbort;
    LONG endDownload;
    LONG install;
    LONG running;              // downloads and installs started and not yet finished
    LONG maxRunningDownloads;  // the most downloads that ran at once
};

typedef void (*PFN_FAKEWUA_RESET)(const FakeWuaScenario* scenario);
typedef void (*PFN_FAKEWUA_COUNTERS)(FakeWuaCounters* counters);
typedef void (*PFN_FAKEWUA_RELEASE_HELD)();
