#include "platform/forms/stdctrls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/forms/forms.h"
#include "platform/forms/host.h"
#include "platform/graphics/canvas.h"
#include "platform/rtl/exceptions.h"

namespace plat {

using detail::Guarded;
using detail::MakeHost;
using detail::THost;
using detail::TScrollAreaHost;

namespace {

[[noreturn]] void IndexError(int i) {
  throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(i));
}

QString CrLf(const QString& s) {
  QString r = s;
  r.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  r.replace(u'\r', u'\n');
  r.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return r;
}

QString Lf(const QString& s) {
  QString r = s;
  r.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  r.replace(u'\r', u'\n');
  return r;
}

Qt::Alignment QtAlign(TAlignment a) {
  switch (a) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
  }
}

// A list of lines kept beside a Qt item widget: the texts live in the widget, the objects here.
class TWidgetStrings : public TStrings {
 public:
  int Count() const override { return static_cast<int>(FObjects.size()); }
  QString Get(int Index) const override {
    Check(Index);
    return ItemText(Index);
  }
  void Put(int Index, const QString& S) override {
    Check(Index);
    SetItemText(Index, S);
  }
  TObject* GetObject(int Index) const override {
    Check(Index);
    return FObjects[static_cast<std::size_t>(Index)];
  }
  void PutObject(int Index, TObject* Object) override {
    Check(Index);
    FObjects[static_cast<std::size_t>(Index)] = Object;
  }
  void Insert(int Index, const QString& S) override {
    if (Index < 0 || Index > Count()) IndexError(Index);
    InsertItem(Index, S);
    FObjects.insert(FObjects.begin() + Index, nullptr);
  }
  void Delete(int Index) override {
    Check(Index);
    DeleteItem(Index);
    FObjects.erase(FObjects.begin() + Index);
  }
  void Clear() override {
    ClearItems();
    FObjects.clear();
  }

 protected:
  virtual QString ItemText(int i) const = 0;
  virtual void SetItemText(int i, const QString& s) = 0;
  virtual void InsertItem(int i, const QString& s) = 0;
  virtual void DeleteItem(int i) = 0;
  virtual void ClearItems() = 0;

 private:
  void Check(int i) const {
    if (i < 0 || i >= Count()) IndexError(i);
  }
  std::vector<TObject*> FObjects;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Labels

QString StripAccelChars(const QString& Caption, int* MnemonicIndex) {
  QString out;
  out.reserve(Caption.size());
  int mnemonic = -1;
  for (int i = 0; i < Caption.size(); ++i) {
    const QChar c = Caption.at(i);
    if (c != u'&') {
      out += c;
      continue;
    }
    if (i + 1 >= Caption.size()) break;  // a lone "&" at the end shows nothing
    const QChar next = Caption.at(i + 1);
    if (next == u'&') {
      out += u'&';
      ++i;
      continue;
    }
    if (mnemonic < 0) mnemonic = static_cast<int>(out.size());
  }
  if (MnemonicIndex) *MnemonicIndex = mnemonic;
  return out;
}

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner, MakeHost<THost<QLabel>>(this)) {
  FControlStyle.Include(csOpaque);
  Widget()->setFocusPolicy(Qt::NoFocus);
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
  UpdateLabel();
}

QLabel* TLabel::Label() const { return static_cast<QLabel*>(Widget()); }

QString TLabel::DisplayText() const { return FShowAccelChar ? StripAccelChars(FText) : FText; }

void TLabel::UpdateLabel() {
  QLabel* l = Label();
  if (!l) return;
  int mnemonic = -1;
  const QString shown = FShowAccelChar ? StripAccelChars(FText, &mnemonic) : FText;
  if (mnemonic >= 0) {
    // Rich text only to underline the mnemonic; everything else is escaped.
    QString html = shown.left(mnemonic).toHtmlEscaped() + QStringLiteral("<u>") +
                   shown.mid(mnemonic, 1).toHtmlEscaped() + QStringLiteral("</u>") +
                   shown.mid(mnemonic + 1).toHtmlEscaped();
    html.replace(QStringLiteral("\n"), QStringLiteral("<br>"));
    l->setTextFormat(Qt::RichText);
    l->setText(html);
  } else {
    l->setTextFormat(Qt::PlainText);
    l->setText(shown);
  }
  Qt::Alignment a = QtAlign(FAlignment);
  switch (FLayout) {
    case tlCenter: a |= Qt::AlignVCenter; break;
    case tlBottom: a |= Qt::AlignBottom; break;
    default: a |= Qt::AlignTop; break;
  }
  l->setAlignment(a);
  l->setWordWrap(FWordWrap);
  l->setAutoFillBackground(!FTransparent);
  l->setAttribute(Qt::WA_TranslucentBackground, FTransparent);
  l->setObjectName(Name());
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || !Label()) return;
  QLabel* l = Label();
  if (FWordWrap) {
    const int h = l->heightForWidth(std::max(1, Width()));
    SetBounds(Left(), Top(), Width(), h > 0 ? h : l->sizeHint().height());
  } else {
    const QSize s = l->sizeHint();
    SetBounds(Left(), Top(), s.width(), s.height());
  }
}

