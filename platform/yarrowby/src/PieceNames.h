// How pieces of a split file are named and checked before a join, without touching the disk.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The joined file's name a piece's path carries: its file name up to the last comma ("" without one).
std::wstring JoinedNameOf(const std::wstring& piecePath);

// "<file name of source>,<number>.splt".
std::wstring PieceName(const std::wstring& sourcePath, unsigned long long number);

// What a piece's file name says: the joined file's name (before its last comma) and its number (the digits
// after it, followed by ".splt" in any case or by nothing). Number 0 when the name is not a piece's.
struct PieceLabel {
    std::wstring joinedName;
    unsigned long long number = 0;
};
PieceLabel ReadPieceLabel(const std::wstring& piecePath);

// 0 when the pieces, in the order given, are pieces 1 to N of `name` (ignoring case); else the fault:
// YARROWBY_ERROR_PIECE_NAME, _MISSING or _ORDER. Sizes are checked apart (CheckPieceSizes).
DWORD CheckPieceSequence(const std::vector<std::wstring>& pieces, const std::wstring& name);

// 0 when all pieces but the last have one size and the last is not larger; else YARROWBY_ERROR_PIECE_SIZE.
DWORD CheckPieceSizes(const std::vector<unsigned long long>& sizes);
