// The grid's drop-down cell editors on the roads a user takes: Alt+Down opens the drop-down and the edit goes
// on, Enter validates and writes the value back, Tab does so and moves on, Escape leaves the cell as it was.
// Then what the kinds do differently: the calculator stores its result, the colour picker its colour, the
// image picker an image index, the memo its lines.
#include <QImage>

#include "griddropdown/tests/dropdown_fixture.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/datetime.h"

namespace grid {
namespace {

using dropdowntest::DropDownFixture;

struct DropDowns : DropDownFixture {
  plat::TImageList* images = new plat::TImageList(form.get());

  DropDowns() {
    for (plat::TColor c : {plat::clRed, plat::clGreen, plat::clBlue}) {
      QImage img(images->Width(), images->Height(), QImage::Format_ARGB32);
      img.fill(plat::ToQColor(c));
      images->AddImage(img);
    }
    g->SetGridImages(images);
  }
  template <class TItems>
  static void AddRows(TItems* Items, std::initializer_list<QStringList> Rows) {
    for (const QStringList& row : Rows) {
      auto* item = Items->Add();
      for (const QString& s : row) item->Text()->Add(s);
    }
  }
  // Opens the editor of a kind on cell 1,1 with F2.
  void Open(TEditorType Kind, const QString& Text) { OpenWith(Kind, 1, 1, Text); }
};

// What one kind is given, how the user changes its value, and what the cell then holds.
struct KindCase {
  const char* name;
  TEditorType kind;
  QString cellText;
  std::function<void(DropDowns&)> prepare;
  std::function<void(DropDowns&)> change;
  QString stored;
};

std::vector<KindCase> KindCases() {
  return {
      {"track bar", edTrackbarDropDown, "3", nullptr, [](DropDowns& f) { f.Type("7"); }, "7"},
      {"memo", edMemoDropDown, "alpha", nullptr, [](DropDowns& f) { f.Type("x"); }, "xalpha"},
      {"calculator", edCalculatorDropDown, "12", nullptr, [](DropDowns& f) { f.Type("5"); }, "5.00"},
      {"time picker", edTimePickerDropDown, "10:15:00", nullptr,
       [](DropDowns& f) { TimePickerDropDown(*f.g)->SetTime(plat::EncodeTime(11, 30, 0, 0)); }, "11:30:00"},
      {"detail picker", edDetailDropDown, "one",
       [](DropDowns& f) {
         for (const char* c : {"one", "two", "three"}) DetailPickerDropDown(*f.g)->Items()->Add()->SetCaption(c);
       },
       [](DropDowns& f) { DetailPickerDropDown(*f.g)->SetItemIndex(2); }, "three"},
      {"multi-column", edGridDropDown, "a1",
       [](DropDowns& f) {
         TGridGridDropDown* d = GridDropDown(*f.g);
         d->Columns()->Add();
         d->Columns()->Add();
         DropDowns::AddRows(d->Items(), {{"a1", "first"}, {"b2", "second"}});
       },
       [](DropDowns& f) { GridDropDown(*f.g)->SetItemIndex(1); }, "b2"},
      {"grid", edExtGridDropDown, "a1",
       [](DropDowns& f) {
         TGridExtGridDropDown* d = ExtGridDropDown(*f.g);
         d->Columns()->Add();
         d->Columns()->Add();
         DropDowns::AddRows(d->Items(), {{"a1", "first"}, {"b2", "second"}});
       },
       [](DropDowns& f) { ExtGridDropDown(*f.g)->SetItemIndex(1); }, "b2"},
      {"colour picker", edColorPickerDropDown, "", nullptr,
       [](DropDowns& f) { ColorPickerDropDown(*f.g)->SetItemIndex(2); }, "?colour"},
      {"image picker", edImagePickerDropDown, "1", [](DropDowns& f) { f.g->CellObjects().AddDataImage(1, 1, 1, haLeft, vaTop); },
       [](DropDowns& f) { ImagePickerDropDown(*f.g)->SetImageIndex(2); }, "2"},
  };
}

// The colour picker stores the name of the colour it holds.
QString Expected(DropDowns& f, const KindCase& k) {
  return k.stored == "?colour" ? ColorPickerDropDown(*f.g)->SelectedColorText() : k.stored;
}

TEST_F(DropDowns, AltDownOpensTheDropDownAndTheEditGoesOn) {
  for (const KindCase& k : KindCases()) {
    SCOPED_TRACE(k.name);
    if (k.prepare) k.prepare(*this);
    Open(k.kind, k.cellText);
    ASSERT_TRUE(EditorOpen());
    EXPECT_FALSE(Editor()->DroppedDown());
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(Editor()->DroppedDown());
    EXPECT_TRUE(EditorOpen());
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    Editor()->HideDropDown(true);
    g->HideInplaceEdit();
    Flush();
  }
}

TEST_F(DropDowns, EnterValidatesAndWritesBackTabMovesOnEscapeRestores) {
  struct Road {
    const char* name;
    std::function<void(DropDowns&)> leave;
    bool keeps;    // the cell keeps its text
    int colAfter;  // where the current cell is then
  } roads[] = {
      {"Enter", [](DropDowns& f) { f.Key(Qt::Key_Return); }, false, 1},
      {"Tab", [](DropDowns& f) { f.Key(Qt::Key_Tab); }, false, 2},
      {"Escape", [](DropDowns& f) { f.Key(Qt::Key_Escape); }, true, 1},
      {"focus elsewhere", [](DropDowns& f) { f.other->SetFocus(); }, false, 1},
  };
  for (const KindCase& k : KindCases()) {
    if (k.prepare) k.prepare(*this);
    for (const Road& road : roads) {
      SCOPED_TRACE(std::string(k.name) + ", " + road.name);
      log.clear();
      LogValidation();
      Open(k.kind, k.cellText);
      ASSERT_TRUE(EditorOpen());
      dropdown::TExtCustomDropDown* ed = Editor();
      k.change(*this);
      const QString expected = Expected(*this, k);
      road.leave(*this);
      Flush();
      EXPECT_FALSE(ed->Visible());
      EXPECT_FALSE(g->EditMode());
      EXPECT_EQ(g->Cells(1, 1), road.keeps ? k.cellText : expected);
      EXPECT_EQ(Log(), road.keeps ? QString() : "validate 1,1=" + expected);
      EXPECT_EQ(g->Col(), road.colAfter);
      EXPECT_EQ(g->Row(), 1);
      if (auto* p = dynamic_cast<dropdown::TExtCustomDropDown*>(ed)) EXPECT_FALSE(p->DroppedDown());
    }
  }
}

TEST_F(DropDowns, DirectComboDropOpensTheDropDownWithTheEdit) {
  g->MouseActions()->DirectComboDrop = true;
  for (TEditorType kind : {edTrackbarDropDown, edMemoDropDown, edColorPickerDropDown}) {
    SCOPED_TRACE(int(kind));
    Open(kind, "4");
    ASSERT_TRUE(EditorOpen());
    EXPECT_TRUE(Editor()->DroppedDown());
    g->HideInplaceEdit();
    EXPECT_FALSE(Editor()->DroppedDown());
  }
}

TEST_F(DropDowns, TheCalculatorStoresItsResultNotTheExpression) {
  LogValidation();
  Open(edCalculatorDropDown, "");
  Type("12+3*2");
  Key(Qt::Key_Return);
  Flush();
  // No precedence: (12 + 3) * 2.
  EXPECT_EQ(g->Cells(1, 1), "30.00");
  EXPECT_EQ(Log(), "validate 1,1=30.00");
  EXPECT_FALSE(g->EditMode());
}

TEST_F(DropDowns, TypingReachesTheGridsKeyAndChangeEvents) {
  plat::TObject* sender = nullptr;
  QString typed, changed;
  g->OnKeyPress = [&](plat::TObject* s, char16_t& key) {
    sender = s;
    typed += QChar(key);
    if (key == u'z') key = u'y';  // the grid's handler may change the character
  };
  g->OnEditChange = [&](plat::TObject*, int c, int r, QString v) { changed = QString("%1,%2 %3").arg(c).arg(r).arg(v); };
  Open(edMemoDropDown, "alpha");
  Type("xz");
  EXPECT_EQ(sender, Editor());
  EXPECT_EQ(typed, "xz");
  EXPECT_EQ(changed, "1,1 xyalpha");
}

// A refused value keeps the edit open on the cell with the value typed; the cell keeps its text.
TEST_F(DropDowns, ARefusedValueKeepsTheEditorOpenOnTheCell) {
  g->OnCellValidate = [](plat::TObject*, int, int, QString& v, bool& valid) { valid = v == "3"; };
  for (TEditorType kind : {edTrackbarDropDown, edMemoDropDown, edDetailDropDown}) {
    SCOPED_TRACE(int(kind));
    Open(kind, "3");
    Type("5");
    const QString typed = Editor()->Text();
    for (int key : {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Down}) {
      Key(key);
      Flush();
      EXPECT_TRUE(EditorOpen());
      EXPECT_EQ(Editor()->Text(), typed);
      EXPECT_EQ(g->Cells(1, 1), "3");
      EXPECT_EQ(g->Col(), 1);
      EXPECT_EQ(g->Row(), 1);
    }
    Key(Qt::Key_Escape);
    Flush();
    EXPECT_FALSE(g->EditMode());
    EXPECT_EQ(g->Cells(1, 1), "3");
  }
}

// The memo copies its text into the cell as it is typed; Escape still gives the cell the text it had.
TEST_F(DropDowns, TheMemoFollowsTheTypingAndEscapePutsTheCellBack) {
  const QString twoLines = QStringLiteral("first\r\nsecond");
  Open(edMemoDropDown, twoLines);
  Type("x");
  EXPECT_EQ(g->Cells(1, 1), "x" + twoLines);
  Key(Qt::Key_Escape);
  Flush();
  EXPECT_EQ(g->Cells(1, 1), twoLines);
  Open(edMemoDropDown, twoLines);
  Key(Qt::Key_Return);
  Flush();
  EXPECT_EQ(g->Cells(1, 1), twoLines);
}

// With the palette open, Up and Down move in it and the edit goes on; Enter stores the colour: its name into
// the cell's text and the colour into the shape of a shape cell, else into the cell's colour.
TEST_F(DropDowns, TheColourPickerWritesItsColourIntoTheShapeOrTheCell) {
  int selects = 0;
  g->OnColorSelect = [&](plat::TObject*, int, int, plat::TColor, QString) { ++selects; };
  for (bool shape : {false, true}) {
    SCOPED_TRACE(shape ? "shape" : "plain");
    g->SetColors(1, 1, plat::clWhite);
    if (shape) g->CellObjects().AddShape(1, 1, csCircle, plat::clYellow, plat::clBlack, haLeft, vaTop);
    Open(edColorPickerDropDown, "");
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Editor()->DroppedDown());
    TGridColorDropDown* picker = ColorPickerDropDown(*g);
    const plat::TColor before = picker->SelectedColor();
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Up);
    EXPECT_TRUE(EditorOpen());
    Key(Qt::Key_Return);
    Flush();
    EXPECT_FALSE(g->EditMode());
    const plat::TColor chosen = picker->SelectedColor();
    EXPECT_NE(chosen, before);
    EXPECT_EQ(g->Cells(1, 1), picker->SelectedColorText());
    EXPECT_FALSE(g->Cells(1, 1).isEmpty());
    EXPECT_EQ(g->Colors(1, 1), shape ? plat::clWhite : chosen);
    if (shape) EXPECT_EQ(g->CellObjects().GetShapeColor(1, 1), chosen);
  }
  EXPECT_GE(selects, 2);
}