void TLabel::TextChanged() { UpdateLabel(); }

void TLabel::SetFocusControl(TWinControl* v) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}
void TLabel::FontChanged() {
  TControl::FontChanged();
  AdjustBounds();
}
void TLabel::ColorChanged() {
  TControl::ColorChanged();
  if (Label()) Label()->setAutoFillBackground(!FTransparent);
}
void TLabel::SetAutoSize(bool v) {
  FAutoSize = v;
  AdjustBounds();
}
void TLabel::SetWordWrap(bool v) {
  FWordWrap = v;
  UpdateLabel();
}
void TLabel::SetAlignment(TAlignment v) {
  FAlignment = v;
  UpdateLabel();
}
void TLabel::SetLayout(TTextLayout v) {
  FLayout = v;
  UpdateLabel();
}
void TLabel::SetTransparent(bool v) {
  FTransparent = v;
  UpdateLabel();
}
void TLabel::SetShowAccelChar(bool v) {
  FShowAccelChar = v;
  UpdateLabel();
}

// ---------------------------------------------------------------------------------------------------------
// Edits

TCustomEdit::TCustomEdit(TComponent* AOwner, QWidget* Host) : TWinControl(AOwner, Host) {
  SetTabStop(true);
  SetColor(clWindow);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner, MakeHost<THost<QLineEdit>>(this)) {
  SetBounds(0, 0, 121, 21);
  QLineEdit* e = LineEdit();
  QObject::connect(e, &QLineEdit::textChanged, e, [this](const QString&) { Guarded(this, [this] { Change(); }); });
  // Typed and pasted text follows CharCase.
  QObject::connect(e, &QLineEdit::textEdited, e, [this, e](const QString& t) {
    if (FCharCase == ecNormal) return;
    const QString want = FCharCase == ecUpperCase ? t.toUpper() : t.toLower();
    if (want == t) return;
    const int pos = e->cursorPosition();
    e->setText(want);
    e->setCursorPosition(pos);
  });
}

QLineEdit* TEdit::LineEdit() const { return static_cast<QLineEdit*>(Widget()); }

QString TEdit::GetText() const { return LineEdit() ? LineEdit()->text() : FText; }

void TEdit::TextChanged() {
  if (LineEdit()) LineEdit()->setText(FText);
}

void TEdit::SetMaxLength(int v) {
  FMaxLength = v < 0 ? 0 : v;
  LineEdit()->setMaxLength(FMaxLength == 0 ? 32767 : FMaxLength);
}

void TEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  LineEdit()->setReadOnly(v);
}

void TEdit::SetPasswordChar(char16_t v) {
  FPasswordChar = v;
  LineEdit()->setEchoMode(v == 0 ? QLineEdit::Normal : QLineEdit::Password);
}

void TEdit::SetAlignment(TAlignment v) {
  FAlignment = v;
  LineEdit()->setAlignment(QtAlign(v) | Qt::AlignVCenter);
}

void TEdit::SetCharCase(TEditCharCase v) {
  FCharCase = v;
  if (v == ecUpperCase) SetText(Text().toUpper());
  if (v == ecLowerCase) SetText(Text().toLower());
}

