//------------------------------------------------------------------------------
// File    : strfunc.cpp
// Author  :
// Date    :
// Purpose : in-place helpers on zero-terminated texts
//------------------------------------------------------------------------------
#include "strfunc.h"

#include <cstdlib>
#include <cstring>

extern "C" int replace(char* text, int length, const char* seq, char newChar)
{
    if (text == nullptr || seq == nullptr || seq[0] == '\0' || seq[1] == '\0' || length <= 0)
        return length < 0 ? 0 : length;
    int out = 0;
    for (int in = 0; in < length; ++in) {
        if (text[in] == seq[0] && in + 1 < length && text[in + 1] == seq[1]) {
            text[out++] = newChar;
            ++in;
        } else {
            text[out++] = text[in];
        }
    }
    text[out] = '\0';
    return out;
}

extern "C" int supprFisrtSame(char* text, int length, char c)
{
    if (text == nullptr || length <= 0)
        return 0;
    int skip = 0;
    while (skip < length && text[skip] == c)
        ++skip;
    if (skip > 0)
        std::memmove(text, text + skip, static_cast<size_t>(length - skip) + 1);
    return length - skip;
}

extern "C" int supprLastSame(char* text, int lastIndex, char c)
{
    if (text == nullptr)
        return 0;
    int i = lastIndex;
    while (i >= 0 && text[i] == c)
        text[i--] = '\0';
    return i + 1;
}

extern "C" char** split(char* text, char separator)
{
    if (text == nullptr)
        return nullptr;
    char** pieces = static_cast<char**>(std::calloc(MAX_SPLIT_WORD, sizeof(char*)));
    if (pieces == nullptr)
        return nullptr;
    int count = 0;
    pieces[count++] = text;
    for (char* p = text; *p != '\0' && count < MAX_SPLIT_WORD - 1; ++p) {
        if (*p == separator) {
            *p = '\0';
            pieces[count++] = p + 1;
        }
    }
    return pieces;
}
