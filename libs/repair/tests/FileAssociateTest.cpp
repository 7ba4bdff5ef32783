// The fourteen file associations, seeded healthy and damaged in the prefix's HKEY_CLASSES_ROOT.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <Moravin/FileAssociateRepaire.h>

#include <climits>
#include <string>
#include <vector>

#include "AssocTable.h"

using Moravin::CFileAssociateRepaire;
using Item = CFileAssociateRepaire::FileAssocItem;

namespace {

// The rows as a clean system has them. The tests seed, damage and repair through the library's own table and
// check what the library reports and writes, so a change of the table shows as a change of behaviour here.
const Moravin::AssocRow (&kClean)[14] = Moravin::kAssocRows;

struct Stored {
    bool present = false;
    DWORD type = 0;
    std::wstring text;
    bool operator==(const Stored& o) const { return present == o.present && type == o.type && text == o.text; }
};

void Seed(const wchar_t* key, DWORD type, const std::wstring& text)
{
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(h, L"", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
    RegCloseKey(h);
}

void Remove(const wchar_t* key)
{
    LONG r = RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
    ASSERT_TRUE(r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND) << r;
}

// The default value exactly as stored (type and unexpanded text).
Stored Read(const wchar_t* key)
{
    Stored s;
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return s;
    wchar_t buffer[512] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (RegQueryValueExW(h, L"", nullptr, &s.type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
        s.present = true;
        s.text.assign(buffer, size / sizeof(wchar_t));
        while (!s.text.empty() && s.text.back() == 0) s.text.pop_back();
    }
    RegCloseKey(h);
    return s;
}

std::vector<Stored> ReadAll()
{
    std::vector<Stored> all;
    for (const auto& row : kClean) all.push_back(Read(row.key));
    return all;
}

std::vector<Item> Check()
{
    CFileAssociateRepaire repair;
    std::vector<Item> items;
    EXPECT_TRUE(repair.GetAllAssociateStatus(items));
    EXPECT_EQ(14u, items.size());
    return items;
}

std::wstring WindowsFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    GetWindowsDirectoryW(buffer, MAX_PATH);
    return buffer;
}

std::wstring Upper(std::wstring s)
{
    for (wchar_t& c : s) c = towupper(c);
    return s;
}

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s) c = towlower(c);
    return s;
}

// The command with the Windows folder written in place of %SystemRoot%; empty when it has none.
std::wstring Expanded(const std::wstring& command)
{
    size_t at = command.find(L"%SystemRoot%");
    if (at == std::wstring::npos) return L"";
    return command.substr(0, at) + WindowsFolder() + command.substr(at + 12);
}

}  // namespace

TEST(FileAssociations, RowsComeInTableOrderAndAreAppended)
{
    for (const auto& row : kClean) Seed(row.key, REG_SZ, row.expectedCommand);
    CFileAssociateRepaire repair;
    std::vector<Item> items(1);
    items[0].extension = L".keep";
    ASSERT_TRUE(repair.GetAllAssociateStatus(items));
    ASSERT_TRUE(repair.GetAllAssociateStatus(items));

    ASSERT_EQ(29u, items.size());
    EXPECT_EQ(L".keep", items[0].extension);
    for (size_t i = 1; i < items.size(); ++i) {
        const auto& row = kClean[(i - 1) % 14];
        SCOPED_TRACE(testing::Message() << "item " << i << " " << row.extension);
        EXPECT_EQ(row.extension, items[i].extension);
        EXPECT_EQ(row.expectedCommand, items[i].expectedCommand);
        EXPECT_EQ(row.expectedCommand, items[i].currentValue);
        EXPECT_EQ(std::wstring(L"use to open ") + row.extension, items[i].description);
        EXPECT_FALSE(items[i].status);
    }
}

// Every row against the stored forms a system can have: exact, other letter case, the Windows folder written out
// (accepted in any case only for the %SystemRoot% rows), REG_EXPAND_SZ, missing key or value, stray quotes, blanks.
TEST(FileAssociations, EachRowIsJudgedByItsStoredCommand)
{
    for (int row = 0; row < 14; ++row) {
        const std::wstring command = kClean[row].expectedCommand;
        const bool hasRoot = !Expanded(command).empty();
        struct Case {
            const char* name;
            DWORD type;  // 0: key removed
            std::wstring stored;
            std::wstring readBack;
            bool error;
        };
        std::vector<Case> cases = {
            {"exact", REG_SZ, command, command, false},
            {"stray quotes", REG_SZ, L"\"" + command + L"\"", L"\"" + command + L"\"", true},
            {"trailing blank", REG_SZ, command + L" ", command + L" ", true},
            {"empty", REG_SZ, L"", L"", true},
            {"missing key", 0, L"", L"", true},
            {"expandable", REG_EXPAND_SZ, command, hasRoot ? Expanded(command) : command, false},
        };
        if (Upper(command) != command) cases.push_back({"upper case", REG_SZ, Upper(command), Upper(command), true});
        if (Lower(command) != command) cases.push_back({"lower case", REG_SZ, Lower(command), Lower(command), true});
        if (hasRoot) {
            cases.push_back({"folder written out", REG_SZ, Expanded(command), Expanded(command), false});
            cases.push_back(
                {"folder written out, upper", REG_SZ, Upper(Expanded(command)), Upper(Expanded(command)), false});
            cases.push_back(
                {"folder written out, lower", REG_SZ, Lower(Expanded(command)), Lower(Expanded(command)), false});
            cases.push_back({"another folder", REG_SZ, L"D:\\Other" + command.substr(command.find(L'%') + 12),
                             L"D:\\Other" + command.substr(command.find(L'%') + 12), true});
        }
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "row " << row << " (" << kClean[row].extension << "), " << c.name);
            if (c.type == 0)
                Remove(kClean[row].key);
            else
                Seed(kClean[row].key, c.type, c.stored);
            std::vector<Item> items = Check();
            EXPECT_EQ(c.error, items[row].status);
            EXPECT_EQ(c.readBack, items[row].currentValue);
        }
    }
}

