#include "LanguageSwitch.h"

#include <algorithm>

#include <QGuards.h>
#include <commctrl.h>

#include "CaptionKeys.h"
#include "Dictionary.h"
#include "Language.h"
#include "Settings.h"

namespace Shell {

namespace {

const wchar_t* const kLanguageNameKeys[kLanguageCount] = {
    L"IDS_OPTION_LANGUANGE_ENGLISH",         L"IDS_OPTION_LANGUANGE_GERMAN",
    L"IDS_OPTION_LANGUANGE_SPANISH",         L"IDS_OPTION_LANGUANGE_FRENCH",
    L"IDS_OPTION_LANGUANGE_ITALIAN",         L"IDS_OPTION_LANGUANGE_JAPANESE",
    L"IDS_OPTION_LANGUANGE_CHINESESIMPLIFY", L"IDS_OPTION_LANGUANGE_CHINESETRANDITION",
    L"IDS_OPTION_LANGUANGE_ARABIC",          L"IDS_OPTION_LANGUANGE_DUTCH",
    L"IDS_OPTION_LANGUANGE_PORTUHUESE",
};

bool HasDictionaryFile(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    return qcore::UniqueFind(::FindFirstFileW((folder + L"*.ini").c_str(), &fd)).Valid();
}

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, 64);
    return name;
}

std::wstring TextOf(HWND wnd)
{
    int length = ::GetWindowTextLengthW(wnd);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(wnd, &text[0], length + 1)));
    return text;
}

class Retranslator {
public:
    explicit Retranslator(const std::map<std::wstring, std::wstring>& oldKeysByText) : m_old(oldKeysByText) {}

    void Window(HWND wnd) const
    {
        const std::wstring cls = ClassOf(wnd);
        if (IsCaptionClass(cls)) {
            Caption(wnd);
        } else if (_wcsicmp(cls.c_str(), WC_HEADERW) == 0) {
            ItemTexts<HDITEMW>(wnd, HDM_GETITEMCOUNT, HDM_GETITEMW, HDM_SETITEMW, HDI_TEXT);
        } else if (_wcsicmp(cls.c_str(), WC_TABCONTROLW) == 0) {
            ItemTexts<TCITEMW>(wnd, TCM_GETITEMCOUNT, TCM_GETITEMW, TCM_SETITEMW, TCIF_TEXT);
        } else if (_wcsicmp(cls.c_str(), WC_COMBOBOXW) == 0) {
            ComboItems(wnd);
        } else if (_wcsicmp(cls.c_str(), WC_LISTVIEWW) == 0) {
            ListCells(wnd);
        }
    }

private:
    // A caption is translated from the key it was made from; one the program did not follow is found by its
    // text in the old language.
    void Caption(HWND wnd) const
    {
        std::wstring translated;
        if (Translate(wnd, -1, TextOf(wnd), translated)) ::SetWindowTextW(wnd, translated.c_str());
    }

    // The text of a caption or item in the new language; false when it stays as it is. Without a key on record,
    // the text is looked up in the old language, unless it may be the user's data (guess false).
    bool Translate(HWND wnd, int item, const std::wstring& text, std::wstring& translated, bool guess = true) const
    {
        if (text.empty()) return false;
        TextSource source;
        if (!CaptionKey(wnd, item, text, source)) {
            if (!guess) return false;
            auto it = m_old.find(text);
            source.key = it != m_old.end() ? it->second : text;
        }
        translated =
            static_cast<const wchar_t*>(nsVendrel::TranslateCode(source.key.c_str(), source.mainId, source.searchAll));
        if (translated == source.key && source.key == text) return false;  // not a text of the program
        RememberCaption(wnd, item, source, translated);
        return translated != text;
    }

    // Captions that are texts of the program; edits, lists and other controls hold the user's data.
    static bool IsCaptionClass(const std::wstring& cls)
    {
        return _wcsicmp(cls.c_str(), L"Static") == 0 || _wcsicmp(cls.c_str(), L"Button") == 0 || cls == L"#32770" ||
               cls.compare(0, 5, L"QMfc:") == 0;
    }

