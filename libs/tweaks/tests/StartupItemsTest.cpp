// reg::CRegAutoStartupItemMan: items of both Run keys and both Startup folders (the prefix's real shell folders),
// their removal, and the shared instance of the library set-up.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <Common.h>
#include <QGuards.h>
#include <Tessik/RegAutoStartupItemMan.h>

#include "RegFixture.h"

using namespace tessik_test;
using reg::CRegAutoStartupItemMan;
using Item = CRegAutoStartupItemMan::StartupItem;

namespace {

const wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring Folder(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << path.c_str();
    DWORD written = 0;
    ::WriteFile(h, "@echo off\r\n", 11, &written, nullptr);
    CloseHandle(h);
}

void WriteShortcut(const std::wstring& path, const std::wstring& target, const std::wstring& arguments)
{
    qcore::ComInit com;
    qcore::ComPtr<IShellLinkW> link;
    qcore::ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()));
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid()));
    ASSERT_HRESULT_SUCCEEDED(file->Save(path.c_str(), TRUE));
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class StartupItems : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(HKEY_CURRENT_USER, kRun);
        DeleteTree(HKEY_LOCAL_MACHINE, kRun);
        user = Folder(CSIDL_STARTUP);
        common = Folder(CSIDL_COMMON_STARTUP);
        ASSERT_FALSE(user.empty());
        ASSERT_FALSE(common.empty());
        ASSERT_NE(user, common);
    }
    void TearDown() override
    {
        DeleteTree(HKEY_CURRENT_USER, kRun);
        DeleteTree(HKEY_LOCAL_MACHINE, kRun);
        for (const std::wstring& f : created) {
            SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(f.c_str());
        }
    }
    std::wstring Make(const std::wstring& folder, const wchar_t* name, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
    {
        std::wstring path = folder + L"\\" + name;
        MakeFile(path, attributes);
        created.push_back(path);
        return path;
    }
    std::wstring user, common;
    std::vector<std::wstring> created;
};

TEST_F(StartupItems, RunValuesOfBothHivesThenBothStartupFolders)
{
    SetText(HKEY_CURRENT_USER, kRun, L"a", L"c:\\x.exe");
    SetDword(HKEY_CURRENT_USER, kRun, L"d", 1);
    SetText(HKEY_CURRENT_USER, kRun, L"e", L"%SystemRoot%\\y.exe", REG_EXPAND_SZ);
    SetText(HKEY_LOCAL_MACHINE, kRun, L"b", L"\"C:\\Program Files\\b.exe\" /min");
    const std::wstring bat = Make(user, L"tool.bat");
    Make(user, L"desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Make(user, L"secret.exe", FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW((user + L"\\sub").c_str(), nullptr);
    const std::wstring lnk = common + L"\\Editor.lnk";
    WriteShortcut(lnk, L"C:\\windows\\notepad.exe", L"/a b.txt");
    created.push_back(lnk);

    std::vector<Item> items(1);  // appended after what is there
    ASSERT_TRUE(CRegAutoStartupItemMan().GetStartupItems(items));
    RemoveDirectoryW((user + L"\\sub").c_str());
    ASSERT_EQ(6u, items.size());
    EXPECT_EQ(L"a", items[1].name);
    EXPECT_EQ(L"c:\\x.exe", items[1].command);
    EXPECT_EQ(HKEY_CURRENT_USER, items[1].root);
    EXPECT_EQ(kRun, items[1].keyPath);
    EXPECT_FALSE(items[1].IsFolderItem());
    EXPECT_EQ(L"e", items[2].name);
    wchar_t windows[MAX_PATH];
    GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(std::wstring(windows) + L"\\y.exe", items[2].command);  // expanded, as Common reads it
    EXPECT_EQ(L"b", items[3].name);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, items[3].root);
    EXPECT_EQ(L"tool.bat", items[4].name);
    EXPECT_EQ(bat, items[4].filePath);
    EXPECT_EQ(user, items[4].keyPath);
    EXPECT_EQ(HKEY_CURRENT_USER, items[4].root);
    EXPECT_EQ(L"Editor.lnk", items[5].name);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, items[5].root);
    EXPECT_TRUE(items[5].IsFolderItem());
    std::wstring program;
    SBGetFileNameFromCommandW(items[5].command.c_str(), program);
    EXPECT_EQ(0, lstrcmpiW(L"C:\\windows\\notepad.exe", program.c_str())) << items[5].command;
    EXPECT_NE(std::wstring::npos, items[5].command.find(L"/a b.txt")) << items[5].command;
}

