#include "SpoolerRepair.h"

#include <Common.h>
#include <Moravin/SystemProgram.h>

using Moravin::RunSystemProgram;
using Moravin::SystemProgramRun;

bool RepairPrintSpooler()
{
    const SystemProgramRun config = RunSystemProgram(L"sc.exe", L"config Spooler start= auto", kSpoolerStepTimeoutMs);
    if (config.state == SystemProgramRun::NotStarted) return false;
    const SystemProgramRun start = RunSystemProgram(L"net.exe", L"start Spooler", kSpoolerStepTimeoutMs);
    if (start.state == SystemProgramRun::NotStarted) return false;
    // net fails (exit code 2) also for a service that already runs: what counts is that the spooler runs.
    const bool running = start.Succeeded() || (start.state == SystemProgramRun::Ended && SBIsSvcRunW(L"Spooler"));
    return config.Succeeded() && running;
}
