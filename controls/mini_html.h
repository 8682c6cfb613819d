#pragma once
// Draws, measures and hit-tests short texts in a small HTML-like tag language (grid cells, hints, drop-down
// items, headers and footers), and the companion conversions between that text and plain text.
//
// Tags: A (HREF, TITLE), B, BR, BLINK, BODY (BACKGROUND, BGCOLOR), CONTROL (TYPE, ID, VALUE, WIDTH, HEIGHT,
// PROP, MAXLEN), E, FONT (FACE, COLOR, BGCOLOR, SIZE), HI, HR, I, IMG (SRC, ALT, WIDTH, HEIGHT, ALIGN),
// IND x, LI, P (ALIGN, INDENT, BGCOLOR), R a, S, SH, SUB, SUP, U, UL, Z. Attribute values stand in double
// quotes; colours are "#RRGGBB" or a colour name ("clRed").

#include <QString>
#include <QUrl>

#include <functional>

#include "controls/picture.h"
#include "controls/theme_services.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/color.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/types.h"

namespace controls {

// Lays out Text in Rect line by line and, unless CalcOnly or CheckHotSpot, draws it. Returns true when the
// point (XPos, YPos) lies on an anchor or an in-text control (with CheckHotSpot and a ControlID given: when
// that control was found). The canvas's font, brush and pen are restored at the end.
bool RenderHTMLText(plat::TCanvas& Canvas, const QString& Text, plat::TRect Rect, plat::TCustomImageList* Images,
                    int XPos, int YPos, int FocusLink, int HoverLink, int ShadowOffset, bool CheckHotSpot,
                    bool CalcOnly, bool StretchImages, bool KeepColors, bool Blink, bool HoverEnabled, bool WordWrap,
                    bool MouseDown, double ImageFactor, plat::TColor URLColor, plat::TColor HoverColor,
                    plat::TColor HoverFontColor, plat::TColor ShadowColor, QString& AnchorVal, QString& StrippedText,
                    QString& FocusAnchor, QString& AnchorTitle, int& XSize, int& YSize, int& HyperLinks,
                    int& MouseLink, plat::TRect& HoverRect, plat::TRect& ControlRect, QString& ControlID,
                    QString& ControlValue, QString& ControlType, THTMLPictureCache* PictureCache,
                    TPictureContainer* PictureContainer, TThemeWindow ThemeWindow, int BiDiMode);

// "<BR>" and "<HR>" become CR LF, then every tag is removed; a "<" without a later ">" and the rest stay.
QString HTMLToPlainText(const QString& S);
// Puts Tag around every occurrence of Search in the visible text of S.
void HighlightHTMLText(const QString& S, const QString& Search, const QString& Tag, QString& Result,
                       bool CaseSensitive);
void RemoveHTMLTagPair(const QString& S, const QString& Tag, QString& Result);
QString EntitiesToChars(const QString& S, bool Extended);
QString CharsToEntities(const QString& S, bool Extended);
QString BlanksToNbsp(const QString& S);
// Colours of the HI tag for the whole process (defaults clHighlight and clHighlightText).
void SetHighlightTagColors(plat::TColor BrushColor, plat::TColor FontColor);
// A colour attribute value: "#RRGGBB" or a colour name; anything else is black.
plat::TColor HTMLColorValue(const QString& Value);

bool ContainsControlTags(const QString& S);
QString NextEditableControlTagID(const QString& S, const QString& AfterID);
QString ResetRadioControlTags(const QString& S);
bool ReadControlTagValue(const QString& S, const QString& ID, QString& Value);
void ReadControlTagProp(const QString& S, const QString& ID, QString& Prop);
int ReadControlTagMaxLen(const QString& S, const QString& ID);
bool WriteControlTagValue(QString& S, const QString& ID, const QString& Value);

struct THTMLControlTag {
  QString Type;  // upper case
  QString ID, Value, Prop;
  int Width = 0, Height = 25, MaxLen = 0;
  bool HasProp = false, HasMaxLen = false;
};
// Parses the inside of a CONTROL tag (without "<" and ">").
THTMLControlTag ParseControlTag(const QString& Tag);

// Opens an anchor's link in the user's programs. Only http, https and mailto links are handed on; every other
// scheme (file, javascript, a program path) is refused with false.
bool OpenHTMLLink(const QString& Href);
// What opening hands the link to (the desktop services by default); tests replace it.
std::function<bool(const QUrl&)>& HTMLLinkOpener();

}  // namespace controls
