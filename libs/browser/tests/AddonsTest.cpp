// ActiveX controls, context-menu extensions, explorer bars and helper objects seeded in the prefix: listed,
// blocked and unblocked with their other compatibility flags kept, removed one by one, and crafted records that
// name no add-on entry refused.
#include <gtest/gtest.h>

#include <Common.h>
#include <Grennow.h>

#include <algorithm>

#include "RegistrySeed.h"

using namespace grennow_test;

namespace {

const std::wstring kUnits = L"SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
const std::wstring kCompat = L"Software\\Microsoft\\Internet Explorer\\ActiveX Compatibility";
const std::wstring kHelpers = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const std::wstring kMenuExt = L"Software\\Microsoft\\Internet Explorer\\MenuExt";
const std::wstring kBars = L"Software\\Microsoft\\Internet Explorer\\Explorer Bars";

// Controls: one registered with a file that has version texts, one not registered, one whose file is missing.
const std::wstring kVersioned = L"{6A1D0001-0000-4000-8000-000000000001}";
const std::wstring kUnregistered = L"{6A1D0002-0000-4000-8000-000000000002}";
const std::wstring kFileMissing = L"{6A1D0003-0000-4000-8000-000000000003}";

std::wstring VersionedDll() { return SBGetAppPathW() + L"CommonVersioned.dll"; }

void RegisterClass(const std::wstring& clsid, const wchar_t* name, const std::wstring& file)
{
    SetString(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid, nullptr, name);
    if (!file.empty()) SetString(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid + L"\\InprocServer32", nullptr, file);
}

DWORD Flags(const std::wstring& clsid, bool* present = nullptr)
{
    Stored s = Read(HKEY_LOCAL_MACHINE, kCompat + L"\\" + clsid, L"Compatibility Flags");
    if (present) *present = s.present;
    return s.number;
}

class Addons : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const std::wstring& key : {kUnits, kCompat, kHelpers}) DeleteTree(HKEY_LOCAL_MACHINE, key);
        DeleteTree(HKEY_LOCAL_MACHINE, kBars);
        DeleteTree(HKEY_CURRENT_USER, kMenuExt);
        DeleteTree(HKEY_CURRENT_USER, kBars);

        for (const std::wstring& clsid : {kVersioned, kUnregistered, kFileMissing})
            CreateKey(HKEY_LOCAL_MACHINE, kUnits + L"\\" + clsid + L"\\Contains");
        RegisterClass(kVersioned, L"Versioned Control", VersionedDll());
        RegisterClass(kFileMissing, L"Lost Control", L"C:\\nowhere\\lost.ocx");
        SetDword(HKEY_LOCAL_MACHINE, kCompat + L"\\" + kVersioned, L"Compatibility Flags", 0x401);
        SetDword(HKEY_LOCAL_MACHINE, kCompat + L"\\" + kFileMissing, L"Compatibility Flags", 0x1);
    }

    static std::vector<IEActiveXInfo> Controls()
    {
        std::vector<IEActiveXInfo> list;
        CIEActiveXMan().GetActiveXList(list);
        return list;
    }
    static const IEActiveXInfo* Find(const std::vector<IEActiveXInfo>& list, const std::wstring& clsid)
    {
        for (const IEActiveXInfo& info : list)
            if (info.clsid == clsid) return &info;
        return nullptr;
    }
};

TEST_F(Addons, ControlsAreListedWithTheirClassFileAndVersionTexts)
{
    std::vector<IEActiveXInfo> list = Controls();
    ASSERT_EQ(3u, list.size());

    const IEActiveXInfo* versioned = Find(list, kVersioned);
    ASSERT_NE(nullptr, versioned);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, versioned->root);
    EXPECT_EQ(kUnits + L"\\" + kVersioned, versioned->keyPath);
    EXPECT_EQ(L"Versioned Control", versioned->name);
    EXPECT_EQ(VersionedDll(), versioned->file);
    EXPECT_EQ(L"Quorvel Test Makers", versioned->company);
    EXPECT_EQ(L"Common test library", versioned->description);
    EXPECT_EQ(L"1.2.3.4 (test)", versioned->version);
    EXPECT_TRUE(versioned->blocked) << "0x401 has the kill bit";
    EXPECT_EQ(L"", versioned->reserved);
    EXPECT_FALSE(versioned->reservedFlag);

    const IEActiveXInfo* unregistered = Find(list, kUnregistered);
    ASSERT_NE(nullptr, unregistered);
    EXPECT_EQ(L"", unregistered->name);
    EXPECT_EQ(L"", unregistered->file);
    EXPECT_EQ(L"", unregistered->company + unregistered->version + unregistered->description);
    EXPECT_FALSE(unregistered->blocked);

    const IEActiveXInfo* missing = Find(list, kFileMissing);
    ASSERT_NE(nullptr, missing);
    EXPECT_EQ(L"Lost Control", missing->name);
    EXPECT_EQ(L"C:\\nowhere\\lost.ocx", missing->file);
    EXPECT_EQ(L"", missing->company + missing->version + missing->description);
    EXPECT_FALSE(missing->blocked) << "0x1 has no kill bit";

    // The list is appended to, not replaced.
    CIEActiveXMan().GetActiveXList(list);
    EXPECT_EQ(6u, list.size());
}

