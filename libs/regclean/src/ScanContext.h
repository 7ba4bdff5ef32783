// What one scan keeps between its checks: the memoised file look-ups and the shell folders.
#pragma once

#include <string>

#include "PathProbe.h"
#include "RegistryData.h"

struct CRegistryData::ScanContext {
    explicit ScanContext(bool wow64) : probe(wow64) {}

    bexlar::PathProbe probe;
    std::wstring userPrograms;    // CSIDL_PROGRAMS
    std::wstring commonPrograms;  // CSIDL_COMMON_PROGRAMS
};
