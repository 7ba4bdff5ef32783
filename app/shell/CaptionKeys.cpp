#include "CaptionKeys.h"

#include <QLock.h>
#include <QMfc.h>

#include <unordered_map>
#include <utility>

namespace Shell {

namespace {

struct Caption {
    TextSource source;
    std::wstring text;
};

// Translations may be made on worker threads too; captions are set on the interface thread.
qcore::Lock& CaptionLock()
{
    static qcore::Lock* lock = new qcore::Lock;  // never destroyed: a worker may translate while the program ends
    return *lock;
}
std::unordered_map<std::wstring, TextSource>& KeyByRecentText()
{
    static std::unordered_map<std::wstring, TextSource> keys;
    return keys;
}
using Place = std::pair<HWND, int>;  // a window's caption (-1) or one of its items

struct PlaceHash {
    size_t operator()(const Place& place) const
    {
        return std::hash<const void*>()(place.first) ^ (std::hash<int>()(place.second) << 1);
    }
};

std::unordered_map<Place, Caption, PlaceHash>& Captions()
{
    static std::unordered_map<Place, Caption, PlaceHash> captions;
    return captions;
}

void OnCaption(HWND wnd, int item, LPCWSTR text)
{
    const std::wstring caption(text);
    qcore::ScopedLock lock(CaptionLock());
    auto key = KeyByRecentText().find(caption);
    if (key == KeyByRecentText().end())
        Captions().erase(Place(wnd, item));
    else
        Captions()[Place(wnd, item)] = Caption{key->second, caption};
}

}  // namespace

void NoteTranslation(const TextSource& source, const std::wstring& text)
{
    if (text.empty() || text == source.key) return;
    qcore::ScopedLock lock(CaptionLock());
    KeyByRecentText()[text] = source;
}

void FollowCaptions() { qmfc::SetCaptionObserver(&OnCaption); }

bool CaptionKey(HWND wnd, int item, const std::wstring& text, TextSource& source)
{
    qcore::ScopedLock lock(CaptionLock());
    auto caption = Captions().find(Place(wnd, item));
    // A window made anew under a handle used before holds another caption: its old record does not count.
    if (caption == Captions().end() || caption->second.text != text) return false;
    source = caption->second.source;
    return true;
}

void RememberCaption(HWND wnd, int item, const TextSource& source, const std::wstring& text)
{
    qcore::ScopedLock lock(CaptionLock());
    Captions()[Place(wnd, item)] = Caption{source, text};
}

}  // namespace Shell
