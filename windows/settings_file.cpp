#include "windows/settings_file.h"

#include <QFile>

#include "core/device_model.h"
#include "platform/io/files.h"
#include "platform/xml/xmldocument.h"

using plat::TXMLDocument;
using plat::TXMLNode;

namespace {

const QString Default_IP_Address = QStringLiteral("192.168.2.205");
const QString Default_Language = QStringLiteral("English");
// The settings file holds a handful of short values; anything larger is not one.
constexpr qint64 Max_Settings_File_Size = 1 << 20;

void Set_Defaults() {
  Name_Project.clear();
  Dir_Project.clear();
  Last_IP_Address = Default_IP_Address;
  Lang_Selected = Default_Language;
  Enable_Internet = false;
  Enable_Update = false;
}

// The text of Root/Group/Item, or null when either element is missing.
QString Value_Of(const TXMLNode& Root, const char* Group, const char* Item, bool& Found) {
  const TXMLNode g = Root.FindNode(QString::fromLatin1(Group));
  const TXMLNode e = g.FindNode(QString::fromLatin1(Item));
  Found = !e.IsNull();
  return e.Text();
}

void Add_Value(TXMLNode& Root, const char* Group, const char* Item, const QString& Value) {
  TXMLNode g = Root.FindNode(QString::fromLatin1(Group));
  if (g.IsNull()) g = Root.AddChild(QString::fromLatin1(Group));
  g.AddChild(QString::fromLatin1(Item)).SetText(Value);
}

}  // namespace

TSettingsRead Read_Settings(TXMLDocument& Doc, const QString& FileName, QString* Error) {
  Set_Defaults();
  if (plat::FileAbsent(FileName)) return TSettingsRead::Missing;
  if (!Doc.LoadFromFile(FileName, Error, Max_Settings_File_Size)) return TSettingsRead::Malformed;

  // The root element, wherever it stands after a declaration or a comment.
  const TXMLNode Root = Doc.DocumentElement();
  bool found = false;
  QString v = Value_Of(Root, "lastproj", "projectname", found);
  if (found) Name_Project = v;
  v = Value_Of(Root, "lastipadd", "ipaddress", found);
  if (found) Last_IP_Address = v;
  v = Value_Of(Root, "lastlang", "language", found);
  if (found) Lang_Selected = v;
  // Only the exact text "1" switches an option on.
  Enable_Internet = Value_Of(Root, "lastinternet", "enable_internet", found) == u"1";
  Enable_Update = Value_Of(Root, "lastinternet", "enable_update", found) == u"1";
  return TSettingsRead::Read;
}

bool Write_Settings(TXMLDocument& Doc, const QString& FileName, const QString& KeepOldAs, QString* Error) {
  Doc.Clear();
  // Written anew in the program's own layout, whatever the file read before looked like.
  Doc.Options() = plat::TXMLSaveOptions();
  TXMLNode Root = Doc.AddChild(QStringLiteral("Conf_Settings"));
  Add_Value(Root, "lastproj", "projectname", Name_Project);
  Add_Value(Root, "lastipadd", "ipaddress", Last_IP_Address);
  Add_Value(Root, "lastlang", "language", Lang_Selected);
  Add_Value(Root, "lastinternet", "enable_internet", Enable_Internet ? QStringLiteral("1") : QStringLiteral("0"));
  Add_Value(Root, "lastinternet", "enable_update", Enable_Update ? QStringLiteral("1") : QStringLiteral("0"));

  if (!KeepOldAs.isEmpty() && QFile::exists(FileName)) {
    QFile::remove(KeepOldAs);
    if (!QFile::rename(FileName, KeepOldAs)) {
      if (Error) *Error = QStringLiteral("Cannot keep %1 as %2").arg(FileName, KeepOldAs);
      return false;
    }
  }
  return Doc.SaveToFile(FileName, Error);
}
