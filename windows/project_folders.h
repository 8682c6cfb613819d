#pragma once
// Configurations (folders below PROJECTS) and language files (below LANGUAGE): the name rule for a new
// configuration, creating one, listing them, and listing the languages.

#include <QString>
#include <QStringList>

// True when N can name a configuration folder on any system the configurations may travel to: a plain file
// name (no path separator, "." or "..", drive colon or control character), none of < > " | ? *, no blank at
// either end, no dot at the end, and at most 255 bytes in UTF-8.
bool Is_Valid_Configuration_Name(const QString& N);

// Creates Projects/N and Projects/N/bin. Returns 0 on success, otherwise the index of the text that explains
// the refusal: 32 for an empty name, 30 for a name that cannot be a folder name or a folder that cannot be
// created, 31 when a folder of that name (compared without regard to case) already exists. On a refusal
// nothing is left behind.
int Create_Configuration(const QString& Projects, const QString& N);

// Names of the configuration folders below Projects, sorted (empty when Projects does not exist).
QStringList List_Configurations(const QString& Projects);

// Index of Name in List: an exact match first, otherwise the first match without regard to case; -1 when
// absent.
int Search_Name(const QStringList& List, const QString& Name);

// True when Name is a valid configuration name whose folder exists directly below Projects.
bool Configuration_Exists(const QString& Projects, const QString& Name);

// File names of the language files ("*.lng", regular files) in Language, sorted without regard to case.
QStringList List_Language_Files(const QString& Language);
