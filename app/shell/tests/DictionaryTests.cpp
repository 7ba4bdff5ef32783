// The dictionary built from files in a scratch folder: loading order, main identifiers, verification, the
// error prompts (answered as a user would) and Add.
#include <gtest/gtest.h>

#include "Dictionary.h"
#include "QTestSupport.h"

using nsVendrel::CRBDictionary;
using shell_test::MessageBoxDriver;

namespace {

// Exposes the protected members the tests need.
class TestDictionary : public CRBDictionary {
public:
    using CRBDictionary::CRBDictionary;
    using CRBDictionary::GetOneSection;
    bool HasFile(ULONG id) const { return m_files.Lookup(id) != nullptr; }
};

std::wstring File(ULONG mainId, const std::wstring& sections)
{
    return L"[DICTIONARY_MAINID]\r\nMAINID=" + std::to_wstring(mainId) + L"\r\n\r\n" + sections;
}

class DictionaryFolder : public ::testing::Test {
protected:
    void SetUp() override { m_folder = shell_test::MakeScratchFolder(L"dic"); }
    void TearDown() override { shell_test::RemoveTree(m_folder); }
    void Write(const wchar_t* name, const std::wstring& text, bool bom = true)
    {
        shell_test::WriteUtf16(m_folder + name, text, bom);
    }
    std::wstring m_folder;
};

TEST_F(DictionaryFolder, TheFirstFileWithAMainIdWinsAndLaterOnesAddNothing)
{
    Write(L"a.ini", File(1, L"[IDS_A]\r\n1=from a\r\n\r\n"));
    Write(L"b.ini", File(1, L"[IDS_A]\r\n1=from b\r\n[IDS_B]\r\n1=only b\r\n\r\n"));
    CRBDictionary dic(m_folder.c_str(), 0);
    EXPECT_EQ(CString(L"from a"), dic.Translate(L"IDS_A", 1, 0));
    EXPECT_EQ(CString(L"IDS_B"), dic.Translate(L"IDS_B", 1, 1));
    EXPECT_EQ(CString((m_folder + L"a.ini").c_str()), dic.GetDicFileName(1));
    EXPECT_EQ(0, dic.VerifyDictionary());
}

TEST_F(DictionaryFolder, SearchAllWalksBucketsAscendingAndTheNewestFirstInABucket)
{
    // Ids 1 and 2 share bucket 0: the later loaded (b, id 2) is met first.
    // Id 16 is in bucket 1, after both, although it was loaded first.
    Write(L"a.ini", File(1, L"[IDS_SAME_BUCKET]\r\n1=one\r\n[IDS_NEXT_BUCKET]\r\n1=one\r\n\r\n"));
    Write(L"b.ini", File(2, L"[IDS_SAME_BUCKET]\r\n1=two\r\n\r\n"));
    Write(L"0.ini", File(16, L"[IDS_NEXT_BUCKET]\r\n1=sixteen\r\n[IDS_ONLY16]\r\n1=sixteen\r\n\r\n"));
    CRBDictionary dic(m_folder.c_str(), 0);
    EXPECT_EQ(CString(L"two"), dic.Translate(L"IDS_SAME_BUCKET", 0, 1));
    EXPECT_EQ(CString(L"one"), dic.Translate(L"IDS_NEXT_BUCKET", 0, 1));
    EXPECT_EQ(CString(L"sixteen"), dic.Translate(L"IDS_ONLY16", 0, 1));
    // Without search-all only the named file counts; the id plays no part with it.
    EXPECT_EQ(CString(L"one"), dic.Translate(L"IDS_SAME_BUCKET", 1, 0));
    EXPECT_EQ(CString(L"IDS_ONLY16"), dic.Translate(L"IDS_ONLY16", 1, 0));
    EXPECT_EQ(CString(L"IDS_ONLY16"), dic.Translate(L"IDS_ONLY16", 3, 0));
    EXPECT_EQ(CString(L"sixteen"), dic.Translate(L"IDS_ONLY16", 3, 1));
}

TEST_F(DictionaryFolder, FilesWithoutAMainIdOrWithoutBomLoadUnderMinusOne)
{
    Write(L"nomain.ini", L"[IDS_X]\r\n1=x\r\n\r\n");
    CRBDictionary dic(m_folder.c_str(), 0);
    TestDictionary probe(m_folder.c_str(), 0);
    EXPECT_TRUE(probe.HasFile(0xFFFFFFFFul));
    EXPECT_EQ(CString(L"x"), dic.Translate(L"IDS_X", 0xFFFFFFFFul, 0));

    shell_test::RemoveTree(m_folder);
    m_folder = shell_test::MakeScratchFolder(L"dic");
    Write(L"nobom.ini", File(7, L"[IDS_Y]\r\n1=y\r\n\r\n"), false);
    TestDictionary noBom(m_folder.c_str(), 0);
    EXPECT_FALSE(noBom.HasFile(7));
    EXPECT_TRUE(noBom.HasFile(0xFFFFFFFFul));
}

TEST_F(DictionaryFolder, UnknownAndEmptyKeysComeBackUnchanged)
{
    Write(L"a.ini", File(1, L"[IDS_A]\r\n1=Alpha\r\n\r\n"));
    CRBDictionary dic(m_folder.c_str(), 0);
    EXPECT_EQ(CString(L"IDS_UNKNOWN"), dic.Translate(L"IDS_UNKNOWN", 0, 1));
    EXPECT_EQ(CString(L""), dic.Translate(L"", 0, 1));
    EXPECT_EQ(CString(L"ids_a"), dic.Translate(L"ids_a", 0, 1));
}

TEST_F(DictionaryFolder, VerifyReportsTheStateOfTheLoadedFiles)
{
    MessageBoxDriver boxes;
    // -1: an empty folder (and the "no file" message); the folder path may end with backslashes.
    {
        CRBDictionary dic((m_folder + L"\\\\").c_str(), 0);
        EXPECT_EQ(-1, dic.VerifyDictionary());
    }
    // -2: a file that holds no text.
    Write(L"a.ini", File(1, L"[IDS_A]\r\n1=Alpha\r\n\r\n"));
    Write(L"b.ini", File(2, L""));
    {
        CRBDictionary dic(m_folder.c_str(), 0);
        EXPECT_EQ(-2, dic.VerifyDictionary());
    }
    ::DeleteFileW((m_folder + L"b.ini").c_str());
    // 0 for a folder of good files, -3 for the same file loaded on its own.
    {
        CRBDictionary folder(m_folder.c_str(), 0);
        EXPECT_EQ(0, folder.VerifyDictionary());
        CRBDictionary single((m_folder + L"a.ini").c_str(), 1);
        EXPECT_EQ(-3, single.VerifyDictionary());
        EXPECT_EQ(CString(L"Alpha"), single.Translate(L"IDS_A", 1, 0));
    }
    std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(L"没有找到字典文件", texts[0]);
}

TEST_F(DictionaryFolder, AMissingFolderOrFileGivesAnEmptyDictionaryAndAMessage)
{
    MessageBoxDriver boxes;
    CRBDictionary missing((m_folder + L"absent").c_str(), 0);
    EXPECT_EQ(-1, missing.VerifyDictionary());
    EXPECT_EQ(CString(L"IDS_A"), missing.Translate(L"IDS_A", 0, 1));
    CRBDictionary missingFile((m_folder + L"absent.ini").c_str(), 1);
    EXPECT_EQ(-1, missingFile.VerifyDictionary());
    std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(L"初始化字典目录失败！", texts[0]);
    EXPECT_EQ(L"没有找到字典文件", texts[1]);
}

TEST_F(DictionaryFolder, AFileThatFailsToLoadAsksWhetherToGoOn)
{
    // The listed name " lead.ini" is trimmed to "lead.ini", which does not exist: that load fails.
    Write(L" lead.ini", File(1, L"[IDS_A]\r\n1=Alpha\r\n\r\n"));
    Write(L"later.ini", File(2, L"[IDS_B]\r\n1=Beta\r\n\r\n"));
    {
        MessageBoxDriver yes(IDYES);
        CRBDictionary dic(m_folder.c_str(), 0);
        EXPECT_EQ(CString(L"Beta"), dic.Translate(L"IDS_B", 0, 1));
        std::vector<std::wstring> texts = yes.Texts();
        ASSERT_EQ(1u, texts.size());
        EXPECT_EQ(L"加载字典lead.ini出现错误,是否继续？", texts[0]);
    }
    {
        MessageBoxDriver no(IDNO);
        CRBDictionary dic(m_folder.c_str(), 0);
        EXPECT_EQ(-1, dic.VerifyDictionary());  // "No" empties the dictionary
        EXPECT_EQ(CString(L"IDS_B"), dic.Translate(L"IDS_B", 0, 1));
    }
}

TEST_F(DictionaryFolder, AddWritesIntoTheFileOfTheIdAndKeepsTheTextInMemory)
{
    Write(L"a.ini", File(1, L"[IDS_A]\r\n1=Alpha\r\n\r\n"));
    {
        CRBDictionary dic(m_folder.c_str(), 0);
        EXPECT_EQ(0, dic.Add(L"IDS_NEW", L"Neu ü", 1));
        EXPECT_EQ(CString(L"Neu ü"), dic.Translate(L"IDS_NEW", 1, 0));
        EXPECT_EQ(-1, dic.Add(L"IDS_OTHER", L"x", 5));
        EXPECT_EQ(CString(L"IDS_OTHER"), dic.Translate(L"IDS_OTHER", 0, 1));
    }
    // A new dictionary reads the added text back from the (still UTF-16) file.
    CRBDictionary reread(m_folder.c_str(), 0);
    EXPECT_EQ(CString(L"Neu ü"), reread.Translate(L"IDS_NEW", 1, 0));
    EXPECT_EQ(CString(L"Alpha"), reread.Translate(L"IDS_A", 1, 0));
}

TEST_F(DictionaryFolder, LoadDictionarysReplacesTheProcessDictionaryAndResolvesRelativeFolders)
{
    Write(L"a.ini", File(1, L"[IDS_A]\r\n1=Alpha\r\n\r\n"));
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    std::wstring parent = m_folder.substr(0, m_folder.size() - 1);
    std::wstring leaf = parent.substr(parent.find_last_of(L'\\') + 1);
    parent = parent.substr(0, parent.find_last_of(L'\\'));
    ::SetCurrentDirectoryW(parent.c_str());
    EXPECT_EQ(0, nsVendrel::LoadDictionarys(leaf.c_str()));
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(CString(L"Alpha"), nsVendrel::TranslateCode(L"IDS_A"));

    MessageBoxDriver boxes;
    EXPECT_EQ(-1, nsVendrel::LoadDictionarys(L"x"));  // one character: relative, and missing
    EXPECT_EQ(CString(L"IDS_A"), nsVendrel::TranslateCode(L"IDS_A"));
}

TEST(DictionarySection, GetOneSectionReadsOneSectionFromZeroTerminatedLines)
{
    std::wstring buffer = std::wstring(L"[IDS_A]") + L'\0' + L";comment=no" + L'\0' + L" Name = the value " + L'\0' +
                          L"other=x" + L'\0' + L"[IDS_B]" + L'\0' + L"name=b" + L'\0';
    MessageBoxDriver boxes;
    TestDictionary dic(L"Q:\\absent_folder", 0);
    BYTE* begin = reinterpret_cast<BYTE*>(&buffer[0]);
    BYTE* end = reinterpret_cast<BYTE*>(&buffer[0] + buffer.size());
    CString section, key = L"name", value;
    BYTE* next = dic.GetOneSection(begin, end, section, key, value);
    EXPECT_EQ(CString(L"IDS_A"), section);
    EXPECT_EQ(CString(L"the value"), value);
    EXPECT_EQ(L'[', *reinterpret_cast<wchar_t*>(next));
    next = dic.GetOneSection(next, end, section, key, value);
    EXPECT_EQ(CString(L"IDS_B"), section);
    EXPECT_EQ(CString(L"b"), value);
    EXPECT_EQ(end, next);
    std::wstring empty(1, L'\0');
    BYTE* e = reinterpret_cast<BYTE*>(&empty[0]);
    EXPECT_EQ(e + sizeof(wchar_t), dic.GetOneSection(e, e + sizeof(wchar_t), section, key, value));
}

}  // namespace
