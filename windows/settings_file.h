#pragma once
// The settings file Tessaron.xml beside the program: the last configuration, the last device IP address, the
// language and the two connection options, read into and written from the shared state.

#include <QString>

namespace plat {
class TXMLDocument;
}

// Name of the settings file inside Dir_Exe.
inline constexpr char Settings_File_Name[] = "Tessaron.xml";

enum class TSettingsRead {
  Missing,    // no file: every value took its default
  Read,       // read; missing elements took their defaults one by one
  Malformed,  // not well-formed XML: every value took its default, Error tells why
};

// Sets Name_Project, Last_IP_Address, Lang_Selected, Enable_Internet and Enable_Update from FileName (each
// value on its own: a missing element gives that value's default). The document keeps what was read.
TSettingsRead Read_Settings(plat::TXMLDocument& Doc, const QString& FileName, QString* Error = nullptr);

// Rebuilds the document from the shared state and saves it whole and atomically over FileName. When
// KeepOldAs is not empty and FileName exists, the old file is first renamed to KeepOldAs (replacing an older
// one), so that a file the program could not read is kept rather than overwritten.
bool Write_Settings(plat::TXMLDocument& Doc, const QString& FileName, const QString& KeepOldAs = QString(),
                    QString* Error = nullptr);
