// Both builds of the DLL through their exports: the rules every caller relies on (initialise first, one job at a
// time, letters and job types checked), the simulated build's jobs, and the real build refusing what it cannot
// touch (under Wine every volume: the bitmap control is not supported there).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "QTestSupport.h"
#include "Velmora.h"

namespace {

// The exports of one Velmora.dll loaded from a path.
struct Library {
    HMODULE module = nullptr;
    decltype(&udefrag_init_library) init = nullptr;
    decltype(&udefrag_init_failed) initFailed = nullptr;
    decltype(&udefrag_validate_volume) validate = nullptr;
    decltype(&udefrag_start_job) start = nullptr;
    decltype(&udefrag_unload_library) unload = nullptr;

    explicit Library(const std::wstring& path) : module(::LoadLibraryW(path.c_str()))
    {
        if (!module) return;
        init =
            reinterpret_cast<decltype(init)>(reinterpret_cast<void*>(::GetProcAddress(module, "udefrag_init_library")));
        initFailed = reinterpret_cast<decltype(initFailed)>(
            reinterpret_cast<void*>(::GetProcAddress(module, "udefrag_init_failed")));
        validate = reinterpret_cast<decltype(validate)>(
            reinterpret_cast<void*>(::GetProcAddress(module, "udefrag_validate_volume")));
        start =
            reinterpret_cast<decltype(start)>(reinterpret_cast<void*>(::GetProcAddress(module, "udefrag_start_job")));
        unload = reinterpret_cast<decltype(unload)>(
            reinterpret_cast<void*>(::GetProcAddress(module, "udefrag_unload_library")));
    }
    ~Library()
    {
        if (module) ::FreeLibrary(module);
    }
    bool Complete() const { return init && initFailed && validate && start && unload; }
};

struct Calls {
    Library* library = nullptr;
    int progressCalls = 0;
    void* seenContext = nullptr;
    int nestedStart = 1;
    udefrag_job_progress last = {};

    static void Progress(udefrag_job_progress* p, void* context)
    {
        Calls* c = static_cast<Calls*>(context);
        if (c->progressCalls++ == 0)
            c->nestedStart = c->library->start('C', UDEFRAG_ANALYSIS_JOB, 0, 0, nullptr, nullptr, nullptr);
        c->seenContext = context;
        c->last = *p;
    }
    static int KeepGoing(void*) { return 0; }
};

void SetSimulation(const wchar_t* text) { ::SetEnvironmentVariableW(L"VELMORA_SIMULATION", text); }

}  // namespace

TEST(VelmoraExports, TheSimulatedBuildRunsJobsOneAtATimeAfterInitialisation)
{
    Library lib(shell_test::ProgramFolder() + L"velmora-sim\\Velmora.dll");
    ASSERT_TRUE(lib.Complete());
    SetSimulation(L"clusters=8000;files=60;folders=5;seed=3;refused=d;fail_open=e");

    EXPECT_NE(0, lib.initFailed());
    EXPECT_EQ(UDEFRAG_E_NOT_INITIALISED, lib.validate('C', 0));
    EXPECT_EQ(UDEFRAG_E_NOT_INITIALISED, lib.start('C', UDEFRAG_OPTIMIZE_JOB, 0, 2880, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, lib.init(0));
    EXPECT_EQ(0, lib.initFailed());

    const struct {
        char letter;
        int expected;
    } letters[] = {{'C', 0},
                   {'c', 0},
                   {'D', UDEFRAG_E_UNSUPPORTED},
                   {'1', UDEFRAG_E_INVALID_ARGUMENT},
                   {'\0', UDEFRAG_E_INVALID_ARGUMENT}};
    for (const auto& l : letters) EXPECT_EQ(l.expected, lib.validate(l.letter, 0)) << int(l.letter);

    EXPECT_EQ(UDEFRAG_E_INVALID_ARGUMENT, lib.start('C', 1, 0, 2880, nullptr, nullptr, nullptr));
    EXPECT_EQ(UDEFRAG_E_INVALID_ARGUMENT, lib.start('C', UDEFRAG_OPTIMIZE_JOB, 0, -1, nullptr, nullptr, nullptr));
    EXPECT_EQ(UDEFRAG_E_UNSUPPORTED, lib.start('D', UDEFRAG_OPTIMIZE_JOB, 0, 2880, nullptr, nullptr, nullptr));
    EXPECT_EQ(UDEFRAG_E_IO, lib.start('E', UDEFRAG_OPTIMIZE_JOB, 0, 2880, nullptr, nullptr, nullptr));

    Calls calls;
    calls.library = &lib;
    EXPECT_EQ(0, lib.start('C', UDEFRAG_OPTIMIZE_JOB, 0, 2880, Calls::Progress, Calls::KeepGoing, &calls));
    EXPECT_EQ(UDEFRAG_E_BUSY, calls.nestedStart) << "a second job while one runs";
    EXPECT_EQ(&calls, calls.seenContext);
    EXPECT_EQ(60, calls.last.files);
    EXPECT_EQ(5, calls.last.directories);
    EXPECT_EQ(100.0, calls.last.percentage);
    ASSERT_NE(nullptr, calls.last.cluster_map);
    EXPECT_EQ(2880, calls.last.cluster_map_size);

    // Once the job has ended the next one may start; the disk remembers the first job's moves.
    Calls second;
    second.library = &lib;
    EXPECT_EQ(0, lib.start('C', UDEFRAG_OPTIMIZE_JOB, 0, 2880, Calls::Progress, nullptr, &second));
    EXPECT_EQ(0, second.last.moved_clusters);

    lib.unload();
    EXPECT_EQ(UDEFRAG_E_NOT_INITIALISED, lib.validate('C', 0));
    SetSimulation(nullptr);
}

TEST(VelmoraExports, TheRealBuildRefusesVolumesItCannotProcess)
{
    Library lib(shell_test::ProgramFolder() + L"Velmora.dll");
    ASSERT_TRUE(lib.Complete());
    ASSERT_EQ(0, lib.init(0));
    EXPECT_EQ(UDEFRAG_E_UNSUPPORTED, lib.validate('K', 0)) << "no such drive";
    EXPECT_EQ(UDEFRAG_E_INVALID_ARGUMENT, lib.validate('#', 0));
    // Wine opens \\.\C: but does not support the volume bitmap: the volume is refused, and a job on it fails
    // instead of reporting an optimisation that never happened.
    EXPECT_LT(lib.validate('C', 0), 0);
    Calls calls;
    calls.library = &lib;
    EXPECT_LT(lib.start('C', UDEFRAG_OPTIMIZE_JOB, 0, 2880, Calls::Progress, Calls::KeepGoing, &calls), 0);
    EXPECT_EQ(0, calls.progressCalls);
    lib.unload();
}
