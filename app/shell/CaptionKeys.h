// Which dictionary key each caption on screen was made from, so that a language switch translates every window
// from its own key: a text that two keys share in one language never picks the wrong key for the next.
#pragma once

#include <windows.h>

#include <string>

namespace Shell {

// One look-up of the dictionary: the key, and the file it was asked of (main id 0 and search all: any file).
struct TextSource {
    std::wstring key;
    unsigned long mainId = 0;
    int searchAll = 1;
};

// Notes that the look-up gave `text` (the dictionary calls it for each translation it makes). A caption set to
// that text soon after is taken to come from this look-up.
void NoteTranslation(const TextSource& source, const std::wstring& text);
// From now on, the captions windows get through the MFC-like layer are followed.
void FollowCaptions();
// The look-up the window's caption (item -1) or one of its items was made from, while it still reads `text`; false
// when unknown.
bool CaptionKey(HWND wnd, int item, const std::wstring& text, TextSource& source);
// The window's caption or item now shows the look-up's text.
void RememberCaption(HWND wnd, int item, const TextSource& source, const std::wstring& text);

}  // namespace Shell
