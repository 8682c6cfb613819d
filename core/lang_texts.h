#pragma once
// The process-wide UI text table: every caption, hint and message of the program, read by fixed index, filled
// with the built-in English texts and then overwritten from the selected language file.

#include <QString>
#include <QStringList>

#include <cstdint>

// Number of entries of the table; language-file keys at or above it are ignored.
inline constexpr int32_t Lang_Max = 800;

// Indices 0 .. Lang_Max - 1 after Load_Default_Texts. Written only by the functions below, on the GUI thread.
extern QStringList Lang_Texts;

// Empties the table and fills it with the built-in English texts (reserve entries hold one blank each).
void Load_Default_Texts();

// Overwrites the entries that the language file FileName names. The file is decoded by its byte-order mark
// (UTF-8, UTF-16 LE or BE); without one, as UTF-8 when it is valid UTF-8, else as windows-1252. Lines end with
// CR LF, CR or LF; lines have the form "STR<index> = <text>". A file that cannot be read, or that is larger than
// any language file can be, changes nothing and gives false; otherwise true.
bool Load_Lng_File(const QString& FileName);

// Rebuilds the table from the built-in texts and the file Dir_Language/Lang_Selected.lng. When that file is
// missing or unreadable (or Lang_Selected is not a plain file name), sets Lang_Selected to "English" and reads
// Dir_Language/English.lng if it exists; otherwise the built-in texts stay.
void Load_Language();
