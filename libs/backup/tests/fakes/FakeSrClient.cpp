// Stands in for the system's srclient.dll in tests: records the requests and answers as scripted. A test loads
// it by full path first, so the library's LoadLibraryW("srclient.dll") gets this module.
#include <windows.h>
#include <srrestoreptapi.h>

#include <string>
#include <vector>

namespace {
struct Call {
    DWORD eventType;
    DWORD restorePointType;
    INT64 sequence;
    std::wstring description;
};
std::vector<Call> g_calls;
std::vector<DWORD> g_removed;
DWORD g_status = 0;  // 0: success; otherwise the status of a failing call
INT64 g_nextSequence = 41;
}  // namespace

extern "C" {
void WINAPI FakeSrScript(DWORD status)
{
    g_status = status;
    g_calls.clear();
    g_removed.clear();
}

// Calls so far: the set requests (event type, type, sequence, description) and the removed numbers.
int WINAPI FakeSrSetCalls(int index, DWORD* eventType, INT64* sequence, wchar_t* description, int capacity)
{
    if (index < 0 || index >= static_cast<int>(g_calls.size())) return static_cast<int>(g_calls.size());
    const Call& c = g_calls[static_cast<size_t>(index)];
    *eventType = c.eventType;
    *sequence = c.sequence;
    lstrcpynW(description, c.description.c_str(), capacity);
    return static_cast<int>(g_calls.size());
}

int WINAPI FakeSrRemoved(int index)
{
    if (index < 0 || index >= static_cast<int>(g_removed.size())) return -1;
    return static_cast<int>(g_removed[static_cast<size_t>(index)]);
}

BOOL WINAPI SRSetRestorePointW(PRESTOREPOINTINFOW request, PSTATEMGRSTATUS status)
{
    g_calls.push_back({request->dwEventType, request->dwRestorePtType, request->llSequenceNumber,
                       std::wstring(request->szDescription)});
    status->nStatus = g_status;
    status->llSequenceNumber =
        g_status ? 0 : (request->dwEventType == BEGIN_SYSTEM_CHANGE ? ++g_nextSequence : request->llSequenceNumber);
    return g_status == 0;
}

DWORD WINAPI SRRemoveRestorePoint(DWORD sequence)
{
    g_removed.push_back(sequence);
    return g_status;
}
}
