// CRegSystemServiceMan on fixture service keys: existence by "Type", start types 0-4 only, no key ever created.
#include <gtest/gtest.h>

#include <Common.h>
#include <Tessik/RegSystemServiceMan.h>

#include "RegFixture.h"

using namespace tessik_test;

namespace {

const std::wstring kServices = L"System\\CurrentControlSet\\services\\";

class ServiceStartTypes : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDword(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcA", L"Type", 16);
        SetDword(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcA", L"Start", 3);
        SetDword(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcB", L"Type", 32);
        SetDword(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcC", L"Start", 3);
    }
    void TearDown() override
    {
        for (const wchar_t* name : {L"QvTestSvcA", L"QvTestSvcB", L"QvTestSvcC", L"QvTestSvcMissing"})
            DeleteTree(HKEY_LOCAL_MACHINE, kServices + name);
    }
    CRegSystemServiceMan man;
};

TEST_F(ServiceStartTypes, ExistenceNeedsAReadableType)
{
    EXPECT_TRUE(man.IsServiceExisted(L"QvTestSvcA"));
    EXPECT_TRUE(man.IsServiceExisted(L"QvTestSvcB"));
    EXPECT_FALSE(man.IsServiceExisted(L"QvTestSvcC"));  // Start but no Type
    EXPECT_FALSE(man.IsServiceExisted(L"QvTestSvcMissing"));
    EXPECT_FALSE(man.IsServiceExisted(std::wstring(1100, L'x').c_str()));
    EXPECT_FALSE(man.IsServiceExisted(L""));
}

TEST_F(ServiceStartTypes, ReadAndWriteStartTypes)
{
    SystemServiceStartType type = SERVICE_START_AUTO;
    EXPECT_FALSE(man.GetServiceStartType(L"QvTestSvcMissing", type));
    EXPECT_EQ(SERVICE_START_UNKNOWN, type);

    ASSERT_TRUE(man.GetServiceStartType(L"QvTestSvcA", type));
    EXPECT_EQ(SERVICE_START_MANUAL, type);
    for (SystemServiceStartType set : {SERVICE_START_AUTO, SERVICE_START_DISABLED, SERVICE_START_BOOT}) {
        EXPECT_TRUE(man.SetServiceStartType(L"QvTestSvcA", set));
        RawValue v = ReadRaw(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcA", L"Start");
        EXPECT_EQ(DWORD(REG_DWORD), v.type);
        EXPECT_EQ(DWORD(set), v.Dword());
        ASSERT_TRUE(CRegSystemServiceMan().GetServiceStartType(L"QvTestSvcA", type));
        EXPECT_EQ(set, type);
    }
}

TEST_F(ServiceStartTypes, RefusedWritesLeaveEverythingUntouched)
{
    SetDword(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcA", L"Start", 3);
    for (int bad : {5, 6, -1, 100}) {
        EXPECT_FALSE(man.SetServiceStartType(L"QvTestSvcA", static_cast<SystemServiceStartType>(bad))) << bad;
        EXPECT_EQ(3u, ReadRaw(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcA", L"Start").Dword()) << bad;
    }
    EXPECT_FALSE(man.SetServiceStartType(L"QvTestSvcC", SERVICE_START_AUTO));
    EXPECT_EQ(3u, ReadRaw(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcC", L"Start").Dword());
    EXPECT_FALSE(man.SetServiceStartType(L"QvTestSvcMissing", SERVICE_START_AUTO));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kServices + L"QvTestSvcMissing"));
}

TEST_F(ServiceStartTypes, SystemServicesAreTheOwnProcessOnes)
{
    CSBStringArrayW list;
    list.AddString(L"left over");
    man.GetSystemServices(list);
    std::vector<std::wstring> names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetString(i));
    auto has = [&](const wchar_t* n) {
        for (const auto& x : names)
            if (lstrcmpiW(x.c_str(), n) == 0) return true;
        return false;
    };
    EXPECT_TRUE(has(L"QvTestSvcA"));
    EXPECT_FALSE(has(L"QvTestSvcB"));
    EXPECT_FALSE(has(L"QvTestSvcC"));
    EXPECT_FALSE(has(L"Spooler"));  // 0x110: interactive own process is not 16
    EXPECT_FALSE(has(L"left over"));
}

}  // namespace