int TEdit::SelStart() const {
  QLineEdit* e = LineEdit();
  return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TEdit::SetSelStart(int v) {
  LineEdit()->deselect();
  LineEdit()->setCursorPosition(std::clamp(v, 0, static_cast<int>(LineEdit()->text().size())));
}

int TEdit::SelLength() const { return static_cast<int>(LineEdit()->selectedText().size()); }

void TEdit::SetSelLength(int v) {
  const int start = SelStart();
  LineEdit()->setSelection(start, std::max(0, v));
}

QString TEdit::SelText() const { return LineEdit()->selectedText(); }

void TEdit::SetSelText(const QString& v) { LineEdit()->insert(v); }

void TEdit::SelectAll() { LineEdit()->selectAll(); }

bool TEdit::Modified() const { return LineEdit()->isModified(); }
void TEdit::SetModified(bool v) { LineEdit()->setModified(v); }

LRESULT TEdit::DefaultDlgCode() const { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL; }

namespace {

// The clipboard and undo messages, alike for the one-line and the multi-line editor; false for any other.
template <class Editor>
bool EditorCommand(Editor* e, const TMessage& M, bool readOnly) {
  switch (M.Msg) {
    case WM_CUT:
      if (!readOnly) e->cut();
      return true;
    case WM_COPY: e->copy(); return true;
    case WM_PASTE:
      if (!readOnly) e->paste();
      return true;
    case WM_UNDO:
    case EM_UNDO: e->undo(); return true;
    default: return false;
  }
}

}  // namespace

void TEdit::DefaultHandler(TMessage& M) {
  QLineEdit* e = LineEdit();
  if (EditorCommand(e, M, FReadOnly)) return;
  switch (M.Msg) {
    case WM_CLEAR:
      if (!FReadOnly) e->del();
      return;
    case EM_SETSEL: {
      const int s = static_cast<int>(M.WParam), en = static_cast<int>(M.LParam);
      if (s < 0) {
        e->deselect();
      } else {
        const int len = static_cast<int>(e->text().size());
        const int to = en < 0 ? len : std::min(en, len);
        e->setSelection(std::min(s, len), to - std::min(s, len));
      }
      return;
    }
    case EM_GETSEL:
      M.Result = MakeLParam(SelStart(), SelStart() + SelLength());
      return;
    case EM_LIMITTEXT: SetMaxLength(static_cast<int>(M.WParam)); return;
    case EM_SETREADONLY: SetReadOnly(M.WParam != 0); return;
    case EM_GETMODIFY: M.Result = Modified() ? 1 : 0; return;
    case EM_SETMODIFY: SetModified(M.WParam != 0); return;
    case WM_GETTEXTLENGTH: M.Result = e->text().size(); return;
    default: TCustomEdit::DefaultHandler(M); return;
  }
}

// Memo lines: one line per text block of the document.
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TMemo* m) : FMemo(m) {}
  int Count() const override {
    const QString t = Doc();
    if (t.isEmpty()) return 0;
    int n = static_cast<int>(t.count(u'\n')) + 1;
    if (t.endsWith(u'\n')) --n;  // a final line break adds no line
    return n;
  }
  QString Get(int Index) const override {
    const QStringList l = Lines();
    if (Index < 0 || Index >= l.size()) IndexError(Index);
    return l.at(Index);
  }
  void Put(int Index, const QString& S) override {
    QStringList l = Lines();
    if (Index < 0 || Index >= l.size()) IndexError(Index);
    l[Index] = Lf(S);
    SetLines(l);
  }
  void Insert(int Index, const QString& S) override {
    QStringList l = Lines();
    if (Index < 0 || Index > l.size()) IndexError(Index);
    l.insert(Index, Lf(S));
    SetLines(l);
  }
  void Delete(int Index) override {
    QStringList l = Lines();
    if (Index < 0 || Index >= l.size()) IndexError(Index);
    l.removeAt(Index);
    SetLines(l);
  }
  void Clear() override { FMemo->PlainTextEdit()->clear(); }
  void SetText(const QString& Value) override { FMemo->PlainTextEdit()->setPlainText(Lf(Value)); }

 private:
  QString Doc() const { return FMemo->PlainTextEdit()->toPlainText(); }
  QStringList Lines() const {
    if (Count() == 0) return {};
    QString t = Doc();
    if (t.endsWith(u'\n')) t.chop(1);
    return t.split(u'\n');
  }
  void SetLines(const QStringList& l) { FMemo->PlainTextEdit()->setPlainText(l.join(u'\n')); }
  TMemo* FMemo;
};

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner, MakeHost<TScrollAreaHost<QPlainTextEdit>>(this)) {
  FLines = std::make_unique<TMemoStrings>(this);
  SetBounds(0, 0, 185, 89);
  QPlainTextEdit* e = PlainTextEdit();
  e->setTabChangesFocus(false);
  e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QObject::connect(e, &QPlainTextEdit::textChanged, e, [this] { Guarded(this, [this] { Change(); }); });
}

TMemo::~TMemo() = default;

QPlainTextEdit* TMemo::PlainTextEdit() const { return static_cast<QPlainTextEdit*>(Widget()); }

QString TMemo::GetText() const { return PlainTextEdit() ? CrLf(PlainTextEdit()->toPlainText()) : FText; }

void TMemo::TextChanged() {
  if (PlainTextEdit()) PlainTextEdit()->setPlainText(Lf(FText));
}

void TMemo::SetMaxLength(int v) { FMaxLength = v < 0 ? 0 : v; }

void TMemo::SetReadOnly(bool v) {
  FReadOnly = v;
  PlainTextEdit()->setReadOnly(v);
}

