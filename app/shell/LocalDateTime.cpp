#include "LocalDateTime.h"

#include "Language.h"

namespace Shell {

namespace {
// In `Lang` order: en de es fr it jp cn hk ar nl pt. Arabic follows Egypt, whose calendar is the Gregorian one
// the rest of the program counts in.
const LCID kLocales[kLanguageCount] = {0x0409, 0x0407, 0x0C0A, 0x040C, 0x0410, 0x0411,
                                       0x0804, 0x0C04, 0x0C01, 0x0413, 0x0416};
}  // namespace

LCID LanguageLocale(int languageIndex)
{
    return languageIndex >= 0 && languageIndex < kLanguageCount ? kLocales[languageIndex] : kLocales[0];
}

std::wstring FormatDateTime(const std::tm& local, int languageIndex)
{
    SYSTEMTIME st = {};
    st.wYear = WORD(local.tm_year + 1900);
    st.wMonth = WORD(local.tm_mon + 1);
    st.wDay = WORD(local.tm_mday);
    st.wDayOfWeek = WORD(local.tm_wday);
    st.wHour = WORD(local.tm_hour);
    st.wMinute = WORD(local.tm_min);
    st.wSecond = WORD(local.tm_sec);
    LCID locale = LanguageLocale(languageIndex);
    wchar_t date[128] = L"", time[64] = L"";
    if (!::GetDateFormatW(locale, DATE_SHORTDATE, &st, nullptr, date, 128)) date[0] = 0;
    if (!::GetTimeFormatW(locale, 0, &st, nullptr, time, 64)) time[0] = 0;
    std::wstring text = date;
    if (*date && *time) text += L" ";
    return text + time;
}

}  // namespace Shell
