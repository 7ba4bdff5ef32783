// The kill bit of an ActiveX control, read and changed in place among the control's other flags.
#include "TestSupport.h"

#include "ActiveXKillBit.h"

#include <cstring>

using namespace common_test;

namespace {

const wchar_t kClsid[] = L"{0D9B3A51-5C1E-4E7A-9E55-QUORVELTEST}";
const std::wstring kKey = std::wstring(L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\") + kClsid;
const wchar_t kFlags[] = L"Compatibility Flags";
const DWORD kAbsent = 0xFFFFFFFF;  // no value at all

DWORD StoredFlags()
{
    DWORD type = 0;
    std::wstring bytes;
    if (!RawQuery(HKEY_LOCAL_MACHINE, kKey, kFlags, type, bytes)) return kAbsent;
    DWORD flags = 0;
    memcpy(&flags, bytes.data(), sizeof(flags));
    return type == REG_DWORD ? flags : kAbsent;
}

TEST(ActiveXKillBit, OnlyTheBitChangesAndFlagsLeftAtZeroGo)
{
    const struct {
        DWORD before;
        bool block;
        DWORD after;
    } cases[] = {
        {kAbsent, true, 0x400},  {0x1, true, 0x401},  {0x401, true, 0x401}, {kAbsent, false, kAbsent},
        {0x400, false, kAbsent}, {0x401, false, 0x1}, {0x1, false, 0x1},
    };
    for (const auto& c : cases) {
        RawDeleteTree(HKEY_LOCAL_MACHINE, kKey);
        if (c.before != kAbsent) RawSet(HKEY_LOCAL_MACHINE, kKey, kFlags, REG_DWORD, &c.before, sizeof(DWORD));
        EXPECT_EQ(c.before != kAbsent && (c.before & 0x400) != 0, qactivex::IsKillBitSet(kClsid)) << c.before;
        EXPECT_TRUE(qactivex::SetKillBit(kClsid, c.block)) << c.before << " " << c.block;
        EXPECT_EQ(c.after, StoredFlags()) << c.before << " " << c.block;
        EXPECT_EQ(c.block, qactivex::IsKillBitSet(kClsid)) << c.before << " " << c.block;
        EXPECT_TRUE(c.before == kAbsent || RawKeyExists(HKEY_LOCAL_MACHINE, kKey)) << "the key stays";
    }
    RawDeleteTree(HKEY_LOCAL_MACHINE, kKey);
}

TEST(ActiveXKillBit, AnIdentifierThatWouldNameAnotherKeyIsRefused)
{
    for (const wchar_t* clsid : {L"", L"{A}\\..\\{B}"}) {
        EXPECT_FALSE(qactivex::SetKillBit(clsid, true)) << clsid;
        EXPECT_FALSE(qactivex::IsKillBitSet(clsid)) << clsid;
    }
    EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE,
                              L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\{A}\\..\\{B}"));
}

}  // namespace