void TMemo::SetWordWrap(bool v) {
  FWordWrap = v;
  PlainTextEdit()->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle v) {
  FScrollBars = v;
  PlainTextEdit()->setVerticalScrollBarPolicy(v == ssVertical || v == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                             : Qt::ScrollBarAlwaysOff);
  PlainTextEdit()->setHorizontalScrollBarPolicy(v == ssHorizontal || v == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                                 : Qt::ScrollBarAlwaysOff);
}

int TMemo::SelStart() const { return PlainTextEdit()->textCursor().selectionStart(); }

void TMemo::SetSelStart(int v) {
  QTextCursor c = PlainTextEdit()->textCursor();
  c.setPosition(std::clamp(v, 0, static_cast<int>(PlainTextEdit()->document()->characterCount()) - 1));
  PlainTextEdit()->setTextCursor(c);
}

int TMemo::SelLength() const {
  const QTextCursor c = PlainTextEdit()->textCursor();
  return c.selectionEnd() - c.selectionStart();
}

void TMemo::SetSelLength(int v) {
  QTextCursor c = PlainTextEdit()->textCursor();
  const int start = c.selectionStart();
  const int last = static_cast<int>(PlainTextEdit()->document()->characterCount()) - 1;
  c.setPosition(start);
  c.setPosition(std::clamp(start + v, 0, last), QTextCursor::KeepAnchor);
  PlainTextEdit()->setTextCursor(c);
}

QString TMemo::SelText() const {
  return PlainTextEdit()->textCursor().selectedText().replace(QChar(0x2029), QStringLiteral("\r\n"));
}

void TMemo::SetSelText(const QString& v) { PlainTextEdit()->insertPlainText(Lf(v)); }
void TMemo::SelectAll() { PlainTextEdit()->selectAll(); }
bool TMemo::Modified() const { return PlainTextEdit()->document()->isModified(); }
void TMemo::SetModified(bool v) { PlainTextEdit()->document()->setModified(v); }

LRESULT TMemo::DefaultDlgCode() const {
  LRESULT r = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
  if (FWantTabs) r |= DLGC_WANTTAB;
  if (FWantReturns) r |= DLGC_WANTALLKEYS;
  return r;
}

void TMemo::DefaultHandler(TMessage& M) {
  QPlainTextEdit* e = PlainTextEdit();
  if (EditorCommand(e, M, FReadOnly)) return;
  switch (M.Msg) {
    case WM_CHAR:
      // Return and Tab type only when the memo wants them.
      if ((M.WParam == 13 && !FWantReturns) || (M.WParam == 9 && !FWantTabs)) return;
      TCustomEdit::DefaultHandler(M);
      return;
    default: TCustomEdit::DefaultHandler(M); return;
  }
}

// ---------------------------------------------------------------------------------------------------------
// Combo box

namespace {

class ComboHost : public THost<QComboBox> {
 public:
  using THost<QComboBox>::THost;
  void showPopup() override {
    QComboBox::showPopup();
    auto* c = dynamic_cast<TComboBox*>(FControl);
    if (!c) return;
    QWidget* popup = view() ? view()->window() : nullptr;
    if (popup && popup != window() && c->DroppedWidth() > width()) {
      const QPoint at = popup->pos();
      popup->resize(c->DroppedWidth(), popup->height());
      if (c->DropDownAlignRight()) popup->move(mapToGlobal(QPoint(width() - c->DroppedWidth(), 0)).x(), at.y());
    }
    Guarded(c, [c] { c->DropDownShown(); });
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (auto* c = dynamic_cast<TComboBox*>(FControl)) Guarded(c, [c] { c->DropDownHidden(); });
  }
};

class TComboBoxStrings : public TWidgetStrings {
 public:
  explicit TComboBoxStrings(TComboBox* c) : FCombo(c) {}

 protected:
  QString ItemText(int i) const override { return FCombo->ComboBox()->itemText(i); }
  void SetItemText(int i, const QString& s) override { FCombo->ComboBox()->setItemText(i, s); }
  void InsertItem(int i, const QString& s) override {
    QComboBox* cb = FCombo->ComboBox();
    const QString keep = cb->isEditable() ? cb->currentText() : QString();
    const int index = cb->currentIndex();
    QSignalBlocker block(cb);
    cb->insertItem(i, s);
    // Adding items never selects one: the index stays where it was (or -1).
    cb->setCurrentIndex(index < 0 ? -1 : (i <= index ? index + 1 : index));
    if (cb->isEditable() && index < 0) cb->setEditText(keep);
  }
  void DeleteItem(int i) override {
    QComboBox* cb = FCombo->ComboBox();
    QSignalBlocker block(cb);
    const QString keep = cb->isEditable() ? cb->currentText() : QString();
    const int index = cb->currentIndex();
    cb->removeItem(i);
    if (index == i) {
      cb->setCurrentIndex(-1);
      if (cb->isEditable()) cb->setEditText(keep);
    }
  }
  void ClearItems() override {
    QComboBox* cb = FCombo->ComboBox();
    QSignalBlocker block(cb);
    const QString keep = cb->isEditable() ? cb->currentText() : QString();
    cb->clear();
    if (cb->isEditable()) cb->setEditText(keep);
  }

