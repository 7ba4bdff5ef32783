// Which dictionary key each caption on screen was made from, so that a language switch translates every window
// from its own key: a text that two keys share in one language never picks the wrong key for the next.
#pragma once

#include <windows.h>

#include <string>

namespace Shell {

// Notes that the key's text is `text` now (the dictionary calls it for each translation it makes). A caption
// set to that text soon after is taken to come from this key.
void NoteTranslation(const std::wstring& key, const std::wstring& text);
// From now on, the captions windows get through the MFC-like layer are followed.
void FollowCaptions();
// The key the window's caption (item -1) or its header item was made from, while it still reads `text`; false
// when unknown.
bool CaptionKey(HWND wnd, int item, const std::wstring& text, std::wstring& key);
// The window's caption or header item now shows the key's text.
void RememberCaption(HWND wnd, int item, const std::wstring& key, const std::wstring& text);

}  // namespace Shell
