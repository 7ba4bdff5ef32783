// The shipped dictionary files: every IDS_ key that the program's code names (listed at build time from all of
// app/) has a text in every language, and each language folder loads cleanly.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Dictionary.h"
#include "Language.h"
#include "QTestSupport.h"

namespace {

std::vector<std::wstring> KeysUsedByTheProgram()
{
    std::string path;
    for (wchar_t c : shell_test::ProgramFolder() + L"testdata\\app_ids_keys.txt") path.push_back(static_cast<char>(c));
    std::ifstream in(path);
    std::vector<std::wstring> keys;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) keys.emplace_back(line.begin(), line.end());
    return keys;
}

TEST(DictionaryFiles, EveryLanguageHasATextForEveryKeyTheCodeUses)
{
    std::vector<std::wstring> keys = KeysUsedByTheProgram();
    ASSERT_GE(keys.size(), 38u) << "the key list of the build is missing or short";
    for (int i = 0; i < Shell::kLanguageCount; ++i) {
        std::wstring folder = shell_test::ProgramFolder() + L"dic\\" + Shell::kLanguageFolders[i];
        ASSERT_EQ(0, nsVendrel::LoadDictionarys(folder.c_str()))
            << "cannot load " << std::string(folder.begin(), folder.end());
        std::vector<std::wstring> missing;
        for (const std::wstring& key : keys) {
            CString text = nsVendrel::TranslateCode(key.c_str());
            if (text == key.c_str() || text.IsEmpty()) missing.push_back(key);
        }
        std::string list;
        for (const std::wstring& key : missing) list += std::string(key.begin(), key.end()) + " ";
        EXPECT_TRUE(missing.empty()) << "dic\\" << std::string(folder.end() - 3, folder.end() - 1) << " lacks " << list;
    }
}

TEST(DictionaryFiles, AreUtf16WithBomAndCrLfEndingInAnEmptyLine)
{
    std::wstring path = shell_test::ProgramFolder() + L"dic\\de\\shell.ini";
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    std::wstring content(::GetFileSize(h, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ::ReadFile(h, &content[0], static_cast<DWORD>(content.size() * sizeof(wchar_t)), &read, nullptr);
    ::CloseHandle(h);
    ASSERT_GT(content.size(), 4u);
    EXPECT_EQ(L'\xFEFF', content[0]);
    EXPECT_EQ(L"\r\n\r\n", content.substr(content.size() - 4));
    for (size_t i = 1; i < content.size(); ++i)
        ASSERT_FALSE(content[i] == L'\n' && content[i - 1] != L'\r') << "a line end without CR at " << i;
    EXPECT_NE(std::wstring::npos, content.find(L"1=Hilfe\r\n"));
}

}  // namespace
