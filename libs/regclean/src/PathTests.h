// Decides whether a path or command line found in the registry still names an existing file or folder.
// Results: kPathExists (0), kPathMissing (1), E_FAIL when it cannot be decided. Only a definite miss on a present
// fixed drive counts as missing; relative, network, removable and unreadable paths cannot be decided.
#pragma once

#include <string>

#include "PathProbe.h"

namespace bexlar {

// Longest texts the checks handle (characters): command texts, value data and normalised paths.
const size_t kCommandCapacity = 260;
const size_t kPathCapacity = 780;

enum PathKind { kFileOrFolder = 0, kFileOnly = 1, kFolderOnly = 2 };

std::wstring TrimBlanks(const std::wstring& text);
bool IsDriveAbsolute(const std::wstring& path);

// Removes double quotes, trims, expands environment variables, and resolves a relative text against the system
// and Windows folders when it exists there. False when the expansion does not fit.
bool NormalizePath(std::wstring& text, PathProbe& probe);

// The existence test of one path text; *tested receives the normalised text.
long TestPath(const std::wstring& text, int kind, PathProbe& probe, std::wstring* tested);

// Tests an already normalised absolute path.
long TestAbsolutePath(const std::wstring& path, int kind, PathProbe& probe);

// The first match of the drive-path expression ([a-zA-Z]:(\\[^\\/:*?"<>|]+)+), leftmost and greedy.
bool FindDrivePath(const std::wstring& text, size_t* pos, size_t* length);

enum SearchResult { kSearchFound, kSearchMissing, kSearchUnknown };

// Finds the first drive path in the text and the existing file it names, cutting the candidate back at
// punctuation and trying .exe, .bat and .com. kSearchMissing only when every candidate is definitely absent.
SearchResult DrivePathSearch(const std::wstring& text, size_t capacity, PathProbe& probe, std::wstring* found);

// Tests the program of a command line.
long TestCommandLine(const std::wstring& command, PathProbe& probe);

}  // namespace bexlar
