// Standard controls: label captions, object names, lists, check boxes, trees and pages.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "platform/forms/clipboard.h"
#include "platform/forms/comctrls.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/canvas.h"
#include "platform/rtl/exceptions.h"

using namespace plat;

namespace {

TEST(LabelCaption, AmpersandsFollowTheFrameworkRule) {
  struct Case {
    const char* caption;
    const char* shown;
    int mnemonic;
  };
  const Case cases[] = {
      {"&File", "File", 0},          {"Scan && Decode", "Scan & Decode", -1}, {"SCAN && DECODE", "SCAN & DECODE", -1},
      {"a&&&b", "a&b", 2},           {"&&&", "&", -1},                        {"end&", "end", -1},
      {"two &a &b", "two a b", 4},   {"", "", -1},                            {"plain", "plain", -1},
  };
  for (const Case& c : cases) {
    int m = -2;
    EXPECT_EQ(StripAccelChars(QString::fromUtf8(c.caption), &m), QString::fromUtf8(c.shown)) << c.caption;
    EXPECT_EQ(m, c.mnemonic) << c.caption;
  }
}

TEST(LabelCaption, TheLabelShowsTheResolvedCaption) {
  TForm form(nullptr);
  auto* l = new TLabel(&form);
  l->SetParent(&form);
  l->SetCaption("Scan && Decode");
  EXPECT_EQ(l->DisplayText(), "Scan & Decode");
  EXPECT_EQ(l->Label()->text(), "Scan & Decode");
  l->SetCaption("&Name <b>");
  EXPECT_EQ(l->DisplayText(), "Name <b>");
  EXPECT_EQ(l->Label()->textFormat(), Qt::RichText);
  EXPECT_EQ(l->Label()->text(), "<u>N</u>ame &lt;b&gt;");
  l->SetShowAccelChar(false);
  EXPECT_EQ(l->DisplayText(), "&Name <b>");
}

TEST(Controls, NamesBecomeObjectNames) {
  TForm form(nullptr);
  form.SetName("FParGen");
  auto* e = new TEdit(&form);
  e->SetName("E_IP1");
  e->SetParent(&form);
  EXPECT_EQ(form.Widget()->findChild<QWidget*>("E_IP1"), e->Widget());
  EXPECT_EQ(form.Widget()->objectName(), "FParGen");
  EXPECT_EQ(form.FindComponent("E_IP1"), e);
}

TEST(Controls, ChildrenGoWithTheirParentAndLeaveTheOwnerList) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* edit = new TEdit(&form);
  edit->SetName("Inner");
  edit->SetParent(panel);
  EXPECT_EQ(form.ComponentCount(), 2);
  delete panel;
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.FindComponent("Inner"), nullptr);
}

TEST(Controls, AlignAndAnchorsFollowTheParent) {
  TForm form(nullptr);
  form.SetBorderStyle(bsSizeable);
  form.SetBounds(0, 0, 300, 200);
  auto* top = new TPanel(&form);
  top->SetParent(&form);
  top->SetHeight(40);
  top->SetAlign(alTop);
  auto* client = new TPanel(&form);
  client->SetParent(&form);
  client->SetAlign(alClient);
  auto* button = new TButton(&form);
  button->SetParent(client);
  button->SetBounds(200, 100, 75, 25);
  button->SetAnchors({akRight, akBottom});
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 40));
  EXPECT_EQ(client->BoundsRect(), Rect(0, 40, 300, 200));
  form.SetBounds(0, 0, 400, 260);
  Application->ProcessMessages();
  EXPECT_EQ(top->Width(), 400);
  EXPECT_EQ(client->BoundsRect(), Rect(0, 40, 400, 260));
  EXPECT_EQ(button->BoundsRect(), Rect(300, 160, 375, 185));
}

TEST(Controls, ComboBoxReportsOnlyUserChanges) {
  TForm form(nullptr);
  auto* c = new TComboBox(&form);
  c->SetParent(&form);
  c->SetStyle(csDropDownList);
  int changes = 0;
  c->OnChange = [&](TObject*) { ++changes; };
  c->Items()->Add("9600");
  c->Items()->Add("19200");
  EXPECT_EQ(c->ItemIndex(), -1);  // adding items selects nothing
  c->SetItemIndex(1);
  EXPECT_EQ(c->Text(), "19200");
  EXPECT_EQ(changes, 0);
  c->SetItemIndex(-1);
  EXPECT_EQ(c->ItemIndex(), -1);
  emit c->ComboBox()->activated(0);  // what a user's choice sends
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(c->Items()->Strings(5), EStringListError);
  c->Items()->Delete(0);
  EXPECT_EQ(c->Items()->Count(), 1);
}

