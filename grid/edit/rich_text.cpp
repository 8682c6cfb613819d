#include "grid/edit/rich_text.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

#include "grid/extgrid.h"

namespace grid {

bool IsRtfText(const QString& Text) { return Text.startsWith(QStringLiteral("{\\rtf")); }

// ---------------------------------------------------------------- reading

namespace {

struct TRtfState {
  QTextCharFormat Format;
  int Uc = 1;          // characters that stand in for a \uN character
  bool Skip = false;   // inside a destination that is not text
  int Table = 0;       // 1 font table, 2 colour table
};

class TRtfReader {
 public:
  TRtfReader(const QString& Rtf, QTextDocument& Doc) : S(Rtf), Cursor(&Doc) {}

  void Run() {
    States.push_back(TRtfState{});
    while (P < S.size()) {
      const QChar c = S[P++];
      if (c == u'{') {
        Flush();
        States.push_back(States.back());
        FirstInGroup = true;
        continue;
      }
      if (c == u'}') {
        Flush();
        EndGroup();
        continue;
      }
      if (c == u'\\') {
        ControlSymbol();
        FirstInGroup = false;
        continue;
      }
      FirstInGroup = false;
      if (c == u'\r' || c == u'\n') continue;
      Text(c);
    }
    Flush();
  }

 private:
  TRtfState& St() { return States.back(); }

  void EndGroup() {
    if (St().Table == 1 && !FontName.isEmpty()) FontName.clear();
    if (States.size() > 1) States.pop_back();
  }

  void Text(QChar c) {
    TRtfState& st = St();
    if (st.Table == 1) {
      if (c == u';') {
        Fonts[FontIndex] = FontName.trimmed();
        FontName.clear();
      } else {
        FontName += c;
      }
      return;
    }
    if (st.Table == 2) {
      if (c == u';') {
        Colors.push_back(Color);
        Color = QColor(0, 0, 0);
      }
      return;
    }
    if (st.Skip) return;
    if (Pending.isEmpty()) PendingFormat = st.Format;
    else if (PendingFormat != st.Format) {
      Flush();
      PendingFormat = st.Format;
    }
    Pending += c;
  }

  void Flush() {
    if (Pending.isEmpty()) return;
    Cursor.insertText(Pending, PendingFormat);
    Pending.clear();
  }

  void ControlSymbol() {
    if (P >= S.size()) return;
    const QChar c = S[P];
    if (!c.isLetter()) {
      ++P;
      switch (c.unicode()) {
        case u'\\': case u'{': case u'}': Text(c); break;
        case u'\'': {
          const int v = S.mid(P, 2).toInt(nullptr, 16);
          P += 2;
          Text(QString::fromLatin1(QByteArray(1, static_cast<char>(v))).at(0));
          break;
        }
        case u'*': St().Skip = true; break;
        case u'~': Text(QChar(0xA0)); break;
        case u'_': Text(QChar(0x2011)); break;
        case u'\r': case u'\n': Paragraph(); break;
        default: break;
      }
      return;
    }
    QString word;
    while (P < S.size() && S[P].isLetter() && word.size() < 32) word += S[P++];
    bool hasParam = false;
    int param = 0;
    const int start = P;
    if (P < S.size() && (S[P] == u'-' || S[P].isDigit())) {
      ++P;
      while (P < S.size() && S[P].isDigit() && P - start < 10) ++P;
      param = S.mid(start, P - start).toInt(&hasParam);
    }
    if (P < S.size() && S[P] == u' ') ++P;
    Word(word, hasParam, param);
  }

  void SkipFallback() {
    for (int n = St().Uc; n > 0 && P < S.size(); --n) {
      if (S[P] == u'\\') {
        ++P;
        if (P < S.size() && S[P] == u'\'') P += 3;
        else
          while (P < S.size() && S[P].isLetterOrNumber()) ++P;
        if (P < S.size() && S[P] == u' ') ++P;
      } else if (S[P] == u'{' || S[P] == u'}') {
        break;
      } else {
        ++P;
      }
    }
  }

  void Paragraph() {
    if (St().Skip || St().Table) return;
    Flush();
    Cursor.insertBlock();
  }

