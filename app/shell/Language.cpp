#include "Language.h"

#include <wchar.h>

namespace Shell {

const wchar_t* const kLanguageFolders[kLanguageCount] = {
    L"en\\", L"de\\", L"es\\", L"fr\\", L"it\\", L"jp\\", L"cn\\", L"hk\\", L"ar\\", L"nl\\", L"pt\\",
};

LanguageChoice ChooseLanguage(const std::wstring& lang)
{
    if (lang.empty())
        return {kLanguageFolders[0], 0};
    for (int i = 0; i < kLanguageCount; ++i) {
        if (lang == std::to_wstring(i + 1))
            return {kLanguageFolders[i], i};
    }
    return {kLanguageFolders[0], 0};
}

bool IsBootCommandLine(const wchar_t* commandLine)
{
    return commandLine != nullptr && wcsstr(commandLine, L"--boot") != nullptr;
}

} // namespace Shell