TEST(Controls, CheckBoxAndRadioButtonsRunOnClickWhenSetFromCode) {
  TForm form(nullptr);
  auto* cb = new TCheckBox(&form);
  cb->SetParent(&form);
  int clicks = 0;
  cb->OnClick = [&](TObject*) { ++clicks; };
  cb->SetChecked(true);
  cb->SetChecked(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(cb->Checked());

  auto* r1 = new TRadioButton(&form);
  r1->SetParent(&form);
  auto* r2 = new TRadioButton(&form);
  r2->SetParent(&form);
  r1->SetChecked(true);
  r2->SetChecked(true);
  EXPECT_FALSE(r1->Checked());  // siblings exclude each other
  r2->SetChecked(false);
  EXPECT_FALSE(r2->Checked());
}

TEST(Controls, TreeViewNodes) {
  TForm form(nullptr);
  auto* tv = new TTreeView(&form);
  tv->SetParent(&form);
  QStringList changes;
  tv->OnChange = [&](TObject*, TTreeNode* n) { changes << (n ? n->Text() : "none"); };
  int data = 42;
  TTreeNode* root = tv->Items()->Add(nullptr, "Network");
  TTreeNode* a = tv->Items()->AddChildObject(root, "Node 1", &data);
  TTreeNode* b = tv->Items()->AddChild(root, "Node 2");
  TTreeNode* second = tv->Items()->Add(root, "Other");
  EXPECT_EQ(tv->Items()->Count(), 4);
  EXPECT_EQ(root->Count(), 2);
  EXPECT_EQ(a->Parent(), root);
  EXPECT_EQ(a->Data(), &data);
  EXPECT_EQ(b->Index(), 1);
  EXPECT_EQ(b->Level(), 1);
  EXPECT_EQ(second->Level(), 0);
  EXPECT_EQ(tv->Items()->Item(3), second);
  EXPECT_EQ(a->GetNextSibling(), b);
  root->SetExpanded(true);
  EXPECT_TRUE(root->Expanded());
  b->SetSelected(true);
  EXPECT_EQ(tv->Selected(), b);
  EXPECT_EQ(changes, QStringList({"Node 2"}));
  b->SetText("Node 2b");
  EXPECT_EQ(tv->TreeWidget()->currentItem()->text(0), "Node 2b");
  a->Delete();
  EXPECT_EQ(root->Count(), 1);
  EXPECT_EQ(tv->Items()->Count(), 3);
  tv->Items()->Clear();
  EXPECT_EQ(tv->Items()->Count(), 0);
  EXPECT_EQ(tv->Selected(), nullptr);
}

TEST(Controls, PageControlPages) {
  TForm form(nullptr);
  auto* pc = new TPageControl(&form);
  pc->SetParent(&form);
  auto* s1 = new TTabSheet(&form);
  s1->SetCaption("Serial");
  s1->SetPageControl(pc);
  auto* s2 = new TTabSheet(&form);
  s2->SetPageControl(pc);
  s2->SetCaption("Ethernet");
  int changes = 0;
  pc->OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->TabWidget()->tabText(1), "Ethernet");
  pc->SetActivePage(s2);
  EXPECT_EQ(pc->ActivePageIndex(), 1);
  EXPECT_EQ(changes, 0);  // code changing the page runs no OnChange
  // The user changes the page; OnChanging may refuse.
  bool allow = false;
  pc->OnChanging = [&](TObject*, bool& a) { a = allow; };
  pc->TabWidget()->setCurrentIndex(0);
  EXPECT_EQ(pc->ActivePage(), s2);
  allow = true;
  pc->TabWidget()->setCurrentIndex(0);
  EXPECT_EQ(pc->ActivePage(), s1);
  EXPECT_EQ(changes, 1);
  delete s1;
  EXPECT_EQ(pc->PageCount(), 1);
}

TEST(Controls, PopupMenuRunsTheChosenItem) {
  TForm form(nullptr);
  auto* menu = new TPopupMenu(&form);
  QStringList clicked;
  menu->Items()->Add(NewItem(&form, "&Copy", [&](TObject*) { clicked << "copy"; }));
  menu->Items()->Add(NewItem(&form, "-"));
  TMenuItem* del = NewItem(&form, "&Delete", [&](TObject*) { clicked << "delete"; });
  menu->Items()->Add(del);
  auto* p = new TPanel(&form);
  p->SetParent(&form);
  p->SetPopupMenu(menu);
  auto old = SetPopupMenuRunner([&](TPopupMenu* m, int, int) { return m->Items()->Items(2); });
  p->Perform(WM_CONTEXTMENU, 0, MakeLParam(10, 10));
  SetPopupMenuRunner(old);
  EXPECT_EQ(clicked, QStringList({"delete"}));
  EXPECT_EQ(menu->PopupComponent(), p);
  delete menu;
  EXPECT_EQ(p->PopupMenu(), nullptr);  // the control forgets a freed menu
}

