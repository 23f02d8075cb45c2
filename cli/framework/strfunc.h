// In-place helpers on zero-terminated texts, shared by the line reader, the line parser and the tools.
#pragma once

inline constexpr int MAX_SPLIT_WORD = 1000;

extern "C" {

// Replaces every occurrence of the two characters seq[0] seq[1] by newChar; the text shortens by one
// per replacement. Returns the new length. length is the text's length (without the terminator).
int replace(char* text, int length, const char* seq, char newChar);

// Removes the leading run of c (the rest moves to the start). Returns the new length.
int supprFisrtSame(char* text, int length, char c);

// Overwrites the trailing run of c with zeros, from lastIndex downward. Returns the new length.
int supprLastSame(char* text, int lastIndex, char c);

// Cuts text at every separator and returns MAX_SPLIT_WORD pointers to the pieces, in order, null after
// the last one (empty pieces count). The pieces live in text; only the array is allocated: release it
// with free(). Past MAX_SPLIT_WORD - 1 pieces the last piece keeps the rest of the text unsplit.
// Returns null when text is null or memory is short.
char** split(char* text, char separator);
}
