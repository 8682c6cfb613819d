#pragma once
// The grid's print settings (its PrintSettings property) and their INI form.
//
// All lengths are tenths of a millimetre. SavePrintSettings writes every setting under a section of an INI file;
// LoadPrintSettings reads them back, each missing key giving its load default. Booleans are "Y"/"N", enumerations
// and colours integers, and the title lines one value with each line break written as the two characters "\n".

#include <QString>

#include "grid/model/gridtypes.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/rtl/component.h"
#include "platform/rtl/strings.h"

namespace grid {

class TPrintSettings : public plat::TPersistent {
  PLAT_CLASS(TPrintSettings)

  explicit TPrintSettings(plat::TComponent* AOwner = nullptr) { (void)AOwner; }
  // Any TPrintSettings; another class of source raises EInvalidCast. FixedCellsAlways is not copied.
  void Assign(plat::TPersistent* Source) override;
  plat::TFont* Font() { return &FFont; }
  void SetFont(plat::TFont* Value) { FFont.Assign(Value); }
  plat::TFont* FixedFont() { return &FFixedFont; }
  void SetFixedFont(plat::TFont* Value) { FFixedFont.Assign(Value); }
  plat::TFont* HeaderFont() { return &FHeaderFont; }
  void SetHeaderFont(plat::TFont* Value) { FHeaderFont.Assign(Value); }
  plat::TFont* FooterFont() { return &FFooterFont; }
  void SetFooterFont(plat::TFont* Value) { FFooterFont.Assign(Value); }
  plat::TStrings* TitleLines() { return &FTitleLines; }
  void SetTitleLines(plat::TStrings* Value) { FTitleLines.Assign(Value); }

  QString PageNumSep = QStringLiteral("/");
  QString DateFormat = QStringLiteral("dd/mm/yyyy");
  TPrintBorders Borders = pbSingle;
  bool Centered = true, UseDisplayFont = true;
  TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
  QString TitleText;
  plat::TPenStyle BorderStyle = plat::psSolid;
  TColor BorderColor = plat::clBlack;
  bool RepeatFixedRows = false, RepeatFixedCols = false;
  int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0, ColumnSpacing = 0, RowSpacing = 0;
  int TitleSpacing = 0;
  TPrinterOrientation Orientation = poPortrait;
  QString PagePrefix, PageSuffix;
  int PageNumberOffset = 0, MaxPagesOffset = 0, FixedWidth = 0, FixedHeight = 0;
  bool UseFixedHeight = false, UseFixedWidth = false;
  TFitToPage FitToPage = fpNever;
  QString JobName;
  bool NoAutoSize = false, NoAutoSizeRow = false, PrintGraphics = false, UseDefaultOrientation = false;
  bool FixedCellsAlways = false;

 private:
  plat::TFont FFont, FFixedFont, FHeaderFont, FFooterFont;
  plat::TStringList FTitleLines;
};

// Writes the settings under Section of the INI file FileName (written whole and atomically); the platform's
// file errors when it cannot be written.
void SavePrintSettings(TPrintSettings& Settings, const QString& FileName, const QString& Section);
// Reads them back; a missing file or section gives the load defaults. Never writes the file.
void LoadPrintSettings(TPrintSettings& Settings, const QString& FileName, const QString& Section);

}  // namespace grid
