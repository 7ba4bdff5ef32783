// The Winsock catalog as the prefix's registry holds it, the reading of a catalog entry's bytes, and the reset
// through a stand-in netsh.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <Moravin/WinsockRepaire.h>

#include <atomic>
#include <string>
#include <vector>

#include "PackedCatalogItem.h"
#include "QRegistryFixtures.h"
#include "QStubPrograms.h"

#include <QGuards.h>
#include <QProcess.h>
#include <QWorker.h>

using Moravin::CWinsockRepaire;
using Moravin::ParsePackedCatalogItem;
using namespace shell_test;

namespace {

const size_t kItemSize = 888;  // the provider path (260 bytes) and a WSAPROTOCOL_INFOW (628 bytes)
static_assert(sizeof(WSAPROTOCOL_INFOW) == 628, "the record read after the path");

// A catalog entry's value: the ANSI path at 0 and the UTF-16 protocol name at 376.
std::vector<BYTE> PackedItem(const std::string& path, const std::wstring& protocol, size_t size = kItemSize)
{
    std::vector<BYTE> bytes(size, 0);
    for (size_t i = 0; i < path.size() && i < size; ++i) bytes[i] = static_cast<BYTE>(path[i]);
    for (size_t i = 0; i < protocol.size(); ++i) {
        const size_t at = Moravin::kProtocolNameOffset + 2 * i;
        if (at + 1 >= size) break;
        bytes[at] = static_cast<BYTE>(protocol[i] & 0xFF);
        bytes[at + 1] = static_cast<BYTE>(protocol[i] >> 8);
    }
    return bytes;
}

std::wstring EntryPath(const std::wstring& name) { return std::wstring(CWinsockRepaire::kCatalogKey) + L"\\" + name; }

}  // namespace

// The bytes of one entry, including values too short, unterminated or larger than the fields they hold.
TEST(WinsockCatalog, EntryBytesAreReadWithinTheValueAndTheirFields)
{
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        std::wstring provider;
        std::wstring protocol;
    };
    const std::wstring longName(300, L'p');
    std::vector<Case> cases = {
        {"ordinary", PackedItem("%SystemRoot%\\system32\\mswsock.dll", L"MSAFD Tcpip [TCP/IP]"),
         L"%SystemRoot%\\system32\\mswsock.dll", L"MSAFD Tcpip [TCP/IP]"},
        {"ANSI path, non-ASCII protocol",
         PackedItem("C:\\Programme\\\xE9t\xE9.dll", L"Prot\u00F6kol \u041F\u0440\u043E"),
         L"C:\\Programme\\\u00E9t\u00E9.dll", L"Prot\u00F6kol \u041F\u0440\u043E"},
        {"path without terminator", PackedItem(std::string(300, 'a'), L"x"), std::wstring(260, L'a'), L"x"},
        {"protocol without terminator", PackedItem("p.dll", longName), L"p.dll", std::wstring(256, L'p')},
        {"too short for a protocol", PackedItem("short.dll", L"", 100), L"short.dll", L""},
        {"ends inside the protocol", PackedItem("a.dll", L"abcdef", 376 + 7), L"a.dll", L"abc"},
        {"empty", {}, L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Moravin::CatalogItemText text = ParsePackedCatalogItem(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(c.provider, text.providerPath);
        EXPECT_EQ(c.protocol, text.protocolName);
    }
}

// The prefix's catalog (empty in a new prefix) seeded with well-formed and broken entries: one row each, in the
// order the registry lists them, appended to what the list held.
TEST(WinsockCatalog, ListsEveryEntryOfThePrefixCatalog)
{
    const std::vector<BYTE> tcp = PackedItem("%SystemRoot%\\system32\\mswsock.dll", L"MSAFD Tcpip [TCP/IP]");
    const std::vector<BYTE> udp = PackedItem("%SystemRoot%\\system32\\mswsock.dll", L"MSAFD Tcpip [UDP/IP]");
    const std::vector<BYTE> tooLarge = PackedItem("big.dll", L"Big", 2100);
    const std::vector<BYTE> tooSmall = PackedItem("small.dll", L"", 100);
    ASSERT_TRUE(SeedValue(HKEY_LOCAL_MACHINE, EntryPath(L"000000000001"), L"PackedCatalogItem", REG_BINARY, tcp.data(),
                          DWORD(tcp.size())));
    ASSERT_TRUE(SeedValue(HKEY_LOCAL_MACHINE, EntryPath(L"000000000002"), L"PackedCatalogItem", REG_BINARY, udp.data(),
                          DWORD(udp.size())));
    ASSERT_TRUE(SeedString(HKEY_LOCAL_MACHINE, EntryPath(L"000000000003"), L"PackedCatalogItem", L"not binary"));
    ASSERT_TRUE(SeedValue(HKEY_LOCAL_MACHINE, EntryPath(L"000000000004"), L"PackedCatalogItem", REG_BINARY,
                          tooLarge.data(), DWORD(tooLarge.size())));
    ASSERT_TRUE(SeedValue(HKEY_LOCAL_MACHINE, EntryPath(L"000000000005"), L"PackedCatalogItem", REG_BINARY,
                          tooSmall.data(), DWORD(tooSmall.size())));
    ASSERT_TRUE(SeedDword(HKEY_LOCAL_MACHINE, EntryPath(L"000000000006"), L"Other", 1));  // no PackedCatalogItem

    // The order the registry itself lists the entries in.
    std::vector<std::wstring> order;
    HKEY catalog = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, CWinsockRepaire::kCatalogKey, 0, KEY_READ, &catalog));
    wchar_t name[256];
    for (DWORD i = 0, length = 256;
         RegEnumKeyExW(catalog, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = 256)
        order.push_back(name);
    RegCloseKey(catalog);
    ASSERT_EQ(6u, order.size());

    struct Row {
        std::wstring provider, protocol;
    };
    const std::vector<std::pair<std::wstring, Row>> expected = {
        {L"000000000001", {L"%SystemRoot%\\system32\\mswsock.dll", L"MSAFD Tcpip [TCP/IP]"}},
        {L"000000000002", {L"%SystemRoot%\\system32\\mswsock.dll", L"MSAFD Tcpip [UDP/IP]"}},
        {L"000000000003", {L"", L""}},
        {L"000000000004", {L"", L""}},
        {L"000000000005", {L"small.dll", L""}},
        {L"000000000006", {L"", L""}},
    };

    CWinsockRepaire winsock;
    std::vector<CWinsockRepaire::WinsockItem> items(1);
    items[0].entryKey = L"kept";
    ASSERT_TRUE(winsock.GetAllWinsockItems(items));
    ASSERT_EQ(7u, items.size());
    EXPECT_EQ(L"kept", items[0].entryKey);
    for (size_t i = 0; i < order.size(); ++i) {
        const CWinsockRepaire::WinsockItem& item = items[i + 1];
        SCOPED_TRACE(testing::Message() << "row " << i);
        EXPECT_EQ(order[i], item.entryKey);
        for (const auto& e : expected)
            if (e.first == item.entryKey) {
                EXPECT_EQ(e.second.provider, item.providerPath);
                EXPECT_EQ(e.second.protocol, item.protocolName);
            }
    }
    RemoveKey(HKEY_LOCAL_MACHINE, CWinsockRepaire::kCatalogKey);
    std::vector<CWinsockRepaire::WinsockItem> none;
    EXPECT_TRUE(winsock.GetAllWinsockItems(none));
    EXPECT_TRUE(none.empty());
}