// Repair writes the expected command; the re-check then finds the row normal. A new value is REG_SZ, an existing
// REG_EXPAND_SZ keeps its type. Other rows are left alone.
TEST(FileAssociations, RepairMakesADamagedRowNormal)
{
    CFileAssociateRepaire repair;
    for (int row = 0; row < 14; ++row) {
        const wchar_t* key = kClean[row].key;
        struct Damage {
            const char* name;
            DWORD type;  // 0: key removed
            DWORD typeAfter;
        } damages[] = {{"missing key", 0, REG_SZ},
                       {"wrong text", REG_SZ, REG_SZ},
                       {"wrong expandable text", REG_EXPAND_SZ, REG_EXPAND_SZ}};
        for (const Damage& d : damages) {
            SCOPED_TRACE(testing::Message() << "row " << row << " (" << kClean[row].extension << "), " << d.name);
            if (d.type == 0)
                Remove(key);
            else
                Seed(key, d.type, L"C:\\broken\\thing.exe %1");
            std::vector<Stored> before = ReadAll();
            ASSERT_TRUE(Check()[row].status);

            EXPECT_TRUE(repair.RepaireFileAssociate(row));

            std::vector<Stored> after = ReadAll();
            EXPECT_TRUE(after[row].present);
            EXPECT_EQ(d.typeAfter, after[row].type);
            EXPECT_EQ(kClean[row].expectedCommand, after[row].text);
            for (int other = 0; other < 14; ++other)
                EXPECT_TRUE(other == row || before[other] == after[other]) << "row " << other << " changed";
            EXPECT_FALSE(Check()[row].status);
        }
    }
}

TEST(FileAssociations, RowNumbersOutOfRangeWriteNothing)
{
    for (const auto& row : kClean) Remove(row.key);
    std::vector<Stored> before = ReadAll();
    CFileAssociateRepaire repair;
    for (int row : {-1, 14, 15, 1000, INT_MIN, INT_MAX}) EXPECT_FALSE(repair.RepaireFileAssociate(row)) << row;
    EXPECT_TRUE(before == ReadAll());
}

// A write the registry refuses is reported as a failure, and the row stays broken.
TEST(FileAssociations, RefusedWriteIsReportedAsFailure)
{
    const int row = 12;  // .txt
    const wchar_t* key = kClean[row].key;
    Seed(key, REG_SZ, L"C:\\broken\\viewer.exe %1");
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, READ_CONTROL | WRITE_DAC, &h));
    auto setDacl = [&](const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd));
        LocalFree(sd);
    };
    setDacl(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)");  // everyone: no KEY_SET_VALUE
    HKEY probe = nullptr;
    LONG probeResult = RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_SET_VALUE, &probe);
    if (probe) RegCloseKey(probe);

    CFileAssociateRepaire repair;
    bool repaired = repair.RepaireFileAssociate(row);
    bool stillBroken = Check()[row].status;
    setDacl(L"D:(A;;KA;;;WD)");
    RegCloseKey(h);

    if (probeResult == ERROR_SUCCESS) GTEST_SKIP() << "the registry did not enforce the denying access list";
    EXPECT_FALSE(repaired);
    EXPECT_TRUE(stillBroken);
    EXPECT_EQ(L"C:\\broken\\viewer.exe %1", Read(key).text);
}

// The comparison rule on its own, for forms a registry write cannot show (no Windows folder known).
TEST(FileAssociations, ComparisonRuleWithoutAWindowsFolder)
{
    const std::wstring command = L"%SystemRoot%\\System32\\notepad.exe %1";
    EXPECT_TRUE(Moravin::IsAssocValueNormal(command, command, L""));
    EXPECT_FALSE(Moravin::IsAssocValueNormal(L"\\System32\\notepad.exe %1", command, L""));
    EXPECT_TRUE(Moravin::IsAssocValueNormal(L"c:\\winnt\\SYSTEM32\\notepad.exe %1", command, L"C:\\WINNT"));
    EXPECT_FALSE(Moravin::IsAssocValueNormal(L"", command, L"C:\\WINNT"));
    EXPECT_TRUE(Moravin::IsAssocValueNormal(L"\"c:\\winnt\\HH.exe\" %1", L"\"%SystemRoot%\\hh.exe\" %1", L"C:\\WINNT"));
    EXPECT_FALSE(Moravin::IsAssocValueNormal(L"C:\\WINNT\\hh.exe\" %1", L"\"%SystemRoot%\\hh.exe\" %1", L"C:\\WINNT"));
}