 private:
  TComboBox* FCombo;
};

}  // namespace

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner, MakeHost<ComboHost>(this)) {
  FItems = std::make_unique<TComboBoxStrings>(this);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 145, 21);
  QComboBox* cb = ComboBox();
  cb->setInsertPolicy(QComboBox::NoInsert);
  SetStyle(csDropDown);
  cb->setMaxVisibleItems(FDropDownCount);
  QObject::connect(cb, qOverload<int>(&QComboBox::activated), cb, [this](int) {
    Guarded(this, [this] {
      Select();
      Change();
    });
  });
}

TComboBox::~TComboBox() = default;

QComboBox* TComboBox::ComboBox() const { return static_cast<QComboBox*>(Widget()); }

void TComboBox::SetStyle(TComboBoxStyle v) {
  FStyle = v;
  QComboBox* cb = ComboBox();
  const bool editable = v == csDropDown || v == csSimple;
  if (editable == cb->isEditable() && cb->lineEdit() != nullptr) return;
  cb->setEditable(editable);
  if (editable && cb->lineEdit()) {
    QLineEdit* le = cb->lineEdit();
    le->setMaxLength(FMaxLength == 0 ? 32767 : FMaxLength);
    QObject::connect(le, &QLineEdit::textEdited, cb, [this](const QString&) { Guarded(this, [this] { Change(); }); });
  }
}

int TComboBox::ItemIndex() const { return ComboBox()->currentIndex(); }

void TComboBox::SetItemIndex(int v) {
  QComboBox* cb = ComboBox();
  QSignalBlocker block(cb);
  if (v < -1 || v >= cb->count()) v = -1;
  cb->setCurrentIndex(v);
  if (v < 0 && cb->isEditable()) cb->setEditText(QString());
}

void TComboBox::SetDropDownCount(int v) {
  FDropDownCount = v;
  ComboBox()->setMaxVisibleItems(std::max(1, v));
}

bool TComboBox::DroppedDown() const {
  QComboBox* cb = ComboBox();
  return cb->view() && cb->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool v) {
  if (v)
    ComboBox()->showPopup();
  else
    ComboBox()->hidePopup();
}

void TComboBox::SetMaxLength(int v) {
  FMaxLength = v < 0 ? 0 : v;
  if (QLineEdit* le = ComboBox()->lineEdit()) le->setMaxLength(FMaxLength == 0 ? 32767 : FMaxLength);
}

int TComboBox::SelStart() const {
  QLineEdit* le = ComboBox()->lineEdit();
  if (!le) return 0;
  return le->hasSelectedText() ? le->selectionStart() : le->cursorPosition();
}

void TComboBox::SetSelStart(int v) {
  if (QLineEdit* le = ComboBox()->lineEdit()) {
    le->deselect();
    le->setCursorPosition(v);
  }
}

int TComboBox::SelLength() const {
  QLineEdit* le = ComboBox()->lineEdit();
  return le ? static_cast<int>(le->selectedText().size()) : 0;
}

void TComboBox::SetSelLength(int v) {
  if (QLineEdit* le = ComboBox()->lineEdit()) le->setSelection(SelStart(), std::max(0, v));
}

void TComboBox::Clear() {
  FItems->Clear();
  SetText(QString());
}

void TComboBox::DefaultHandler(TMessage& M) {
  switch (M.Msg) {
    case CB_SETDROPPEDWIDTH:
      SetDroppedWidth(static_cast<int>(M.WParam));
      M.Result = std::max(FDroppedWidth, Width());
      return;
    case CB_GETCURSEL: M.Result = ItemIndex(); return;
    case CB_SETCURSEL:
      SetItemIndex(static_cast<int>(M.WParam));
      M.Result = ItemIndex();
      return;
    case CB_GETDROPPEDSTATE: M.Result = DroppedDown() ? 1 : 0; return;
    case CB_SHOWDROPDOWN: SetDroppedDown(M.WParam != 0); return;
    default: TWinControl::DefaultHandler(M); return;
  }
}

