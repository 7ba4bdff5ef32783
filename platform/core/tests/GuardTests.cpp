#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "QGuards.h"

namespace {

bool HandleIsOpen(HANDLE h)
{
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != 0;
}

struct CountingUnknown : IUnknown {
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

}  // namespace

TEST(Guards, AHandleIsClosedOnceAndOwnershipMoves)
{
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        qcore::UniqueHandle a(raw);
        qcore::UniqueHandle b(std::move(a));
        EXPECT_FALSE(a.Valid());
        EXPECT_EQ(raw, b.Get());
        qcore::UniqueHandle c;
        c = std::move(b);
        EXPECT_TRUE(HandleIsOpen(raw));
    }
    EXPECT_FALSE(HandleIsOpen(raw));

    qcore::UniqueFile none;
    EXPECT_EQ(INVALID_HANDLE_VALUE, none.Get());
    EXPECT_FALSE(none);
}

TEST(Guards, ARegistryKeyIsClosedWhenReplaced)
{
    qcore::UniqueRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()));
    HKEY first = key.Get();
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()));
    DWORD subkeys = 0;
    // Closed before the second open: either its number was given out again or it no longer works.
    if (first != key.Get()) {
        EXPECT_NE(ERROR_SUCCESS, ::RegQueryInfoKeyW(first, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                                    nullptr, nullptr, nullptr, nullptr, nullptr));
    }
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                                nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST(Guards, AComPointerBalancesItsReferences)
{
    CountingUnknown object;
    {
        qcore::ComPtr<IUnknown> a;
        a.Attach(&object);
        qcore::ComPtr<IUnknown> b = a;
        EXPECT_EQ(2, object.refs);
        qcore::ComPtr<IUnknown> c(std::move(b));
        EXPECT_EQ(2, object.refs);
        a = c;
        EXPECT_EQ(2, object.refs) << "self-equal assignment keeps the count";
    }
    EXPECT_EQ(0, object.refs);
}

TEST(Guards, AGdiSelectionPutsThePreviousObjectBack)
{
    qcore::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ before = ::GetCurrentObject(dc.Get(), OBJ_PEN);
    qcore::UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    {
        qcore::GdiSelection sel(dc.Get(), pen.Get());
        EXPECT_EQ(pen.Get(), ::GetCurrentObject(dc.Get(), OBJ_PEN));
    }
    EXPECT_EQ(before, ::GetCurrentObject(dc.Get(), OBJ_PEN));
}

TEST(Guards, ComInitBalancesOnlyItsOwnSuccess)
{
    qcore::ComInit sta(COINIT_APARTMENTTHREADED);
    EXPECT_TRUE(sta.Usable());
    qcore::ComInit mta(COINIT_MULTITHREADED);  // another apartment on the same thread is refused, still usable
    EXPECT_EQ(RPC_E_CHANGED_MODE, mta.Result());
    EXPECT_TRUE(mta.Usable());
}
