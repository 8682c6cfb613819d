#include "grid/data/visual_props.h"

#include <algorithm>

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <utility>

#include "platform/rtl/exceptions.h"

namespace grid {

namespace {

using TNamedColor = std::pair<plat::TColor, const char*>;

const std::array<TNamedColor, 48>& ColorNames() {
  static const std::array<TNamedColor, 48> names{{
      {plat::clBlack, "clBlack"}, {plat::clMaroon, "clMaroon"}, {plat::clGreen, "clGreen"},
      {plat::clOlive, "clOlive"}, {plat::clNavy, "clNavy"}, {plat::clPurple, "clPurple"},
      {plat::clTeal, "clTeal"}, {plat::clGray, "clGray"}, {plat::clSilver, "clSilver"}, {plat::clRed, "clRed"},
      {plat::clLime, "clLime"}, {plat::clYellow, "clYellow"}, {plat::clBlue, "clBlue"},
      {plat::clFuchsia, "clFuchsia"}, {plat::clAqua, "clAqua"}, {plat::clWhite, "clWhite"},
      {plat::clMoneyGreen, "clMoneyGreen"}, {plat::clSkyBlue, "clSkyBlue"}, {plat::clCream, "clCream"},
      {plat::clMedGray, "clMedGray"}, {plat::clNone, "clNone"}, {plat::clDefault, "clDefault"},
      {plat::clScrollBar, "clScrollBar"}, {plat::clBackground, "clBackground"},
      {plat::clActiveCaption, "clActiveCaption"}, {plat::clInactiveCaption, "clInactiveCaption"},
      {plat::clMenu, "clMenu"}, {plat::clWindow, "clWindow"}, {plat::clWindowFrame, "clWindowFrame"},
      {plat::clMenuText, "clMenuText"}, {plat::clWindowText, "clWindowText"},
      {plat::clCaptionText, "clCaptionText"}, {plat::clActiveBorder, "clActiveBorder"},
      {plat::clInactiveBorder, "clInactiveBorder"}, {plat::clAppWorkSpace, "clAppWorkSpace"},
      {plat::clHighlight, "clHighlight"}, {plat::clHighlightText, "clHighlightText"},
      {plat::clBtnFace, "clBtnFace"}, {plat::clBtnShadow, "clBtnShadow"}, {plat::clGrayText, "clGrayText"},
      {plat::clBtnText, "clBtnText"}, {plat::clInactiveCaptionText, "clInactiveCaptionText"},
      {plat::clBtnHighlight, "clBtnHighlight"}, {plat::cl3DDkShadow, "cl3DDkShadow"},
      {plat::cl3DLight, "cl3DLight"}, {plat::clInfoText, "clInfoText"}, {plat::clInfoBk, "clInfoBk"},
      {plat::clHotLight, "clHotLight"},
  }};
  return names;
}

const char* const kStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const plat::TFontStyle kStyles[] = {plat::fsBold, plat::fsItalic, plat::fsUnderline, plat::fsStrikeOut};

}  // namespace

QString ColorText(plat::TColor Color) {
  for (const auto& [c, name] : ColorNames())
    if (c == Color) return QString::fromLatin1(name);
  return u'$' + QStringLiteral("%1").arg(static_cast<std::uint32_t>(Color), 8, 16, QLatin1Char('0')).toUpper();
}

plat::TColor TextToColor(const QString& Text) {
  const QString t = Text.trimmed();
  if (t.isEmpty()) return plat::clNone;
  for (const auto& [c, name] : ColorNames())
    if (t.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return c;
  bool ok = false;
  const qlonglong v = t.startsWith(u'$') ? t.mid(1).toLongLong(&ok, 16) : t.toLongLong(&ok, 10);
  if (!ok || v < INT32_MIN || v > UINT32_MAX)
    throw plat::EConvertError(QStringLiteral("'%1' is not a valid colour").arg(Text));
  return static_cast<plat::TColor>(static_cast<std::uint32_t>(v));
}

QString BoolYN(bool Value) { return Value ? QStringLiteral("Y") : QStringLiteral("N"); }
bool YNBool(const QString& Text) { return Text == QStringLiteral("Y"); }

int FontStyleBits(plat::TFontStyles Styles) {
  int bits = 0;
  for (int i = 0; i < 4; ++i)
    if (Styles.Contains(kStyles[i])) bits |= 1 << i;
  return bits;
}

plat::TFontStyles BitsFontStyle(int Bits) {
  plat::TFontStyles s;
  for (int i = 0; i < 4; ++i)
    if (Bits & (1 << i)) s.Include(kStyles[i]);
  return s;
}

void TVisualPropsWriter::Color(const QString& Key, plat::TColor Value) { FLines << Key + u'=' + ColorText(Value); }
void TVisualPropsWriter::Bool(const QString& Key, bool Value) {
  FLines << Key + u'=' + (Value ? QStringLiteral("true") : QStringLiteral("false"));
}
void TVisualPropsWriter::Int(const QString& Key, int Value) { FLines << Key + u'=' + QString::number(Value); }
void TVisualPropsWriter::Enum(const QString& Key, const QString& Ident) { FLines << Key + u'=' + Ident; }

void TVisualPropsWriter::Font(const QString& Key, const TFontValues& Value) {
  Color(Key + QStringLiteral(".Color"), Value.Color);
  QStringList styles;
  for (int i = 0; i < 4; ++i)
    if (Value.Style.Contains(kStyles[i])) styles << QString::fromLatin1(kStyleNames[i]);
  FLines << Key + QStringLiteral(".Style=") + styles.join(u',');
  Int(Key + QStringLiteral(".Size"), Value.Size);
  FLines << Key + QStringLiteral(".Name=") + Value.Name;
}

void TVisualPropsWriter::SaveToFile(const QString& FileName) const {
  QSaveFile f(FileName);
  const auto fail = [&] { throw plat::Exception(QStringLiteral("Cannot Create ") + FileName); };
  if (!f.open(QIODevice::WriteOnly)) fail();
  QStringEncoder enc(QStringEncoder::System);
  QString all;
  for (const QString& line : FLines) all += line + QStringLiteral("\r\n");
  const QByteArray bytes = enc.encode(all);
  if (f.write(bytes) != bytes.size() || !f.commit()) fail();
}

TVisualPropsReader::TVisualPropsReader(const QString& FileName) {
  QFile f(FileName);
  if (!f.open(QIODevice::ReadOnly)) throw plat::Exception(QStringLiteral("Cannot open file ") + FileName);
  QStringDecoder dec(QStringDecoder::System);
  const QString text = dec.decode(f.readAll());
  Take(text.split(u'\n'));
}

TVisualPropsReader::TVisualPropsReader(const QStringList& Lines) { Take(Lines); }

void TVisualPropsReader::Take(const QStringList& Lines) {
  for (QString line : Lines) {
    if (line.endsWith(u'\r')) line.chop(1);
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0) continue;
    // The first line of a key wins, as a name lookup in a list of lines finds it.
    FValues.emplace(line.left(eq).toUpper(), line.mid(eq + 1));
  }
}

bool TVisualPropsReader::Has(const QString& Key) const { return FValues.count(Key.toUpper()) > 0; }

QString TVisualPropsReader::Value(const QString& Key) const {
  const auto it = FValues.find(Key.toUpper());
  return it == FValues.end() ? QString() : it->second;
}

plat::TColor TVisualPropsReader::Color(const QString& Key) const { return TextToColor(Value(Key)); }

bool TVisualPropsReader::Bool(const QString& Key) const {
  return Value(Key).compare(QStringLiteral("TRUE"), Qt::CaseInsensitive) == 0;
}

int TVisualPropsReader::Int(const QString& Key) const {
  bool ok = false;
  const QString v = Value(Key);
  const int i = v.toInt(&ok);
  if (!ok) throw plat::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(v));
  return i;
}