  void Word(const QString& w, bool hasParam, int param) {
    TRtfState& st = St();
    static const QStringList skipped = {"stylesheet", "info", "pict", "header", "footer", "object", "themedata",
                                        "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "listtable",
                                        "listoverridetable", "rsidtbl", "generator", "footnote", "field", "fldinst"};
    if (w == u"fonttbl") { st.Table = 1; return; }
    if (w == u"colortbl") { st.Table = 2; return; }
    if (skipped.contains(w) && FirstInGroupWord()) { st.Skip = true; return; }
    if (st.Table == 1) {
      if (w == u"f") FontIndex = param;
      return;
    }
    if (st.Table == 2) {
      if (w == u"red") Color.setRed(param);
      else if (w == u"green") Color.setGreen(param);
      else if (w == u"blue") Color.setBlue(param);
      return;
    }
    const bool on = !hasParam || param != 0;
    QTextCharFormat& f = st.Format;
    if (w == u"par") Paragraph();
    else if (w == u"line") Text(QChar::LineSeparator);
    else if (w == u"tab") Text(u'\t');
    else if (w == u"b") f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    else if (w == u"i") f.setFontItalic(on);
    else if (w == u"ul") f.setFontUnderline(on);
    else if (w == u"ulnone") f.setFontUnderline(false);
    else if (w == u"strike") f.setFontStrikeOut(on);
    else if (w == u"fs" && hasParam && param > 0) f.setFontPointSize(param / 2.0);
    else if (w == u"cf" && hasParam) {
      if (param > 0 && param < static_cast<int>(Colors.size())) f.setForeground(Colors[static_cast<std::size_t>(param)]);
      else f.clearForeground();
    } else if (w == u"f" && hasParam && Fonts.contains(param)) f.setFontFamilies({Fonts[param]});
    else if (w == u"super") f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (w == u"sub") f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    else if (w == u"nosupersub") f.setVerticalAlignment(QTextCharFormat::AlignNormal);
    else if (w == u"plain") f = QTextCharFormat();
    else if (w == u"uc" && hasParam) st.Uc = std::max(0, param);
    else if (w == u"u" && hasParam) {
      Text(QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param)));
      SkipFallback();
    }
  }

  // A destination word counts as such right after its group's "{" (or "{\*").
  bool FirstInGroupWord() const { return FirstInGroup || St0().Skip; }
  const TRtfState& St0() const { return States.back(); }

  const QString& S;
  QTextCursor Cursor;
  int P = 0;
  std::vector<TRtfState> States;
  QString Pending;
  QTextCharFormat PendingFormat;
  bool FirstInGroup = false;
  QMap<int, QString> Fonts;
  int FontIndex = 0;
  QString FontName;
  std::vector<QColor> Colors;  // the colour table; entry 0 is the automatic colour
  QColor Color{0, 0, 0};
};

}  // namespace

void RtfToDocument(const QString& Rtf, QTextDocument& Doc) {
  Doc.clear();
  if (!IsRtfText(Rtf)) {
    Doc.setPlainText(Rtf);
    return;
  }
  TRtfReader(Rtf, Doc).Run();
}

// ---------------------------------------------------------------- writing

namespace {

QString Escaped(const QString& Text) {
  QString out;
  for (QChar c : Text) {
    const char16_t u = c.unicode();
    if (u == u'\\' || u == u'{' || u == u'}') out += u'\\' + QString(c);
    else if (u == u'\t') out += QStringLiteral("\\tab ");
    else if (u == QChar::LineSeparator) out += QStringLiteral("\\line ");
    else if (u >= 32 && u < 128) out += c;
    else if (u >= 32) out += QStringLiteral("\\u%1?").arg(static_cast<short>(u));
  }
  return out;
}

}  // namespace

QString DocumentToRtf(const QTextDocument& Doc) {
  QStringList fonts{Doc.defaultFont().family()};
  std::vector<QColor> colors;
  QString body;
  for (QTextBlock b = Doc.begin(); b.isValid(); b = b.next()) {
    if (b != Doc.begin()) body += QStringLiteral("\\par\n");
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      const QTextCharFormat f = frag.charFormat();
      QString codes = QStringLiteral("\\plain");
      const QStringList fam = f.fontFamilies().toStringList();
      if (!fam.isEmpty()) {
        if (!fonts.contains(fam.first())) fonts << fam.first();
        codes += QStringLiteral("\\f%1").arg(fonts.indexOf(fam.first()));
      }
      if (f.fontPointSize() > 0) codes += QStringLiteral("\\fs%1").arg(qRound(f.fontPointSize() * 2));
      if (f.fontWeight() >= QFont::Bold) codes += QStringLiteral("\\b");
      if (f.fontItalic()) codes += QStringLiteral("\\i");
      if (f.fontUnderline()) codes += QStringLiteral("\\ul");
      if (f.fontStrikeOut()) codes += QStringLiteral("\\strike");
      if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) codes += QStringLiteral("\\super");
      if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) codes += QStringLiteral("\\sub");
      if (f.hasProperty(QTextFormat::ForegroundBrush)) {
        const QColor c = f.foreground().color();
        auto at = std::find(colors.begin(), colors.end(), c);
        if (at == colors.end()) at = colors.insert(colors.end(), c);
        codes += QStringLiteral("\\cf%1").arg(at - colors.begin() + 1);
      }
      body += QStringLiteral("{") + codes + u' ' + Escaped(frag.text()) + u'}';
    }
  }
  QString head = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl");
  for (int i = 0; i < fonts.size(); ++i) head += QStringLiteral("{\\f%1 %2;}").arg(i).arg(Escaped(fonts[i]));
  head += QStringLiteral("}{\\colortbl;");
  for (const QColor& c : colors)
    head += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
  head += u'}';
  return head + u'\n' + body + QStringLiteral("}");
}