TEST(Controls, MemoLinesAndText) {
  TForm form(nullptr);
  auto* m = new TMemo(&form);
  m->SetParent(&form);
  m->Lines()->Add("one");
  m->Lines()->Add("two");
  EXPECT_EQ(m->Lines()->Count(), 2);
  EXPECT_EQ(m->Text(), "one\r\ntwo");
  m->Lines()->Delete(0);
  EXPECT_EQ(m->Lines()->Strings(0), "two");
  m->SetText("a\r\nb\r\n");
  EXPECT_EQ(m->Lines()->Count(), 2);
}

}  // namespace

namespace {

class TPaintedBox : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(Rect(0, 0, 10, 10));
    Canvas()->Pen()->SetColor(clBlue);
    Canvas()->MoveTo(0, 15);
    Canvas()->LineTo(20, 15);
  }
};

class TPaintedMark : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->FillRect(Rect(2, 2, 4, 4));
  }
};

TEST(Painting, PaintDrawsThroughTheCanvasOnTheControlsColour) {
  TForm form(nullptr);
  auto* box = new TPaintedBox(&form);
  box->SetParent(&form);
  box->SetBounds(0, 0, 40, 30);
  box->SetColor(clWhite);
  auto* mark = new TPaintedMark(&form);
  mark->SetParent(&form);
  mark->SetBounds(50, 0, 10, 10);
  form.SetColor(clYellow);
  form.Show();
  const QImage img = box->Widget()->grab().toImage();
  EXPECT_GE(box->Paints, 1);
  EXPECT_EQ(img.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(30, 25), QColor(Qt::white));  // the rest is the control's Color
  EXPECT_EQ(img.pixelColor(19, 15), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(20, 15), QColor(Qt::white));  // a line leaves out its end point
  // A graphic control paints over its parent's background.
  const QImage all = form.Widget()->grab().toImage();
  EXPECT_EQ(all.pixelColor(52, 2), QColor(Qt::green));
  EXPECT_EQ(all.pixelColor(57, 7), QColor(Qt::yellow));
  form.Hide();
}

}  // namespace

namespace {

TEST(Clipboard, FormatsByNameAndBatches) {
  const std::pair<const char*, const char*> names[] = {
      {"CF_UNICODETEXT", "text/plain"},
      {"HTML Format", "text/html"},
      {"Rich Text Format", "text/rtf"},
      {"TExtStringGrid Cells", "application/x-extstringgrid-cells"},
      {"Grid Column", "application/x-grid-column"},
      {"Lazy Tree Data", "application/x-lazy-tree-data"},
  };
  for (const auto& [name, mime] : names) EXPECT_EQ(MimeTypeOfClipboardFormat(name), mime) << name;

  Clipboard()->Open();
  Clipboard()->SetAsText("a\tb");
  Clipboard()->SetData("TExtStringGrid Cells", QByteArray("\x01\x02", 2));
  EXPECT_FALSE(Clipboard()->HasFormat("TExtStringGrid Cells"));  // not before Close
  Clipboard()->Close();
  EXPECT_EQ(Clipboard()->AsText(), "a\tb");
  EXPECT_EQ(Clipboard()->GetData("TExtStringGrid Cells"), QByteArray("\x01\x02", 2));
  // Outside Open/Close a new format replaces the content.
  Clipboard()->SetData("HTML Format", "<b>x</b>");
  EXPECT_FALSE(Clipboard()->HasFormat("TExtStringGrid Cells"));
  EXPECT_TRUE(Clipboard()->HasFormat("HTML Format"));
}

TEST(FileDialogs, FiltersAndTheTestHook) {
  TOpenDialog d(nullptr);
  d.Filter = "XML File (*.xml)|*.xml|Pictures|*.bmp;*.png";
  EXPECT_EQ(d.QtFilters(), QStringList({"XML File (*.xml) (*.xml)", "Pictures (*.bmp *.png)"}));
  auto old = SetFileDialogHook([](TOpenDialog* dlg) {
    dlg->FileName = "/tmp/project/ParGen.xml";
    return !dlg->IsSaveDialog();
  });
  EXPECT_TRUE(d.Execute());
  EXPECT_EQ(d.FileName, "/tmp/project/ParGen.xml");
  TSaveDialog s(nullptr);
  EXPECT_FALSE(s.Execute());
  SetFileDialogHook(old);
}

TEST(Controls, OwnerDrawnListBoxPaintsThroughItsHandler) {
  TForm form(nullptr);
  auto* lb = new TListBox(&form);
  lb->SetParent(&form);
  lb->SetBounds(0, 0, 120, 80);
  lb->Items()->Add("COM1 [NOT FOUND]");
  lb->Items()->Add("ttyUSB0");
  lb->SetStyle(lbOwnerDrawFixed);
  lb->SetItemHeight(20);
  std::vector<std::pair<int, TRect>> drawn;
  lb->OnDrawItem = [&](TWinControl*, int index, TRect r, TOwnerDrawState) {
    drawn.emplace_back(index, r);
    lb->Canvas()->Brush()->SetColor(index == 0 ? clRed : clBlue);
    lb->Canvas()->FillRect(r);
  };
  form.Show();
  const QImage img = lb->ListWidget()->viewport()->grab().toImage();
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].first, 0);
  EXPECT_EQ(drawn[1].second.Top - drawn[0].second.Top, 20);
  EXPECT_EQ(img.pixelColor(10, 10), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(10, 30), QColor(Qt::blue));
  form.Hide();
}

