#include "platform/grids/editmask.h"

#include <algorithm>

namespace plat {

namespace {
// The mask's fields: the mask itself (where "\;" is a literal semicolon), then the save and blank fields.
void SplitFields(const QString& mask, QString& body, QString& save, QString& blank) {
  std::vector<int> cuts;  // unescaped semicolons
  for (int i = 0; i < mask.size(); ++i) {
    if (mask[i] == u'\\') {
      ++i;
      continue;
    }
    if (mask[i] == u';') cuts.push_back(i);
  }
  if (cuts.empty()) {
    body = mask;
    return;
  }
  if (cuts.size() >= 2) {
    const int a = cuts[cuts.size() - 2], b = cuts.back();
    body = mask.left(a);
    save = mask.mid(a + 1, b - a - 1);
    blank = mask.mid(b + 1);
  } else {
    body = mask.left(cuts.back());
    save = mask.mid(cuts.back() + 1);
  }
}
}  // namespace

TEditMask::TEditMask(const QString& mask) {
  QString body, save, blank;
  SplitFields(mask, body, save, blank);
  if (save == u"0") FSaveLiterals = false;
  if (!blank.isEmpty()) FBlank = blank[0];
  Case current = AsTyped;
  for (int i = 0; i < body.size(); ++i) {
    const QChar c = body[i];
    Position p;
    p.charCase = current;
    switch (c.unicode()) {
      case u'>':
        if (i + 1 < body.size() && body[i + 1] == u'<') {
          current = AsTyped;
          ++i;
        } else {
          current = Upper;
        }
        continue;
      case u'<': current = Lower; continue;
      case u'!': continue;
      case u'\\':
        if (++i < body.size()) p.literal = body[i];
        break;
      case u'_': p.literal = u' '; break;
      case u'L': p.kind = Letter; p.required = true; break;
      case u'l': p.kind = Letter; break;
      case u'A': p.kind = AlphaNum; p.required = true; break;
      case u'a': p.kind = AlphaNum; break;
      case u'C': p.kind = AnyChar; p.required = true; break;
      case u'c': p.kind = AnyChar; break;
      case u'0': p.kind = Digit; p.required = true; break;
      case u'9': p.kind = Digit; break;
      case u'#': p.kind = DigitOrSign; break;
      default: p.literal = c; break;
    }
    if (p.kind == Literal && p.literal.isNull()) continue;
    if (p.kind != Literal) ++FInputs;
    FPos.push_back(p);
  }
}

QString TEditMask::Display(const QString& value) const {
  QString out;
  out.reserve(Length());
  int v = 0;
  for (int i = 0; i < Length(); ++i) {
    const Position& p = FPos[i];
    if (p.kind == Literal) {
      out += p.literal;
      if (FSaveLiterals && v < value.size() && value[v] == p.literal) ++v;
      continue;
    }
    QChar c = v < value.size() ? value[v++] : QChar(u' ');
    const QChar taken = c == u' ' ? QChar() : Accept(i, c);
    out += taken.isNull() ? FBlank : taken;
  }
  return out;
}

QString TEditMask::Value(const QString& display) const {
  QString out;
  for (int i = 0; i < Length() && i < display.size(); ++i) {
    if (FPos[i].kind == Literal) {
      if (FSaveLiterals) out += FPos[i].literal;
      continue;
    }
    out += display[i] == FBlank ? QChar(u' ') : display[i];
  }
  return out;
}

int TEditMask::NextInput(int pos) const {
  for (int i = std::max(pos, 0); i < Length(); ++i)
    if (IsInput(i)) return i;
  return -1;
}

int TEditMask::PrevInput(int pos) const {
  for (int i = std::min(pos, Length() - 1); i >= 0; --i)
    if (IsInput(i)) return i;
  return -1;
}

QChar TEditMask::Accept(int pos, QChar ch) const {
  if (!IsInput(pos)) return QChar();
  const Position& p = FPos[pos];
  bool ok = false;
  switch (p.kind) {
    case Letter: ok = ch.isLetter(); break;
    case AlphaNum: ok = ch.isLetterOrNumber(); break;
    case AnyChar: ok = ch.isPrint(); break;
    case Digit: ok = ch >= u'0' && ch <= u'9'; break;
    case DigitOrSign: ok = (ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-'; break;
    case Literal: break;
  }
  if (!ok) return QChar();
  if (p.charCase == Upper) return ch.toUpper();
  if (p.charCase == Lower) return ch.toLower();
  return ch;
}

bool TEditMask::Complete(const QString& display) const {
  for (int i = 0; i < Length(); ++i)
    if (FPos[i].required && (i >= display.size() || display[i] == FBlank)) return false;
  return true;
}

bool TEditMask::Type(QString& display, int& caret, int selLength, QChar ch) const {
  const int pos = NextInput(caret);
  if (pos < 0) return false;
  const QChar taken = Accept(pos, ch);
  if (taken.isNull()) return false;
  if (display.size() < Length()) display = Display(Value(display));
  for (int i = caret, end = std::min(caret + selLength, static_cast<int>(display.size())); i < end; ++i)
    if (IsInput(i)) display[i] = FBlank;
  display[pos] = taken;
  const int next = NextInput(pos + 1);
  caret = next < 0 ? pos + 1 : next;
  return true;
}

bool TEditMask::Clear(QString& display, int& caret, bool backwards) const {
  const int pos = backwards ? PrevInput(caret - 1) : NextInput(caret);
  if (pos < 0 || pos >= display.size()) return false;
  display[pos] = FBlank;
  caret = pos;
  return true;
}

}  // namespace plat
