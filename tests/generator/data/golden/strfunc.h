//------------------------------------------------------------------------------
// File    : strfunc.h
// Author  :
// Date    :
// Purpose : in-place helpers on zero-terminated texts
//------------------------------------------------------------------------------
#ifndef STRFUNC_H
#define STRFUNC_H

#define MAX_SPLIT_WORD 1000

extern "C" {

// Replaces every occurrence of the two characters seq[0] seq[1] by newChar; the text shortens by one
// per replacement. Returns the new length. length is the text's length (without the terminator).
int replace(char* text, int length, const char* seq, char newChar);

// Removes the leading run of c (the rest moves to the start). Returns the new length.
int supprFisrtSame(char* text, int length, char c);

// Overwrites the trailing run of c with zeros, from lastIndex downward. Returns the new length.
int supprLastSame(char* text, int lastIndex, char c);

// Cuts text at every separator and returns MAX_SPLIT_WORD pointers to the pieces, null after the
// last one. The pieces live in text; release the array with free(). Returns null when text is null
// or memory is short.
char** split(char* text, char separator);
}

#endif
