// The engine libraries (Bexlar.dll, Lumbrey.dll, ...) are delay-loaded: Quorvel.exe loads each one when a page
// first calls it, not at its start. A page is built only when the libraries its module calls can be found (see
// PageFactory.h); a library that still fails to load at a call (damaged, or of another version) ends the program
// with a translated message instead of a crash.
#pragma once

#include <string>

namespace Shell {

// The first library of the list ("A.dll|B.dll") that is neither loaded nor found where the program loads its
// libraries from; empty when every one is there.
std::wstring FirstMissingLibrary(const wchar_t* libraries);

}  // namespace Shell
