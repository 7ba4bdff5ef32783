// Reading the catalogue of ActiveX controls: 8-bit text, one control a line, its name followed directly by its
// class identifier in braces.
#pragma once

#include <string>
#include <vector>

struct CatalogueLine {
    std::wstring name;
    std::wstring clsid;
};

// Lines end with CR LF or LF; empty lines are skipped. The name is the text before the first '{', the identifier
// the rest of the line as it stands (a missing '}' or a trailing blank is kept). A line without '{' is all name,
// with an empty identifier. Bytes are widened one by one.
std::vector<CatalogueLine> ParseActiveXCatalogue(const char* data, size_t size);

// An identifier the blocker acts on: not empty, and without '\' (which would name another key).
bool IsUsableClsid(const std::wstring& clsid);