TFontValues TVisualPropsReader::Font(const QString& Key) const {
  TFontValues f;
  f.Color = Color(Key + QStringLiteral(".Color"));
  const QString styles = Value(Key + QStringLiteral(".Style"));
  for (int i = 0; i < 4; ++i)
    if (styles.contains(QLatin1String(kStyleNames[i]))) f.Style.Include(kStyles[i]);
  f.Size = Int(Key + QStringLiteral(".Size"));
  f.Name = Value(Key + QStringLiteral(".Name"));
  return f;
}

bool TVisualPropsReader::Enum(const QString& Key, const QStringList& Idents, int& Index) const {
  if (!Has(Key)) return false;
  const QString v = Value(Key);
  for (int i = 0; i < Idents.size(); ++i)
    if (Idents[i].compare(v, Qt::CaseInsensitive) == 0) return Index = i, true;
  return false;
}

void SaveVisualProps(const std::vector<TVisualProp>& Props, const QString& FileName) {
  TVisualPropsWriter w;
  for (const TVisualProp& p : Props) {
    const TVisualValue v = p.Get();
    switch (p.Kind) {
      case TVisualProp::vkColor: w.Color(p.Key, v.Color); break;
      case TVisualProp::vkBool: w.Bool(p.Key, v.Bool); break;
      case TVisualProp::vkInt: w.Int(p.Key, v.Int); break;
      case TVisualProp::vkFont: w.Font(p.Key, v.Font); break;
      case TVisualProp::vkEnum: w.Enum(p.Key, v.Ident); break;
    }
  }
  w.SaveToFile(FileName);
}

void LoadVisualProps(const std::vector<TVisualProp>& Props, const QString& FileName) {
  const TVisualPropsReader r(FileName);
  // The grid line colours are applied before the grouping's, right after the search footer's.
  std::vector<const TVisualProp*> order;
  std::vector<const TVisualProp*> lines;
  for (const TVisualProp& p : Props)
    if (p.Key == QLatin1String("GridLineColor") || p.Key == QLatin1String("GridFixedLineColor"))
      lines.push_back(&p);
  for (const TVisualProp& p : Props) {
    if (std::find(lines.begin(), lines.end(), &p) != lines.end()) continue;
    order.push_back(&p);
    if (p.Key == QLatin1String("SearchFooter.ColorTo")) order.insert(order.end(), lines.begin(), lines.end()), lines.clear();
  }
  order.insert(order.end(), lines.begin(), lines.end());
  for (const TVisualProp* p : order) {
    TVisualValue v;
    switch (p->Kind) {
      case TVisualProp::vkColor: v.Color = r.Color(p->Key); break;
      case TVisualProp::vkBool: v.Bool = r.Bool(p->Key); break;
      case TVisualProp::vkInt: v.Int = r.Int(p->Key); break;
      case TVisualProp::vkFont: v.Font = r.Font(p->Key); break;
      case TVisualProp::vkEnum:
        if (!r.Enum(p->Key, p->Idents, v.Int)) continue;
        v.Ident = p->Idents[v.Int];
        break;
    }
    p->Set(v);
  }
}

}  // namespace grid
