#pragma once
// The grid's looks as a text file of "key=value" lines without sections, and the value texts it and the print
// settings share. Colours are written by their standard name ("clWindow", "clRed", "clNone") or as "$" and
// eight hexadecimal digits; an empty value reads as "none". Booleans are "true"/"false" in this file (read as
// true only for "TRUE" in any letter case) and "Y"/"N" in the print settings; font styles are the style names
// joined by commas here and a bit set elsewhere (bold 1, italic 2, underline 4, strike-out 8).

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

#include "platform/graphics/gdivalues.h"

namespace grid {

QString ColorText(plat::TColor Color);
// Names, "$hex" and decimal numbers; an empty text is clNone. plat::EConvertError for anything else.
plat::TColor TextToColor(const QString& Text);
QString BoolYN(bool Value);
bool YNBool(const QString& Text);
int FontStyleBits(plat::TFontStyles Styles);
plat::TFontStyles BitsFontStyle(int Bits);

struct TFontValues {
  plat::TColor Color = plat::clWindowText;
  plat::TFontStyles Style;
  int Size = 8;
  QString Name;
};

class TVisualPropsWriter {
 public:
  void Color(const QString& Key, plat::TColor Value);
  void Bool(const QString& Key, bool Value);
  void Int(const QString& Key, int Value);
  void Font(const QString& Key, const TFontValues& Value);
  void Enum(const QString& Key, const QString& Ident);
  // Written whole and atomically; plat::Exception "Cannot Create " + FileName when it cannot be.
  void SaveToFile(const QString& FileName) const;
  const QStringList& Lines() const { return FLines; }

 private:
  QStringList FLines;
};

class TVisualPropsReader {
 public:
  // plat::Exception "Cannot open file " + FileName when it cannot be read.
  explicit TVisualPropsReader(const QString& FileName);
  TVisualPropsReader(const QStringList& Lines);

  // Keys ignore letter case. A missing colour is clNone, a missing Boolean false, a missing style no styles,
  // a missing name empty.
  plat::TColor Color(const QString& Key) const;
  bool Bool(const QString& Key) const;
  // A missing or malformed integer raises plat::EConvertError.
  int Int(const QString& Key) const;
  TFontValues Font(const QString& Key) const;
  // The index of the value among Idents (letter case ignored); false when missing or unknown.
  bool Enum(const QString& Key, const QStringList& Idents, int& Index) const;
  bool Has(const QString& Key) const;

 private:
  void Take(const QStringList& Lines);
  QString Value(const QString& Key) const;
  std::map<QString, QString> FValues;  // by upper-cased key
};

// One property of the visual-properties file as the grid offers it: its key, its kind and how its value is read
// from and given to the grid (through the property's setter, so the grid repaints and dependent settings
// follow). An enumeration names its values by Idents (index = value); its Get gives the identifier to write.
struct TVisualValue {
  plat::TColor Color = plat::clNone;
  bool Bool = false;
  int Int = 0;
  TFontValues Font;
  QString Ident;
};

struct TVisualProp {
  enum TKind { vkColor, vkBool, vkInt, vkFont, vkEnum };
  QString Key;
  TKind Kind = vkColor;
  QStringList Idents;
  std::function<TVisualValue()> Get;
  std::function<void(const TVisualValue&)> Set;
};

// Writes each property in the list's order (plat::Exception "Cannot Create " + FileName when the file cannot
// be made).
void SaveVisualProps(const std::vector<TVisualProp>& Props, const QString& FileName);
// Reads the file whole (plat::Exception "Cannot open file " + FileName) and gives each property its value in
// the list's order, except that GridLineColor and GridFixedLineColor follow SearchFooter.ColorTo. A missing
// colour is "none", a missing Boolean false, a missing enumeration or one naming no value leaves the property
// alone; a missing or malformed integer (a font's size included) ends the load with plat::EConvertError, the
// properties before it keeping their new values.
void LoadVisualProps(const std::vector<TVisualProp>& Props, const QString& FileName);

}  // namespace grid
