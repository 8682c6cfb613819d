#pragma once
// The built-in English texts of the UI text table, entry i at index i.
#include "core/lang_texts.h"

extern const char16_t* const Lang_Builtin_Texts[Lang_Max];
