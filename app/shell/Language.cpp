#include "Language.h"

#include <windows.h>
#include <shellapi.h>

#include <wchar.h>

namespace Shell {

const wchar_t* const kLanguageFolders[kLanguageCount] = {
    L"en\\", L"de\\", L"es\\", L"fr\\", L"it\\", L"jp\\", L"cn\\", L"hk\\", L"ar\\", L"nl\\", L"pt\\",
};

LanguageChoice ChooseLanguage(const std::wstring& lang)
{
    if (lang.empty()) return {kLanguageFolders[0], 0};
    for (int i = 0; i < kLanguageCount; ++i) {
        if (lang == std::to_wstring(i + 1)) return {kLanguageFolders[i], i};
    }
    return {kLanguageFolders[0], 0};
}

bool IsBootCommandLine(const wchar_t* commandLine)
{
    // An empty line would make the splitter report this process's own path as the program.
    if (commandLine == nullptr || *commandLine == 0) return false;
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(commandLine, &count);
    if (args == nullptr) return false;
    bool boot = false;
    for (int i = 1; i < count && !boot; ++i) boot = wcscmp(args[i], L"--boot") == 0;
    ::LocalFree(args);
    return boot;
}

}  // namespace Shell
