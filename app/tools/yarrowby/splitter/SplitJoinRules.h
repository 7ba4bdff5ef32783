// The splitter and joiner pages' rules without windows: piece sizes, the custom size, the order pieces are
// listed in, the output path and the bar.
#pragma once

#include <QMfc.h>

#include <vector>

// The size choices of the split page, in the order of their radio buttons.
enum SplitSizeChoice { kSplitFloppy, kSplit100MB, kSplit1GB, kSplitDvd, kSplitCustom, kSplitChoiceCount };

// Bytes per piece of a choice: 1.44 MiB, 100 MiB, 1 GiB, 4.7 GiB (computed exactly, fractions cut), or the custom
// number of mebibytes (single precision, as typed).
unsigned long long SplitPieceSize(int choice, float customMegabytes);

// The custom size as the page reads it: a decimal number; below 1, or not a number, it counts as 1. `reset` is set
// when the edit must show "1" again (a value below 1).
float CustomMegabytes(const CString& text, bool& reset);

// Where a chosen piece goes in the list: after the last row (searching from the bottom) that is shorter than it,
// or of the same length and not greater ignoring case; first when there is none. Pieces of one file, numbered
// 1 to N, so come out in number order whatever order they are chosen in.
int JoinInsertIndex(const std::vector<CString>& rows, const CString& path);

// The output file: the folder (with or without its last backslash) and the name, joined by one backslash.
CString JoinOutputPath(const CString& folder, const CString& name);

// The bar's position for a progress message (done, total), computed in 64 bits, within 0-100.
int ToolBarPosition(WPARAM done, LPARAM total);