QString TComboBox::GetText() const { return ComboBox() ? ComboBox()->currentText() : FText; }

void TComboBox::TextChanged() {
  QComboBox* cb = ComboBox();
  QSignalBlocker block(cb);
  if (cb->isEditable()) {
    const int i = cb->findText(FText, Qt::MatchFixedString);
    cb->setCurrentIndex(i);
    cb->setEditText(FText);
  } else {
    cb->setCurrentIndex(cb->findText(FText, Qt::MatchFixedString));
  }
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}
void TComboBox::Select() {
  if (OnSelect) OnSelect(this);
}
void TComboBox::DropDownShown() {
  if (OnDropDown) OnDropDown(this);
}
void TComboBox::DropDownHidden() {
  if (OnCloseUp) OnCloseUp(this);
}

// ---------------------------------------------------------------------------------------------------------
// Buttons

TButtonControl::TButtonControl(TComponent* AOwner, QWidget* Host) : TWinControl(AOwner, Host) {
  SetTabStop(true);
  // Clicks come from the Qt button itself (mouse, space bar), not from the mouse-up rule.
  FControlStyle.Exclude(csClickEvents);
  Widget()->setFocusPolicy(Qt::StrongFocus);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner, MakeHost<THost<QPushButton>>(this)) {
  SetBounds(0, 0, 75, 25);
  QPushButton* b = PushButton();
  b->setAutoDefault(false);
  QObject::connect(b, &QPushButton::clicked, b, [this] { Guarded(this, [this] { Click(); }); });
}

QPushButton* TButton::PushButton() const { return static_cast<QPushButton*>(Widget()); }

void TButton::TextChanged() { PushButton()->setText(FText); }

void TButton::SetDefault(bool v) {
  FDefault = v;
  PushButton()->setDefault(v);
}

void TButton::Click() {
  if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FModalResult);
  TButtonControl::Click();
}

