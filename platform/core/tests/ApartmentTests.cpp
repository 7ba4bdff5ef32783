#include <gtest/gtest.h>

#include <windows.h>

#include "QApartment.h"
#include "QGuards.h"
#include "QWorker.h"

namespace {

// Runs body on a thread of its own, so each case starts without any apartment.
void OnFreshThread(const std::function<void()>& body)
{
    qcore::UniqueHandle thread(qcore::StartThread(body));
    ASSERT_TRUE(thread);
    qcore::WaitForHandle(thread.Get(), INFINITE, qcore::Pump::None);
}

// S_FALSE when the calling thread is already in the multithreaded apartment, S_OK when it was in none.
HRESULT JoinMta()
{
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr;
}

TEST(RunInMta, TheCallRunsInTheMtaAndTheCallersApartmentStaysAsItWas)
{
    const struct {
        const char* caller;
        bool joins;  // the caller is in an apartment of this model
        DWORD model;
        bool sameThread;
        HRESULT afterwards;  // JoinMta on the caller after the call
    } cases[] = {
        {"no apartment", false, 0, true, S_OK},
        {"multithreaded", true, COINIT_MULTITHREADED, true, S_FALSE},
        {"single-threaded", true, COINIT_APARTMENTTHREADED, false, RPC_E_CHANGED_MODE},
    };
    for (const auto& c : cases) {
        OnFreshThread([&] {
            const HRESULT ownInit = c.joins ? ::CoInitializeEx(nullptr, c.model) : E_FAIL;
            const DWORD caller = ::GetCurrentThreadId();
            DWORD ranOn = 0;
            HRESULT inside = E_FAIL;
            EXPECT_EQ(E_ABORT, qcore::RunInMta([&]() -> HRESULT {
                          ranOn = ::GetCurrentThreadId();
                          inside = JoinMta();
                          return E_ABORT;  // what the call returns comes back
                      }))
                << c.caller;
            EXPECT_EQ(S_FALSE, inside) << c.caller;
            EXPECT_EQ(c.sameThread, ranOn == caller) << c.caller;
            EXPECT_EQ(c.afterwards, JoinMta()) << c.caller;
            if (SUCCEEDED(ownInit)) ::CoUninitialize();
        });
    }
}

TEST(RunInMta, AWindowThreadServesWhatTheCallSendsItMeanwhile)
{
    OnFreshThread([] {
        qcore::ComInit sta(COINIT_APARTMENTTHREADED);
        HWND window = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window);
        EXPECT_EQ(S_OK, qcore::RunInMta([window]() -> HRESULT {
                      ::SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"sent"));
                      return S_OK;
                  }));
        wchar_t text[16] = L"";
        ::GetWindowTextW(window, text, 16);
        EXPECT_STREQ(L"sent", text);
        ::DestroyWindow(window);
    });
}

}  // namespace
