#pragma once
// INI files: "[Section]" lines followed by "key=value" lines; section and key names ignore letter case.
// TMemIniFile works in memory and writes the file on UpdateFile; TIniFile writes it after every change. The
// file is read as UTF-8 (or as its byte-order mark says) and always written whole and atomically, so a failed
// write (EFCreateError) leaves the previous file intact.

#include <QString>

#include <memory>
#include <vector>

#include "platform/rtl/strings.h"

namespace plat {

class TCustomIniFile : public TObject {
  PLAT_CLASS(TCustomIniFile)

  explicit TCustomIniFile(const QString& FileName) : FFileName(FileName) {}
  const QString& FileName() const { return FFileName; }

  virtual QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const = 0;
  virtual void WriteString(const QString& Section, const QString& Ident, const QString& Value) = 0;
  // Integer text by the runtime's one rule (decimal, or hex after "$"/"0x"); Default when it does not convert.
  int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
  void WriteInteger(const QString& Section, const QString& Ident, int Value);
  // "0" is false, any other integer true; Default when absent or not an integer. Written as "1"/"0".
  bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;
  void WriteBool(const QString& Section, const QString& Ident, bool Value);
  // Always with "." as decimal separator, whatever the user's settings.
  double ReadFloat(const QString& Section, const QString& Ident, double Default) const;
  void WriteFloat(const QString& Section, const QString& Ident, double Value);

  bool SectionExists(const QString& Section) const;
  virtual bool ValueExists(const QString& Section, const QString& Ident) const;
  // Replace the content of Strings with the keys of a section / the section names / the section's lines.
  virtual void ReadSection(const QString& Section, TStrings& Strings) const = 0;
  virtual void ReadSections(TStrings& Strings) const = 0;
  virtual void ReadSectionValues(const QString& Section, TStrings& Strings) const = 0;
  virtual void EraseSection(const QString& Section) = 0;
  virtual void DeleteKey(const QString& Section, const QString& Ident) = 0;
  virtual void UpdateFile() = 0;

 private:
  QString FFileName;
};

class TMemIniFile : public TCustomIniFile {
  PLAT_CLASS(TMemIniFile)

  // Reads FileName when it exists (a missing file is an empty one); EFOpenError when it cannot be read.
  explicit TMemIniFile(const QString& FileName);
  ~TMemIniFile() override;

  QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const override;
  void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
  void ReadSection(const QString& Section, TStrings& Strings) const override;
  void ReadSections(TStrings& Strings) const override;
  void ReadSectionValues(const QString& Section, TStrings& Strings) const override;
  void EraseSection(const QString& Section) override;
  void DeleteKey(const QString& Section, const QString& Ident) override;
  // Writes the whole content to FileName.
  void UpdateFile() override;

  void Clear();
  // The content as lines of an INI file / replaced from such lines.
  void GetStrings(TStrings& List) const;
  void SetStrings(const TStrings& List);

 private:
  struct Section {
    QString Name;
    std::unique_ptr<TStringList> Values;
  };
  const Section* Find(const QString& Name) const;
  Section& FindOrAdd(const QString& Name);

  std::vector<Section> FSections;
};

class TIniFile : public TMemIniFile {
  PLAT_CLASS(TIniFile)

  using TMemIniFile::TMemIniFile;
  void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
  void EraseSection(const QString& Section) override;
  void DeleteKey(const QString& Section, const QString& Ident) override;
};

}  // namespace plat