TEST_F(Addons, BlockAndUnblockKeepTheOtherCompatibilityFlags)
{
    std::vector<IEActiveXInfo> list = Controls();
    CIEActiveXMan activeX;
    const struct {
        const std::wstring* clsid;
        bool flagsBefore;
        DWORD blocked;    // flags after Block
        DWORD unblocked;  // flags after Unblock; 0 = the value is gone
    } cases[] = {
        {&kVersioned, true, 0x401, 0x1},
        {&kUnregistered, false, 0x400, 0},
        {&kFileMissing, true, 0x401, 0x1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.clsid->begin(), c.clsid->end()));
        const IEActiveXInfo* info = Find(list, *c.clsid);
        ASSERT_NE(nullptr, info);
        EXPECT_TRUE(activeX.BlockActiveX(*info));
        EXPECT_EQ(c.blocked, Flags(*c.clsid));
        EXPECT_TRUE(Find(Controls(), *c.clsid)->blocked);
        EXPECT_TRUE(activeX.BlockActiveX(*info)) << "blocking twice";
        EXPECT_EQ(c.blocked, Flags(*c.clsid));

        EXPECT_TRUE(activeX.UnblockActiveX(*info));
        bool present = false;
        EXPECT_EQ(c.unblocked, Flags(*c.clsid, &present));
        EXPECT_EQ(c.unblocked != 0, present);
        EXPECT_FALSE(Find(Controls(), *c.clsid)->blocked);
        EXPECT_TRUE(activeX.UnblockActiveX(*info)) << "unblocking an unblocked control";
        EXPECT_EQ(c.unblocked, Flags(*c.clsid));
    }
}

TEST_F(Addons, RemovingAControlDeletesOnlyItsEntry)
{
    std::vector<IEActiveXInfo> list = Controls();
    EXPECT_TRUE(CIEActiveXMan().RemoveActiveX(*Find(list, kVersioned)));
    EXPECT_EQ((std::vector<std::wstring>{kUnregistered, kFileMissing}), SubKeys(HKEY_LOCAL_MACHINE, kUnits));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kVersioned)) << "the class stays registered";
    EXPECT_EQ(0x401u, Flags(kVersioned));
    EXPECT_FALSE(CIEActiveXMan().RemoveActiveX(*Find(list, kVersioned))) << "already gone";
}

