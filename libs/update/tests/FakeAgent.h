// Registers the scripted update agent (FakeWua.dll beside the test program) in the test prefix under the
// agent's classes, and reaches its script functions once COM has loaded it.
#pragma once

#include "FakeWua.h"

namespace skarloe_test {

bool RegisterFakeAgent();
// Scripts the fake (loading it when needed) and clears its counters.
void Script(const FakeWuaScenario& scenario);
FakeWuaCounters Counters();
void ReleaseHeld();

}  // namespace skarloe_test