LRESULT TButton::DefaultDlgCode() const {
  return DLGC_BUTTON | (FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TButton::Dispatch(TMessage& M) {
  if (M.Msg == CM_DIALOGKEY) {
    const auto key = static_cast<std::uint16_t>(M.WParam);
    bool active = FDefault;
    TCustomForm* f = GetParentForm(this);
    if (f && f->ActiveControl() && dynamic_cast<TButton*>(f->ActiveControl())) active = f->ActiveControl() == this;
    if (((key == VK_RETURN && active) || (key == VK_ESCAPE && FCancel)) && KeyDataToShiftState(M.LParam).Empty() &&
        CanFocus()) {
      Click();
      M.Result = 1;
      return;
    }
  }
  TButtonControl::Dispatch(M);
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner, MakeHost<THost<QCheckBox>>(this)) {
  SetBounds(0, 0, 97, 17);
  QCheckBox* b = CheckBox();
  QObject::connect(b, &QCheckBox::stateChanged, b, [this](int) { Guarded(this, [this] { Click(); }); });
}

QCheckBox* TCheckBox::CheckBox() const { return static_cast<QCheckBox*>(Widget()); }

TCheckBoxState TCheckBox::State() const {
  switch (CheckBox()->checkState()) {
    case Qt::Checked: return cbChecked;
    case Qt::PartiallyChecked: return cbGrayed;
    default: return cbUnchecked;
  }
}

void TCheckBox::SetState(TCheckBoxState v) {
  if (v == cbGrayed && !FAllowGrayed) CheckBox()->setTristate(true);
  CheckBox()->setCheckState(v == cbChecked ? Qt::Checked : v == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
}

void TCheckBox::SetAllowGrayed(bool v) {
  FAllowGrayed = v;
  CheckBox()->setTristate(v);
}

void TCheckBox::TextChanged() { CheckBox()->setText(FText); }

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, MakeHost<THost<QRadioButton>>(this)) {
  SetBounds(0, 0, 113, 17);
  QRadioButton* b = RadioButton();
  QObject::connect(b, &QRadioButton::toggled, b, [this](bool on) {
    if (on) Guarded(this, [this] { Click(); });
  });
}

QRadioButton* TRadioButton::RadioButton() const { return static_cast<QRadioButton*>(Widget()); }
bool TRadioButton::Checked() const { return RadioButton()->isChecked(); }

void TRadioButton::SetChecked(bool v) {
  QRadioButton* b = RadioButton();
  if (!v && b->isChecked()) {
    // An exclusive radio cannot be unchecked directly.
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  } else {
    b->setChecked(v);
  }
}

void TRadioButton::TextChanged() { RadioButton()->setText(FText); }

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner, MakeHost<THost<QGroupBox>>(this)) {
  SetBounds(0, 0, 185, 105);
}

QGroupBox* TGroupBox::GroupBox() const { return static_cast<QGroupBox*>(Widget()); }
void TGroupBox::TextChanged() { GroupBox()->setTitle(FText); }

// ---------------------------------------------------------------------------------------------------------
// List box

class TListBoxStrings : public TWidgetStrings {
 public:
  explicit TListBoxStrings(TListBox* l) : FList(l) {}

 protected:
  QString ItemText(int i) const override { return FList->ListWidget()->item(i)->text(); }
  void SetItemText(int i, const QString& s) override { FList->ListWidget()->item(i)->setText(s); }
  void InsertItem(int i, const QString& s) override {
    FList->FSettingIndex = true;
    FList->ListWidget()->insertItem(i, s);
    FList->FSettingIndex = false;
  }
  void DeleteItem(int i) override {
    FList->FSettingIndex = true;
    delete FList->ListWidget()->takeItem(i);
    FList->FSettingIndex = false;
  }
  void ClearItems() override {
    FList->FSettingIndex = true;
    FList->ListWidget()->clear();
    FList->FSettingIndex = false;
  }

 private:
  TListBox* FList;
};

namespace {

class OwnerDrawDelegate : public QStyledItemDelegate {
 public:
  OwnerDrawDelegate(TListBox* list, QObject* parent) : QStyledItemDelegate(parent), FList(list) {}

  void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
    if (FList->Style() == lbStandard || opt.rect.isEmpty()) {
      QStyledItemDelegate::paint(p, opt, index);
      return;
    }
    QImage img(opt.rect.size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(ToQColor(FList->Color()));
    TCanvas* c = FList->Canvas();
    c->SetDevice(&img);
    c->SetWindowOrg(TPoint(opt.rect.x(), opt.rect.y()));
    c->Font()->Assign(*FList->Font());
    TOwnerDrawState state;
    if (opt.state & QStyle::State_Selected) state.Include(odSelected);
    if (opt.state & QStyle::State_HasFocus) state.Include(odFocused);
    if (!(opt.state & QStyle::State_Enabled)) state.Include(odDisabled);
    if (state.Contains(odSelected)) {
      c->Brush()->SetColor(clHighlight);
      c->Font()->SetColor(clHighlightText);
    } else {
      c->Brush()->SetColor(FList->Color());
    }
    const TRect r = FromQRect(opt.rect);
    Guarded(FList, [&] { FList->DrawItem(index.row(), r, state); });
    c->SetDevice(nullptr);
    p->drawImage(opt.rect.topLeft(), img);
  }

  QSize sizeHint(const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
    if (FList->Style() == lbStandard) return QStyledItemDelegate::sizeHint(opt, index);
    return QSize(opt.rect.width(), FList->ItemHeight());
  }

 private:
  TListBox* FList;
};

}  // namespace

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner, MakeHost<TScrollAreaHost<QListWidget>>(this)) {
  FItems = std::make_unique<TListBoxStrings>(this);
  FCanvas = std::make_unique<TCanvas>();
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
  FControlStyle.Exclude(csClickEvents);
  QListWidget* l = ListWidget();
  l->setSelectionMode(QAbstractItemView::SingleSelection);
  QObject::connect(l, &QListWidget::currentRowChanged, l, [this](int) {
    if (!FSettingIndex) Guarded(this, [this] { Click(); });
  });
  QObject::connect(l, &QListWidget::itemDoubleClicked, l,
                   [this](QListWidgetItem*) { Guarded(this, [this] { DblClick(); }); });
  l->setItemDelegate(new OwnerDrawDelegate(this, l));
}

void TListBox::SetStyle(TListBoxStyle v) {
  FStyle = v;
  ListWidget()->setUniformItemSizes(v == lbOwnerDrawFixed);
  ListWidget()->doItemsLayout();
  Invalidate();
}

void TListBox::SetItemHeight(int v) {
  FItemHeight = std::max(1, v);
  ListWidget()->doItemsLayout();
}

void TListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  FCanvas->Brush()->SetStyle(bsClear);
  FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Strings(Index));
}

TListBox::~TListBox() = default;

QListWidget* TListBox::ListWidget() const { return static_cast<QListWidget*>(Widget()); }
int TListBox::Count() const { return ListWidget()->count(); }
int TListBox::ItemIndex() const { return ListWidget()->currentRow(); }

void TListBox::SetItemIndex(int v) {
  FSettingIndex = true;
  if (v < 0 || v >= Count()) {
    ListWidget()->setCurrentRow(-1);
    ListWidget()->clearSelection();
  } else {
    ListWidget()->setCurrentRow(v);
  }
  FSettingIndex = false;
}

