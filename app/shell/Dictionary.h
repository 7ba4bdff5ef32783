// The translation dictionary: every caption is a key (IDS_...) looked up in UTF-16 INI files, one folder per
// language. One dictionary per process, built by LoadDictionarys; a key it does not hold shows as itself.
// The class and the free functions are exported by the program.
#pragma once

#include <QMfc.h>

#include <map>
#include <string>

#include "DictionaryFileTable.h"
#include "DictionaryParser.h"

#define QUORVEL_DICTIONARY_API __declspec(dllexport)

namespace nsVendrel {

class QUORVEL_DICTIONARY_API CRBDictionary {
public:
    // One loaded file: its name (empty until parsed) and its key -> text map.
    struct DICITEMINFO {
        CString strFileName;
        DictionaryTexts* pTexts;
    };

    // path names one file (bFile non-zero) or a folder whose *.ini files are loaded.
    CRBDictionary(CString path, int bFile);
    ~CRBDictionary();
    CRBDictionary(const CRBDictionary&) = delete;
    CRBDictionary& operator=(const CRBDictionary&) = delete;

    // 0 ok; -1 no file loaded; -2 a loaded file holds no text; -3 built from one file (no folder).
    long VerifyDictionary();
    CString Translate(CString key, ULONG mainId, int bSearchAll);
    // Writes [key] 1=text into the file with that main id and keeps it in memory; -1 when no such file.
    long Add(CString key, CString text, ULONG mainId);
    CString GetDicFileName(ULONG mainId);
    // Adds every text with its key to the map, walking the files in lookup order; a text already in the map
    // keeps the key it has (the first key met wins when several keys share a text).
    void CollectKeysByText(std::map<std::wstring, std::wstring>& keysByText) const;

protected:
    long ResetContent();
    long LoadDictionary(CString file);
    CString Find(CString key, ULONG mainId, int bSearchAll);
    // Reads one section from zero-terminated UTF-16 lines in [begin, end); value := the text of the entry
    // named key. Returns where reading stopped.
    BYTE* GetOneSection(BYTE* begin, BYTE* end, CString& section, CString& key, CString& value);

    CString m_strFolder;
    DictionaryFileTable<DICITEMINFO> m_files;

private:
    void LoadFolder(CString path);
};

// Replaces the process-wide dictionary by one built from the folder (relative to the current folder when not
// absolute); returns its VerifyDictionary().
QUORVEL_DICTIONARY_API long LoadDictionarys(CString folder);
// The key's text, or the key itself when no dictionary is loaded or none holds it.
QUORVEL_DICTIONARY_API CString TranslateCode(CString key, ULONG mainId = 0, int bSearchAll = 1);
// TranslateCode for standard strings.
inline std::wstring TranslateString(const std::wstring& key) { return TranslateCode(key.c_str()).GetString(); }
// Every text of the process-wide dictionary with the key it translates (see CollectKeysByText); empty without
// a dictionary. A language switch uses it to find the keys behind texts already on screen.
QUORVEL_DICTIONARY_API std::map<std::wstring, std::wstring> KeysByText();
// Translates the captions of every descendant window, depth first. 0 for a null window, else 1.
QUORVEL_DICTIONARY_API int TranslateWnd(CWnd* pWnd, ULONG mainId = 0, int bSearchAll = 1);
// Translates every item text of the menu and its sub-menus; separators stay separators.
QUORVEL_DICTIONARY_API int TranslateMenu(CMenu* pMenu, ULONG mainId = 0, int bSearchAll = 1);

}  // namespace nsVendrel