// The reset runs the system folder's netsh, by full path, and reports what it returned.
TEST(WinsockCatalog, ResetRunsNetshAndReportsItsExitCode)
{
    StubProgram netsh(L"netsh");
    ASSERT_TRUE(netsh.ok());
    CWinsockRepaire winsock;

    EXPECT_TRUE(winsock.RepaireWinsock());
    netsh.SetExitCode(1);
    EXPECT_FALSE(winsock.RepaireWinsock());
    const std::wstring expected = L"\"" + SystemFolder() + L"\\netsh.exe\" winsock reset";
    EXPECT_EQ(std::vector<std::wstring>({expected, expected}), netsh.Calls());
}

// Closing the program during a reset ends the hanging netsh at once instead of leaving it to run for minutes.
TEST(WinsockCatalog, AResetStillRunningWhenTheProgramClosesEndsAtOnce)
{
    StubProgram netsh(L"netsh");
    ASSERT_TRUE(netsh.ok());
    netsh.SetDelay(60000);
    CWinsockRepaire winsock;
    // The program closes once netsh is running (it has recorded its call): a busy machine may take a while to
    // start it, and a close before that would stop the reset before it began.
    std::atomic<DWORD> signalled{0};
    qcore::UniqueHandle closer(qcore::StartThread([&] {
        for (int i = 0; i < 3000 && netsh.Calls().empty(); ++i) ::Sleep(10);
        signalled = ::GetTickCount();
        qcore::SignalShutdown();
    }));
    ASSERT_TRUE(closer);
    EXPECT_FALSE(winsock.RepaireWinsock());
    const DWORD ended = ::GetTickCount();
    ::WaitForSingleObject(closer.Get(), INFINITE);
    ::ResetEvent(qcore::ShutdownEvent());
    EXPECT_LT(ended - signalled.load(), 5000u);
    EXPECT_EQ(1u, netsh.Calls().size());
}