// Every shape of record that does not name one entry of its own list: nothing anywhere is deleted or written.
TEST_F(Addons, CraftedRecordsRemoveAndWriteNothing)
{
    SetString(HKEY_CURRENT_USER, kMenuExt + L"\\&Keep me", nullptr, L"res://keep.htm");
    CreateKey(HKEY_LOCAL_MACHINE, kHelpers + L"\\" + kVersioned);
    CreateKey(HKEY_CURRENT_USER, kBars + L"\\" + kVersioned);
    auto snapshot = [] {
        std::vector<std::vector<std::wstring>> all;
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            all.push_back(SubKeys(root, L"Software"));
            all.push_back(SubKeys(root, L"Software\\Microsoft"));
            all.push_back(SubKeys(root, L"Software\\Microsoft\\Internet Explorer"));
            for (const std::wstring& key : {kUnits, kHelpers, kMenuExt, kBars, kCompat}) {
                all.push_back(SubKeys(root, key));
                all.push_back(SubKeys(root, key + L"\\" + kVersioned));
            }
        }
        return all;
    };
    const auto before = snapshot();

    const struct {
        const char* name;
        HKEY root;
        std::wstring path;
    } shapes[] = {
        {"empty path", HKEY_LOCAL_MACHINE, L""},
        {"empty path, user", HKEY_CURRENT_USER, L""},
        {"backslash", HKEY_LOCAL_MACHINE, L"\\"},
        {"foreign key", HKEY_LOCAL_MACHINE, L"Software\\Microsoft"},
        {"list key itself", HKEY_LOCAL_MACHINE, kUnits},
        {"list key itself, helpers", HKEY_LOCAL_MACHINE, kHelpers},
        {"list key itself, menu", HKEY_CURRENT_USER, kMenuExt},
        {"list key with a backslash", HKEY_LOCAL_MACHINE, kUnits + L"\\"},
        {"prefix of a list key", HKEY_LOCAL_MACHINE, kUnits.substr(0, kUnits.size() - 1) + L"\\" + kVersioned},
        {"below an entry", HKEY_LOCAL_MACHINE, kUnits + L"\\" + kVersioned + L"\\Contains"},
        {"other root", HKEY_CLASSES_ROOT, kUnits + L"\\" + kVersioned},
        {"menu entry under the machine", HKEY_LOCAL_MACHINE, kMenuExt + L"\\&Keep me"},
        {"control entry under the user", HKEY_CURRENT_USER, kUnits + L"\\" + kVersioned},
        {"null root", nullptr, kUnits + L"\\" + kVersioned},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.name);
        IEActiveXInfo control;
        control.root = shape.root;
        control.keyPath = shape.path;
        IEPluginInfo helper;
        helper.root = shape.root;
        helper.keyPath = shape.path;
        IEBhoInfo entry;
        entry.root = shape.root;
        entry.keyPath = shape.path;
        EXPECT_FALSE(CIEActiveXMan().RemoveActiveX(control));
        EXPECT_FALSE(CIEPluginMan().RemovePlugin(helper));
        EXPECT_FALSE(CIEBhoMan().RemoveBho(entry));
        entry.isValue = true;
        entry.valueName = L"";
        EXPECT_FALSE(CIEBhoMan().RemoveBho(entry));
    }
    // Records of one list handed to another.
    IEPluginInfo helperAsControl;
    helperAsControl.keyPath = kUnits + L"\\" + kVersioned;
    EXPECT_FALSE(CIEPluginMan().RemovePlugin(helperAsControl));
    IEActiveXInfo controlAsHelper;
    controlAsHelper.keyPath = kHelpers + L"\\" + kVersioned;
    EXPECT_FALSE(CIEActiveXMan().RemoveActiveX(controlAsHelper));
    // A value record must name a value: an empty name would be the key's default value.
    IEBhoInfo defaultValue;
    defaultValue.keyPath = kMenuExt + L"\\&Keep me";
    defaultValue.isValue = true;
    EXPECT_FALSE(CIEBhoMan().RemoveBho(defaultValue));
    EXPECT_TRUE(Read(HKEY_CURRENT_USER, kMenuExt + L"\\&Keep me", nullptr).present);

    // Blocking by a CLSID that names no single key writes nothing.
    for (const wchar_t* clsid : {L"", L"a\\b", L"\\"}) {
        IEActiveXInfo control;
        control.clsid = clsid;
        EXPECT_FALSE(CIEActiveXMan().BlockActiveX(control));
        EXPECT_FALSE(CIEActiveXMan().UnblockActiveX(control));
    }
    EXPECT_FALSE(Read(HKEY_LOCAL_MACHINE, kCompat, L"Compatibility Flags").present);
    EXPECT_TRUE(before == snapshot());
}