TEST_F(StartupItems, RemovalOfValuesAndFiles)
{
    CRegAutoStartupItemMan man;
    std::vector<Item> none;
    EXPECT_FALSE(man.RemoveStartupItems(none));

    SetText(HKEY_CURRENT_USER, kRun, L"a", L"c:\\x.exe");
    SetText(HKEY_CURRENT_USER, kRun, L"keep", L"c:\\k.exe");
    SetText(HKEY_LOCAL_MACHINE, kRun, L"b", L"c:\\b.exe");
    const std::wstring bat = Make(user, L"tool.bat");
    const std::wstring other = Make(common, L"other.cmd");
    std::vector<Item> items;
    man.GetStartupItems(items);
    std::vector<Item> chosen;
    for (const Item& item : items)
        if (item.name != L"keep" && item.name != L"other.cmd") chosen.push_back(item);
    ASSERT_EQ(3u, chosen.size());

    EXPECT_TRUE(man.RemoveStartupItems(chosen));
    EXPECT_EQ(3u, chosen.size());  // the vector is left as it was
    EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, kRun, L"a").exists);
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kRun, L"b").exists);
    EXPECT_TRUE(ReadRaw(HKEY_CURRENT_USER, kRun, L"keep").exists);
    EXPECT_FALSE(Exists(bat));
    EXPECT_TRUE(Exists(other));

    // Gone already counts as removed.
    for (const Item& item : chosen) EXPECT_TRUE(man.RemoveStartupItem(item)) << item.name.c_str();
    // An item without a name would be the key's default value: refused.
    Item unnamed;
    unnamed.root = HKEY_CURRENT_USER;
    unnamed.keyPath = kRun;
    EXPECT_FALSE(man.RemoveStartupItem(unnamed));
}

TEST(StartupManagerSetUp, OneSharedInstanceThatLocalInstancesDoNotDisturb)
{
    EXPECT_FALSE(reg::isTessikInitialized());
    EXPECT_EQ(nullptr, CRegAutoStartupItemMan::getSingletonPtr());
    {
        // A local instance made while none is shared fills the slot for its lifetime only.
        CRegAutoStartupItemMan local;
        EXPECT_EQ(&local, CRegAutoStartupItemMan::getSingletonPtr());
        EXPECT_TRUE(reg::initializeTessik());
        EXPECT_NE(&local, CRegAutoStartupItemMan::getSingletonPtr());
    }
    CRegAutoStartupItemMan* shared = CRegAutoStartupItemMan::getSingletonPtr();
    ASSERT_NE(nullptr, shared);  // the program sees the pointer the library set
    EXPECT_TRUE(reg::initializeTessik());
    EXPECT_EQ(shared, CRegAutoStartupItemMan::getSingletonPtr());
    {
        CRegAutoStartupItemMan local;
        EXPECT_EQ(shared, &CRegAutoStartupItemMan::getSingleton());
    }
    EXPECT_EQ(shared, CRegAutoStartupItemMan::getSingletonPtr());
    EXPECT_TRUE(reg::isTessikInitialized());

    reg::uninitializeTessik();
    EXPECT_FALSE(reg::isTessikInitialized());
    EXPECT_EQ(nullptr, CRegAutoStartupItemMan::getSingletonPtr());
    reg::uninitializeTessik();  // twice is harmless
}

}  // namespace