TEST_F(DropDowns, TheImagePickerChangesAnImageListCellsIndexAndADataImagesText) {
  std::vector<QString> selected;
  g->OnImageSelected = [&](plat::TObject*, int c, int r, int i) { selected.push_back(QString("%1,%2 %3").arg(c).arg(r).arg(i)); };
  struct Case {
    const char* name;
    std::function<void(TExtStringGrid&)> make;
    QString text, stored;
    int index;  // the image index of an image-list cell afterwards, -1 for none
  } cases[] = {
      {"image list", [](TExtStringGrid& G) { G.AddImageIdx(1, 1, 0, haLeft, vaTop); }, "label", "label", 2},
      {"data image", [](TExtStringGrid& G) { G.CellObjects().AddDataImage(1, 1, 0, haLeft, vaTop); }, "0", "2", -1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    g->RemoveCellGraphic(1, 1);
    k.make(*g);
    Open(edImagePickerDropDown, k.text);
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(ImagePickerDropDown(*g)->ImageIndex(), 0);
    ImagePickerDropDown(*g)->SetImageIndex(2);
    Key(Qt::Key_Return);
    Flush();
    EXPECT_EQ(g->Cells(1, 1), k.stored);
    int index = -1;
    g->CellObjects().GetImageIdx(1, 1, index);
    EXPECT_EQ(index, k.index);
  }
  EXPECT_EQ(selected, (std::vector<QString>{"1,1 2", "1,1 2"}));
}

}  // namespace
}  // namespace grid
