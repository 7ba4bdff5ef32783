#include "FakeAgent.h"

#include <string>

namespace skarloe_test {

namespace {

const wchar_t* const kClasses[] = {L"{4CB43D7F-7EEE-4906-8698-60DA1C38F2FE}",   // UpdateSession
                                   L"{13639463-00DB-4646-803D-528026140D88}"};  // UpdateCollection

std::wstring FakePath()
{
    wchar_t self[MAX_PATH + 1] = L"";
    DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, n);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"FakeWua.dll";
}

HMODULE Fake()
{
    HMODULE module = ::GetModuleHandleW(L"FakeWua.dll");
    return module ? module : ::LoadLibraryW(FakePath().c_str());
}

template <typename Fn>
Fn Export(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(Fake(), name)));
}

}  // namespace

bool RegisterFakeAgent()
{
    const std::wstring path = FakePath();
    for (const wchar_t* clsid : kClasses) {
        std::wstring key = std::wstring(L"Software\\Classes\\CLSID\\") + clsid + L"\\InprocServer32";
        HKEY k = nullptr;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
            ERROR_SUCCESS)
            return false;
        const wchar_t model[] = L"Both";
        bool ok = ::RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
                  ::RegSetValueExW(k, L"ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model),
                                   sizeof(model)) == ERROR_SUCCESS;
        ::RegCloseKey(k);
        if (!ok) return false;
    }
    return true;
}

void Script(const FakeWuaScenario& scenario) { Export<PFN_FAKEWUA_RESET>("FakeWua_Reset")(&scenario); }

FakeWuaCounters Counters()
{
    FakeWuaCounters c = {};
    Export<PFN_FAKEWUA_COUNTERS>("FakeWua_Counters")(&c);
    return c;
}

void ReleaseHeld() { Export<PFN_FAKEWUA_RELEASE_HELD>("FakeWua_ReleaseHeld")(); }

}  // namespace skarloe_test
