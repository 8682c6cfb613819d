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
    int key;
    bool keeps;      // the cell keeps its text
    int colAfter;    // where the current cell is then
  } roads[] = {{"Enter", Qt::Key_Return, false, 1}, {"Tab", Qt::Key_Tab, false, 2}, {"Escape", Qt::Key_Escape, true, 1}};
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
      Key(road.key);
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

}  // namespace
}  // namespace grid
