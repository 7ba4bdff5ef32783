// The test build's volumes: every drive letter is a simulated disk, laid out from the settings in the
// environment variable VELMORA_SIMULATION (see ParseSimulationSettings). A disk keeps its state from one job to
// the next in the process, so a second optimisation finds nothing left to do; new settings make a new disk.
#include <windows.h>

#include <map>

#include "Backend.h"
#include "QLock.h"
#include "SimulatedVolume.h"
#include "Velmora.h"

namespace velmora {

namespace {

std::wstring SettingsText()
{
    wchar_t buffer[1024] = L"";
    const DWORD n = ::GetEnvironmentVariableW(L"VELMORA_SIMULATION", buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

struct Disks {
    qcore::Lock lock;
    std::map<char, std::pair<std::wstring, std::unique_ptr<SimulatedDisk>>> byLetter;
};

Disks& AllDisks()
{
    static Disks disks;
    return disks;
}

}  // namespace

int CheckVolume(char letter)
{
    SimulationSettings settings;
    if (!ParseSimulationSettings(SettingsText(), settings)) return UDEFRAG_E_INVALID_ARGUMENT;
    return settings.refused.find(letter) == std::string::npos ? 0 : UDEFRAG_E_UNSUPPORTED;
}

int OpenVolume(char letter, std::unique_ptr<Volume>& out)
{
    const std::wstring text = SettingsText();
    SimulationSettings settings;
    if (!ParseSimulationSettings(text, settings)) return UDEFRAG_E_INVALID_ARGUMENT;
    if (settings.failOpen.find(letter) != std::string::npos) return UDEFRAG_E_IO;
    Disks& disks = AllDisks();
    qcore::ScopedLock hold(disks.lock);
    auto& slot = disks.byLetter[letter];
    if (!slot.second || slot.first != text) slot = {text, std::unique_ptr<SimulatedDisk>(new SimulatedDisk(settings))};
    out = slot.second->OpenVolume();
    return 0;
}

}  // namespace velmora
