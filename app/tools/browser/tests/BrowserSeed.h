// A browser with settings and add-ons of every kind, seeded in the test prefix's registry for the page's tests.
#pragma once

#include <windows.h>

#include <string>

namespace browser_test {

extern const std::wstring kMainKey, kBrowserKey, kShellFoldersKey, kCacheKey, kTypedUrlsKey, kUnitsKey, kCompatKey,
    kHelpersKey, kMenuExtKey, kBarsKey, kAboutKey;

// Controls (kVersioned blocked with another flag, kPlain allowed), helper objects, menu entries, a bar.
extern const std::wstring kVersioned, kPlain, kHelperA, kHelperB, kBar;

// Seeds the scenario, replacing whatever the keys held: start page and the three folders (the folders exist),
// cache kept on exit, sounds on, pictures off, two typed addresses, and the add-ons above.
void SeedBrowser();

}  // namespace browser_test
