// The print spooler repair: the spooler is set to start with Windows and started, through the system's sc and
// net programs.
#pragma once

#include <windows.h>

// Time each of the two programs is given.
const DWORD kSpoolerStepTimeoutMs = 50000;

// Runs "sc config Spooler start= auto", then "net start Spooler" (the second also after the first failed, as long
// as the first could be started). True when sc succeeded and the spooler runs: net succeeded, or it failed
// because the spooler already ran.
bool RepairPrintSpooler();