// The clipboard and undo messages reach the widget of both editors; a read-only editor neither cuts nor pastes.
template <class Editor>
void CheckClipboardMessages() {
  TForm form(nullptr);
  auto* e = new Editor(&form);
  e->SetParent(&form);
  e->SetText("hello");
  e->SelectAll();
  e->Perform(WM_COPY);
  EXPECT_EQ(Clipboard()->AsText(), "hello");
  e->SetReadOnly(true);
  e->Perform(WM_CUT);
  e->Perform(WM_PASTE);
  EXPECT_EQ(e->Text(), "hello");
  e->SetReadOnly(false);
  e->Perform(WM_CUT);
  EXPECT_EQ(e->Text(), "");
  e->Perform(WM_PASTE);
  e->Perform(WM_PASTE);
  EXPECT_EQ(e->Text(), "hellohello");
  e->Perform(EM_UNDO);
  EXPECT_EQ(e->Text(), "hello");
}

TEST(Controls, EditAndMemoFollowTheClipboardMessages) {
  CheckClipboardMessages<TEdit>();
  CheckClipboardMessages<TMemo>();
}

TEST(Controls, EditCharCaseAppliesToTypedText) {
  TForm form(nullptr);
  auto* e = new TEdit(&form);
  e->SetParent(&form);
  e->SetCharCase(ecUpperCase);
  form.Show();
  e->SetFocus();
  QTest::keyClicks(e->Widget(), "ab1c");
  EXPECT_EQ(e->Text(), "AB1C");
  form.Hide();
}

}  // namespace

namespace {

TEST(Controls, SplitterResizesTheControlItFollows) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 300);
  auto* top = new TPanel(&form);
  top->SetParent(&form);
  top->SetHeight(100);
  top->SetAlign(alTop);
  auto* split = new TSplitter(&form);
  split->SetParent(&form);
  split->SetTop(100);
  split->SetAlign(alTop);
  split->SetHeight(4);
  auto* rest = new TPanel(&form);
  rest->SetParent(&form);
  rest->SetAlign(alClient);
  ASSERT_EQ(split->FindResizedControl(), top);
  EXPECT_EQ(split->Top(), 100);
  split->MoveBy(20);
  EXPECT_EQ(top->Height(), 120);
  EXPECT_EQ(split->Top(), 120);
  EXPECT_EQ(rest->Top(), 124);
  split->MoveBy(-500);
  EXPECT_EQ(top->Height(), 30);  // MinSize
  split->MoveBy(1000);
  EXPECT_EQ(rest->Height(), 30);  // the client control keeps MinSize too
}

TEST(Controls, ComboDroppedWidthByMessage) {
  TForm form(nullptr);
  auto* c = new TComboBox(&form);
  c->SetParent(&form);
  c->SetWidth(100);
  EXPECT_EQ(c->Perform(CB_SETDROPPEDWIDTH, 250), 250);
  EXPECT_EQ(c->DroppedWidth(), 250);
  c->Items()->Add("x");
  EXPECT_EQ(c->Perform(CB_SETCURSEL, 0), 0);
  EXPECT_EQ(c->Perform(CB_GETCURSEL), 0);
}

}  // namespace