// ---------------------------------------------------------------- the rich editor

TExtRichEdit::TExtRichEdit(plat::TComponent* AOwner)
    : plat::TMemo(AOwner), FGrid(dynamic_cast<TExtStringGrid*>(AOwner)) {
  SetWantTabs(false);
  SetScrollBars(plat::ssNone);
  if (QPlainTextEdit* e = PlainTextEdit()) e->setFrameStyle(QFrame::NoFrame);
}

int TExtRichEdit::ReqWidth() const {
  const QPlainTextEdit* e = PlainTextEdit();
  return e ? qRound(e->document()->size().width()) : 0;
}

int TExtRichEdit::ReqHeight() const {
  const QPlainTextEdit* e = PlainTextEdit();
  return e ? qRound(e->document()->size().height() * e->fontMetrics().height()) : 0;
}

void TExtRichEdit::SetSelOffset(int Alignment) {
  QPlainTextEdit* e = PlainTextEdit();
  if (!e) return;
  QTextCharFormat f;
  f.setVerticalAlignment(static_cast<QTextCharFormat::VerticalAlignment>(Alignment));
  e->textCursor().mergeCharFormat(f);
}

int TExtRichEdit::SelOffset() const {
  const QPlainTextEdit* e = PlainTextEdit();
  return e ? e->textCursor().charFormat().verticalAlignment() : 0;
}

void TExtRichEdit::SelSubscript() { SetSelOffset(QTextCharFormat::AlignSubScript); }
void TExtRichEdit::SelSuperscript() { SetSelOffset(QTextCharFormat::AlignSuperScript); }
void TExtRichEdit::SelNormal() { SetSelOffset(QTextCharFormat::AlignNormal); }
bool TExtRichEdit::IsSelSubscript() const { return SelOffset() == QTextCharFormat::AlignSubScript; }
bool TExtRichEdit::IsSelSuperscript() const { return SelOffset() == QTextCharFormat::AlignSuperScript; }
bool TExtRichEdit::IsSelNormal() const { return SelOffset() == QTextCharFormat::AlignNormal; }

plat::LRESULT TExtRichEdit::DefaultDlgCode() const { return plat::TMemo::DefaultDlgCode() | plat::DLGC_WANTTAB; }

void TExtRichEdit::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
  plat::TMemo::KeyDown(Key, Shift);
  if (!FGrid || Key == 0) return;
  if (Key == plat::VK_TAB && FGrid->Options().Contains(plat::goTabs)) {
    std::uint16_t k = Key;
    Key = 0;
    FGrid->HideInplaceEdit();
    if (FGrid->CanFocus()) FGrid->SetFocus();
    FGrid->PassKeyToGrid(k, Shift);
    FGrid->ShowInplaceEdit();
  } else if ((Key == plat::VK_UP || Key == plat::VK_DOWN) && !FGrid->WordWrap() && !FGrid->Multilinecells()) {
    std::uint16_t k = Key;
    Key = 0;
    FGrid->HideInplaceEdit();
    if (FGrid->CanFocus()) FGrid->SetFocus();
    FGrid->PassKeyToGrid(k, Shift);
  }
}

void TExtRichEdit::Change() {
  plat::TMemo::Change();
  GrowRow();
}

void TExtRichEdit::GrowRow() {
  if (!FGrid || Locked || !Visible() || !FGrid->SizeWhileTyping()->Height || FGrid->ComponentState().Contains(plat::csDesigning)) return;
  if (FGrid->EditControl() != edRichEdit || !FGrid->EditMode()) return;
  const int row = FGrid->Row();
  const int need = ReqHeight();
  const plat::TRect cell = FGrid->CellRect(FGrid->Col(), row);
  if (FGrid->RowHeights(row) >= need + 5 || cell.Top + need + 5 > FGrid->ClientHeight()) return;
  SetHeight(need + 9);
  FGrid->SetRowHeights(row, need + 10);
  if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
}

void TExtRichEdit::Dispatch(plat::TMessage& Message) {
  if (Message.Msg == plat::WM_KILLFOCUS && FGrid && Visible() && !FGrid->EditState().BlockKill)
    FGrid->HideInplaceEdit();
  plat::TMemo::Dispatch(Message);
}

}  // namespace grid