    // The texts of a header's or a tab control's items (same fields, their own messages and mask).
    template <typename Item>
    void ItemTexts(HWND control, UINT getCount, UINT get, UINT set, UINT textMask) const
    {
        int count = int(::SendMessageW(control, getCount, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t buffer[260] = L"";
            Item item = {};
            item.mask = textMask;
            item.pszText = buffer;
            item.cchTextMax = 260;
            if (!::SendMessageW(control, get, WPARAM(i), LPARAM(&item))) continue;
            std::wstring translated;
            if (!Translate(control, i, buffer, translated)) continue;
            item.pszText = &translated[0];
            ::SendMessageW(control, set, WPARAM(i), LPARAM(&item));
        }
    }

    // List cells are mostly data: only a cell the program filled from the dictionary follows the switch.
    void ListCells(HWND list) const
    {
        const HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
        const int columns = std::max(1, int(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)));
        const int rows = int(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns && column < 64; ++column) {
                wchar_t buffer[512] = L"";
                LVITEMW cell = {};
                cell.iSubItem = column;
                cell.pszText = buffer;
                cell.cchTextMax = 512;
                ::SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&cell));
                std::wstring translated;
                if (!Translate(list, qmfc::ListCellItem(row, column), buffer, translated, false)) continue;
                cell.pszText = &translated[0];
                ::SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(row), LPARAM(&cell));
            }
    }

    // Only drop-down lists with strings: the items of an editable combo may be the user's own.
    void ComboItems(HWND combo) const
    {
        LONG style = ::GetWindowLongW(combo, GWL_STYLE);
        bool ownerDrawn = (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
        if ((style & 3) != CBS_DROPDOWNLIST || (ownerDrawn && !(style & CBS_HASSTRINGS))) return;
        int selected = int(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
        int count = int(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            int length = int(::SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(i), 0));
            if (length <= 0) continue;
            std::wstring text(size_t(length) + 1, L'\0');
            text.resize(size_t(::SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(&text[0]))));
            std::wstring translated;
            if (!Translate(combo, i, text, translated)) continue;
            LRESULT data = ::SendMessageW(combo, CB_GETITEMDATA, WPARAM(i), 0);
            ::SendMessageW(combo, CB_DELETESTRING, WPARAM(i), 0);
            ::SendMessageW(combo, CB_INSERTSTRING, WPARAM(i), LPARAM(translated.c_str()));
            ::SendMessageW(combo, CB_SETITEMDATA, WPARAM(i), data);
        }
        ::SendMessageW(combo, CB_SETCURSEL, WPARAM(selected), 0);
    }

    const std::map<std::wstring, std::wstring>& m_old;
};

void VisitDescendants(HWND parent, const Retranslator& retranslator)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        retranslator.Window(child);
        VisitDescendants(child, retranslator);
    }
}

void SendToTree(HWND wnd, UINT message, WPARAM wParam)
{
    ::SendMessageW(wnd, message, wParam, 0);
    for (HWND child = ::GetWindow(wnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        SendToTree(child, message, wParam);
}

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
    return TRUE;
}

std::wstring LanguageFolder(int number, const std::wstring& programFolder, int* index)
{
    LanguageChoice choice = ChooseLanguage(std::to_wstring(number));
    if (index) *index = choice.index;
    return programFolder + L"dic\\" + choice.folder;
}

}  // namespace

std::vector<int> AvailableLanguages(const std::wstring& programFolder)
{
    std::vector<int> numbers;
    for (int i = 0; i < kLanguageCount; ++i)
        if (HasDictionaryFile(programFolder + L"dic\\" + kLanguageFolders[i])) numbers.push_back(i + 1);
    return numbers;
}

const wchar_t* LanguageNameKey(int number)
{
    return number >= 1 && number <= kLanguageCount ? kLanguageNameKeys[number - 1] : nullptr;
}

UINT LanguageChangedMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"Quorvel.LanguageChanged");
    return message;
}

void RetranslateDescendants(HWND root, const std::map<std::wstring, std::wstring>& oldKeysByText)
{
    VisitDescendants(root, Retranslator(oldKeysByText));
}

bool ApplyLanguage(int number, const std::wstring& programFolder)
{
    int index = 0;
    std::wstring folder = LanguageFolder(number, programFolder, &index);
    if (!HasDictionaryFile(folder)) return false;
    std::map<std::wstring, std::wstring> oldKeysByText = nsVendrel::KeysByText();
    nsVendrel::LoadDictionarys(folder.c_str());

    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND wnd : windows) RetranslateDescendants(wnd, oldKeysByText);
    for (HWND wnd : windows) {
        SendToTree(wnd, LanguageChangedMessage(), WPARAM(index));
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    return true;
}

LONG SwitchLanguage(int number, const std::wstring& programFolder)
{
    if (!HasDictionaryFile(LanguageFolder(number, programFolder, nullptr))) return ERROR_FILE_NOT_FOUND;
    LONG result = Settings::SetLanguage(number);
    if (result != ERROR_SUCCESS) return result;
    return ApplyLanguage(number, programFolder) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

}  // namespace Shell