TEST_F(Addons, MenuExtensionsAndExplorerBarsAreListedPerGroup)
{
    SetString(HKEY_CURRENT_USER, kMenuExt + L"\\&Send to Device", nullptr, L"res://device.htm");
    CreateKey(HKEY_CURRENT_USER, kMenuExt + L"\\E&xport");
    const std::wstring knownBar = L"{6A1D0B01-0000-4000-8000-000000000001}";
    const std::wstring unknownBar = L"{6A1D0B02-0000-4000-8000-000000000002}";
    RegisterClass(knownBar, L"Research Bar", L"");
    CreateKey(HKEY_CURRENT_USER, kBars + L"\\" + knownBar);
    CreateKey(HKEY_CURRENT_USER, kBars + L"\\" + unknownBar);

    // The machine has no explorer bars: nothing of the user's groups may show up under it.
    std::vector<IEBhoInfo> list;
    CIEBhoMan().GetBhoList(list);
    ASSERT_EQ(4u, list.size());
    std::vector<std::wstring> menuNames = {list[0].displayName, list[1].displayName};
    std::sort(menuNames.begin(), menuNames.end());
    EXPECT_EQ((std::vector<std::wstring>{L"&Send to Device", L"E&xport"}), menuNames);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(HKEY_CURRENT_USER, list[i].root);
        EXPECT_EQ(kMenuExt + L"\\" + list[i].displayName, list[i].keyPath);
    }
    for (int i = 2; i < 4; ++i) {
        EXPECT_EQ(HKEY_CURRENT_USER, list[i].root);
        bool known = list[i].keyPath == kBars + L"\\" + knownBar;
        EXPECT_TRUE(known || list[i].keyPath == kBars + L"\\" + unknownBar);
        EXPECT_EQ(known ? L"Research Bar" : L"Invalid Class ID", list[i].displayName);
    }
    for (const IEBhoInfo& info : list) {
        EXPECT_FALSE(info.isValue);
        EXPECT_EQ(L"", info.valueName);
    }

    // With the user's bars gone and one machine bar, the machine group lists only its own.
    DeleteTree(HKEY_CURRENT_USER, kBars);
    CreateKey(HKEY_LOCAL_MACHINE, kBars + L"\\" + knownBar);
    list.clear();
    CIEBhoMan().GetBhoList(list);
    ASSERT_EQ(3u, list.size());
    EXPECT_EQ(HKEY_LOCAL_MACHINE, list[2].root);
    EXPECT_EQ(kBars + L"\\" + knownBar, list[2].keyPath);
    EXPECT_EQ(L"Research Bar", list[2].displayName);

    // Removing takes one entry away; a second try reports the failure.
    EXPECT_TRUE(CIEBhoMan().RemoveBho(list[2]));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBars + L"\\" + knownBar));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kBars));
    EXPECT_FALSE(CIEBhoMan().RemoveBho(list[2]));
    EXPECT_TRUE(CIEBhoMan().RemoveBho(list[0]));
    list.clear();
    CIEBhoMan().GetBhoList(list);
    ASSERT_EQ(1u, list.size());

    // A value record removes just that value.
    SetString(HKEY_CURRENT_USER, kMenuExt + L"\\" + list[0].displayName, L"Contexts", L"x");
    IEBhoInfo value = list[0];
    value.isValue = true;
    value.valueName = L"Contexts";
    EXPECT_TRUE(CIEBhoMan().RemoveBho(value));
    EXPECT_FALSE(Read(HKEY_CURRENT_USER, list[0].keyPath, L"Contexts").present);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, list[0].keyPath));
}

TEST_F(Addons, HelperObjectsAreListedAndRemovedOneByOne)
{
    const std::wstring unknown = L"{6A1D0C02-0000-4000-8000-000000000002}";
    CreateKey(HKEY_LOCAL_MACHINE, kHelpers + L"\\" + kVersioned);
    CreateKey(HKEY_LOCAL_MACHINE, kHelpers + L"\\" + unknown);
    std::vector<IEPluginInfo> list;
    CIEPluginMan().GetPlugins(list);
    ASSERT_EQ(2u, list.size());
    const IEPluginInfo& known = list[0].keyPath == kHelpers + L"\\" + kVersioned ? list[0] : list[1];
    const IEPluginInfo& other = &known == &list[0] ? list[1] : list[0];
    EXPECT_EQ(HKEY_LOCAL_MACHINE, known.root);
    EXPECT_EQ(L"Versioned Control", known.name);
    EXPECT_EQ(VersionedDll(), known.file);
    EXPECT_EQ(L"Quorvel Test Makers", known.company);
    EXPECT_EQ(L"1.2.3.4 (test)", known.version);
    EXPECT_EQ(L"Common test library", known.description);
    EXPECT_EQ(kHelpers + L"\\" + unknown, other.keyPath);
    EXPECT_EQ(L"", other.name + other.file + other.company + other.version + other.description);

    EXPECT_TRUE(CIEPluginMan().RemovePlugin(other));
    EXPECT_EQ((std::vector<std::wstring>{kVersioned}), SubKeys(HKEY_LOCAL_MACHINE, kHelpers));
    EXPECT_FALSE(CIEPluginMan().RemovePlugin(other));

    CIEPluginMan().GetPlugins(list);
    EXPECT_EQ(3u, list.size()) << "appended";
}

TEST_F(Addons, MissingListsListNothing)
{
    for (const std::wstring& key : {kUnits, kHelpers}) DeleteTree(HKEY_LOCAL_MACHINE, key);
    std::vector<IEActiveXInfo> controls;
    std::vector<IEPluginInfo> helpers;
    std::vector<IEBhoInfo> entries;
    CIEActiveXMan().GetActiveXList(controls);
    CIEPluginMan().GetPlugins(helpers);
    CIEBhoMan().GetBhoList(entries);
    EXPECT_TRUE(controls.empty());
    EXPECT_TRUE(helpers.empty());
    EXPECT_TRUE(entries.empty());
}

}  // namespace
