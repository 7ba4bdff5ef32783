// The library's set-up functions (the shared start-up item manager).
#include "Tessik/RegAutoStartupItemMan.h"

namespace tessik {

namespace {

bool g_initialized = false;
CRegAutoStartupItemMan* g_shared = nullptr;  // the instance the set-up made (and alone may destroy)

// Makes the set-up's instance the shared one even while a caller's local instance holds the slot, so the shared
// pointer never dangles when that local instance goes.
struct SharedSlot : Singleton<CRegAutoStartupItemMan> {
    static void Take(CRegAutoStartupItemMan* instance) { ms_Singleton = instance; }
};

}  // namespace

bool initializeTessik()
{
    if (!g_initialized) {
        g_shared = new CRegAutoStartupItemMan;
        SharedSlot::Take(g_shared);
        g_initialized = true;
    }
    return true;
}

bool isTessikInitialized() { return g_initialized; }

void uninitializeTessik()
{
    delete g_shared;  // clears the shared pointer
    g_shared = nullptr;
    g_initialized = false;
}

}  // namespace tessik
