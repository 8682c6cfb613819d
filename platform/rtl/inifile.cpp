#include "platform/rtl/inifile.h"

#include <QFileInfo>

#include "platform/rtl/strutils.h"

namespace plat {

// ---- TCustomIniFile ------------------------------------------------------------------------------------------

int TCustomIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
  return StrToIntDef(ReadString(Section, Ident, QString()), Default);
}

void TCustomIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value) {
  WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const QString& Section, const QString& Ident, double Default) const {
  return StrToFloatDef(ReadString(Section, Ident, QString()), Default, TFormatSettings());
}

void TCustomIniFile::WriteFloat(const QString& Section, const QString& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value, TFormatSettings()));
}

bool TCustomIniFile::SectionExists(const QString& Section) const {
  TStringList keys;
  ReadSection(Section, keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const QString& Section, const QString& Ident) const {
  TStringList keys;
  ReadSection(Section, keys);
  return keys.IndexOf(Ident) >= 0;
}

// ---- TMemIniFile ---------------------------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const QString& FileName) : TCustomIniFile(FileName) {
  if (FileName.isEmpty() || !QFileInfo::exists(FileName)) return;
  TStringList lines;
  lines.LoadFromFile(FileName);
  SetStrings(lines);
}

TMemIniFile::~TMemIniFile() = default;

const TMemIniFile::Section* TMemIniFile::Find(const QString& Name) const {
  for (const Section& s : FSections)
    if (AnsiSameText(s.Name, Name)) return &s;
  return nullptr;
}

TMemIniFile::Section& TMemIniFile::FindOrAdd(const QString& Name) {
  if (const Section* s = Find(Name)) return const_cast<Section&>(*s);
  FSections.push_back(Section{Name, std::make_unique<TStringList>()});
  return FSections.back();
}

QString TMemIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
  const auto* s = Find(Section);
  if (!s) return Default;
  const int i = s->Values->IndexOfName(Ident);
  return i < 0 ? Default : s->Values->ValueFromIndex(i);
}

void TMemIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
  TStringList& values = *FindOrAdd(Section).Values;
  const QString line = Ident + u'=' + Value;
  const int i = values.IndexOfName(Ident);
  if (i >= 0)
    values.SetStrings(i, line);
  else
    values.Add(line);
}

void TMemIniFile::ReadSection(const QString& Section, TStrings& Strings) const {
  Strings.BeginUpdate();
  Strings.Clear();
  if (const auto* s = Find(Section)) {
    for (int i = 0; i < s->Values->Count(); ++i) {
      const QString name = s->Values->Names(i);
      if (!name.isEmpty()) Strings.Add(name);
    }
  }
  Strings.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& Strings) const {
  Strings.BeginUpdate();
  Strings.Clear();
  for (const Section& s : FSections) Strings.Add(s.Name);
  Strings.EndUpdate();
}

void TMemIniFile::ReadSectionValues(const QString& Section, TStrings& Strings) const {
  Strings.BeginUpdate();
  Strings.Clear();
  if (const auto* s = Find(Section)) Strings.AddStrings(*s->Values);
  Strings.EndUpdate();
}

void TMemIniFile::EraseSection(const QString& Section) {
  for (auto it = FSections.begin(); it != FSections.end(); ++it) {
    if (AnsiSameText(it->Name, Section)) {
      FSections.erase(it);
      return;
    }
  }
}

void TMemIniFile::DeleteKey(const QString& Section, const QString& Ident) {
  if (const auto* s = Find(Section)) {
    const int i = s->Values->IndexOfName(Ident);
    if (i >= 0) s->Values->Delete(i);
  }
}

void TMemIniFile::Clear() { FSections.clear(); }

void TMemIniFile::GetStrings(TStrings& List) const {
  List.BeginUpdate();
  List.Clear();
  for (const Section& s : FSections) {
    List.Add(u'[' + s.Name + u']');
    List.AddStrings(*s.Values);
    List.Add(QString());
  }
  List.EndUpdate();
}

void TMemIniFile::SetStrings(const TStrings& List) {
  Clear();
  TStringList* values = nullptr;
  for (int i = 0; i < List.Count(); ++i) {
    const QString s = Trim(List[i]);
    if (s.isEmpty() || s[0] == u';') continue;
    if (s[0] == u'[' && s.back() == u']') {
      values = FindOrAdd(Trim(s.mid(1, s.size() - 2))).Values.get();
    } else if (values) {
      const qsizetype eq = s.indexOf(u'=');
      values->Add(eq < 0 ? s : Trim(s.left(eq)) + u'=' + Trim(s.mid(eq + 1)));
    }
  }
}

void TMemIniFile::UpdateFile() {
  TStringList lines;
  GetStrings(lines);
  lines.SaveToFile(FileName());
}

// ---- TIniFile ------------------------------------------------------------------------------------------------

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
  TMemIniFile::WriteString(Section, Ident, Value);
  UpdateFile();
}

void TIniFile::EraseSection(const QString& Section) {
  TMemIniFile::EraseSection(Section);
  UpdateFile();
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident) {
  TMemIniFile::DeleteKey(Section, Ident);
  UpdateFile();
}

}  // namespace plat