void TListBox::SetMultiSelect(bool v) {
  FMultiSelect = v;
  ListWidget()->setSelectionMode(v ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool TListBox::Selected(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return ListWidget()->item(Index)->isSelected();
}

void TListBox::SetSelected(int Index, bool v) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  FSettingIndex = true;
  ListWidget()->item(Index)->setSelected(v);
  FSettingIndex = false;
}

int TListBox::SelCount() const { return static_cast<int>(ListWidget()->selectedItems().size()); }

int TListBox::TopIndex() const {
  QListWidgetItem* it = ListWidget()->itemAt(0, 0);
  return it ? ListWidget()->row(it) : -1;
}

void TListBox::SetTopIndex(int v) {
  if (QListWidgetItem* it = ListWidget()->item(v)) ListWidget()->scrollToItem(it, QAbstractItemView::PositionAtTop);
}

void TListBox::Clear() { FItems->Clear(); }

int TListBox::ItemAtPos(const TPoint& Pos, bool Existing) const {
  const QPoint vp = ListWidget()->viewport()->mapFrom(ListWidget(), ToQPoint(Pos));
  QListWidgetItem* it = ListWidget()->itemAt(vp);
  if (it) return ListWidget()->row(it);
  return Existing ? -1 : Count();
}

void TListBox::Dispatch(TMessage& M) {
  if (M.Msg == WM_LBUTTONDBLCLK) {
    // The double click comes from the list itself (itemDoubleClicked).
    DefaultHandler(M);
    return;
  }
  TWinControl::Dispatch(M);
}

// ---------------------------------------------------------------------------------------------------------
// Scroll bar

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner, MakeHost<THost<QScrollBar>>(this)) {
  SetTabStop(true);
  SetBounds(0, 0, 121, 17);
  QScrollBar* b = Bar();
  b->setOrientation(Qt::Horizontal);
  SyncBar();
  QObject::connect(b, &QAbstractSlider::actionTriggered, b,
                   [this](int action) { Guarded(this, [this, action] { DoScrollAction(action); }); });
  QObject::connect(b, &QAbstractSlider::sliderReleased, b, [this] {
    Guarded(this, [this] {
      int pos = Bar()->sliderPosition();
      if (OnScroll) OnScroll(this, scPosition, pos);
      SetPosition(pos);
      int end = FPosition;
      if (OnScroll) OnScroll(this, scEndScroll, end);
    });
  });
}

QScrollBar* TScrollBar::Bar() const { return static_cast<QScrollBar*>(Widget()); }

void TScrollBar::SyncBar() {
  QScrollBar* b = Bar();
  QSignalBlocker block(b);
  b->setRange(FMin, std::max(FMin, FMax - std::max(FPageSize - 1, 0)));
  b->setSingleStep(FSmallChange);
  b->setPageStep(std::max(FLargeChange, FPageSize));
  b->setValue(FPosition);
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == FKind) return;
  FKind = v;
  Bar()->setOrientation(v == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
  SetBounds(Left(), Top(), Height(), Width());
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin) throw EInvalidOperation(QStringLiteral("Scroll bar property out of range"));
  APosition = std::clamp(APosition, AMin, AMax);
  const bool changed = APosition != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  SyncBar();
  if (changed && OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int v) {
  FPageSize = std::max(0, v);
  SyncBar();
}
void TScrollBar::SetSmallChange(int v) {
  FSmallChange = std::max(1, v);
  SyncBar();
}
void TScrollBar::SetLargeChange(int v) {
  FLargeChange = std::max(1, v);
  SyncBar();
}

void TScrollBar::DoScrollAction(int action) {
  TScrollCode code;
  int pos = FPosition;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; pos += FSmallChange; break;
    case QAbstractSlider::SliderSingleStepSub: code = scLineUp; pos -= FSmallChange; break;
    case QAbstractSlider::SliderPageStepAdd: code = scPageDown; pos += FLargeChange; break;
    case QAbstractSlider::SliderPageStepSub: code = scPageUp; pos -= FLargeChange; break;
    case QAbstractSlider::SliderToMinimum: code = scTop; pos = FMin; break;
    case QAbstractSlider::SliderToMaximum: code = scBottom; pos = FMax; break;
    case QAbstractSlider::SliderMove: code = scTrack; pos = Bar()->sliderPosition(); break;
    default: return;
  }
  pos = std::clamp(pos, FMin, std::max(FMin, FMax - std::max(FPageSize - 1, 0)));
  if (OnScroll) OnScroll(this, code, pos);
  SetPosition(pos);
  if (code != scTrack) Bar()->setSliderPosition(FPosition);
}

}  // namespace plat
