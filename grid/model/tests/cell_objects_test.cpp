// Cell objects: kinds, replacing and removing, ownership of what the objects hold, shared row check boxes,
// angles, picture sizes, and the query answers for cells without the right object.

#include <gtest/gtest.h>

#include "grid/model/intlist.h"
#include "grid/model/tests/gridcheck.h"
#include "grid/model/tests/opsgrid.h"
#include "platform/rtl/strings.h"

namespace grid {
namespace {

using testing::TCountedObject;
using testing::TOpsGrid;

class CellObjects : public ::testing::Test {
 protected:
  void SetUp() override { TCountedObject::Live = 0; }
  TOpsGrid g{6, 6};
  TCellObjects objs{g, g};
};

TEST_F(CellObjects, ImageIndexNeedsTheImageList) {
  g.Images = false;
  objs.AddComment(1, 1, "keep");
  objs.AddImageIdx(1, 1, 3, haCenter, vaCenter);
  EXPECT_EQ(objs.GetCellType(1, 1), ctComment);  // unchanged without images
  int idx = -7;
  EXPECT_FALSE(objs.GetImageIdx(1, 1, idx));
  EXPECT_EQ(idx, -7);
  g.Images = true;
  objs.AddImageIdx(1, 1, 3, haCenter, vaCenter);
  EXPECT_EQ(objs.GetCellType(1, 1), ctImageList);
  ASSERT_TRUE(objs.GetImageIdx(1, 1, idx));
  EXPECT_EQ(idx, 3);
  objs.SetImageIdx(1, 1, 5);
  EXPECT_EQ(objs.GetCellImageKey(1, 1), 5);
}

TEST_F(CellObjects, AddingReplacesAndFreesAndWrongKindRemovesNothing) {
  auto* owned = new TCountedObject;
  objs.AddBitmap(2, 2, owned, false, haLeft, vaTop, true);
  TCountedObject callers;
  objs.AddPicture(2, 2, &callers, false, Stretch, 0, haLeft, vaTop);  // replaces the bitmap object
  EXPECT_EQ(TCountedObject::Live, 1);                                // only the caller's is left
  EXPECT_FALSE(objs.RemoveBitmap(2, 2));
  EXPECT_EQ(objs.GetPicture(2, 2), &callers);
  EXPECT_TRUE(objs.RemovePicture(2, 2));
  EXPECT_FALSE(objs.RemovePicture(2, 2));
  EXPECT_EQ(objs.GetCellType(2, 2), ctEmpty);
  EXPECT_EQ(TCountedObject::Live, 1);  // the caller's object stays the caller's
}

TEST_F(CellObjects, PropertiesFreeTheirObjectWhicheverWayTheyGo) {
  for (int c = 0; c < 4; ++c) objs.AddBitmap(c, 1, new TCountedObject, false, haLeft, vaTop, true);
  objs.AddBalloon(4, 1, "t", "x", biWarning);
  EXPECT_EQ(TCountedObject::Live, 4);
  g.SetCellProperties(0, 1, nullptr);
  g.FreeCellPropertiesAt(1, 1);
  g.FreeCellProperties(2, 1, 2, 1);
  EXPECT_EQ(TCountedObject::Live, 1);
  EXPECT_EQ(testing::CheckCellObjects(g), "");
}  // the grid frees the rest: the sanitizer build sees any leak

TEST_F(CellObjects, HiddenRowRecordsFreeTheirObjects) {
  objs.AddBitmap(1, 3, new TCountedObject, false, haLeft, vaTop, true);
  {
    TOpsGrid h(3, 5);
    TCellObjects o(h, h);
    o.AddBitmap(1, 2, new TCountedObject, false, haLeft, vaTop, true);
    h.HideRealRow(2);
    EXPECT_EQ(TCountedObject::Live, 2);
  }
  EXPECT_EQ(TCountedObject::Live, 1);
}

TEST_F(CellObjects, AngleIsBroughtIntoRange) {
  struct Case {
    int in, out;
  } cases[] = {{-30, 330}, {720, 360}, {360, 360}, {0, 0}, {-360, 0}, {45, 45}, {400, 40}};
  for (const Case& k : cases) {
    TCellGraphic cg;
    cg.SetAngle(k.in);
    EXPECT_EQ(cg.CellAngle, k.out) << k.in;
    EXPECT_EQ(cg.CellType, ctRotated);
  }
}

TEST_F(CellObjects, PictureSizeByStretchMode) {
  struct Case {
    TStretchMode mode;
    int w, h, cw, rh, padding;
    plat::TPoint size;
  } cases[] = {
      {noStretch, 40, 20, 100, 50, 0, {40, 20}},
      {Stretch, 40, 20, 100, 50, 4, {96, 46}},
      {Shrink, 40, 20, 100, 50, 0, {40, 20}},
      {Shrink, 140, 20, 100, 50, 0, {100, 50}},
      {StretchWithAspectRatio, 40, 20, 100, 100, 0, {100, 50}},
      {StretchWithAspectRatio, 20, 40, 100, 100, 0, {50, 100}},
      {StretchWithAspectRatio, 0, 0, 100, 30, 0, {0, 30}},  // both ratios 1.0
      {ShrinkWithAspectRatio, 40, 20, 100, 100, 0, {40, 20}},
      {ShrinkWithAspectRatio, 200, 100, 100, 100, 0, {100, 50}},
      {StretchWithAspectRatio, 3, 1, 5, 100, 0, {5, 2}},  // 1 x 5/3 = 1.67 rounds to 2
  };
  for (const Case& k : cases) {
    TCellGraphic cg;
    cg.SetPicture(nullptr, false, k.mode, k.padding, haLeft, vaTop);
    EXPECT_EQ(cg.GetPictureSize(k.w, k.h, k.cw, k.rh), k.size) << k.mode << " " << k.w << "x" << k.h;
  }
}

TEST_F(CellObjects, RowCheckBoxesAreSharedAndNeverFreed) {
  g.RowChecks = true;
  g.Fixed = 1;
  for (int r = 0; r < 6; ++r) EXPECT_EQ(objs.GetCellType(0, r), ctRowCheckBox) << r;
  g.SetRowSelected(2, true);
  TCellGraphic* row2 = objs.GetCellGraphic(0, 2);
  ASSERT_NE(row2, nullptr);
  EXPECT_TRUE(row2->CellBoolean);
  EXPECT_TRUE(row2->Shared());
  const TCellGraphic* header = objs.GetCellGraphic(0, 0);
  EXPECT_EQ(header->CellAngle, 1);  // some but not all rows selected
  EXPECT_FALSE(header->CellBoolean);
  for (int r = 1; r < 6; ++r) g.SetRowSelected(r, true);
  EXPECT_TRUE(objs.GetCellGraphic(0, 0)->CellBoolean);
  EXPECT_EQ(objs.GetCellGraphic(0, 0)->CellAngle, 0);
  // Replacing or removing whatever column 0 holds never touches the shared object.
  objs.AddComment(0, 3, "x");
  EXPECT_TRUE(objs.RemoveCellGraphic(0, 3));
  EXPECT_FALSE(objs.RemoveCellGraphic(0, 3));
  EXPECT_EQ(objs.GetCellGraphic(0, 3), &objs.SharedRowObject());
  g.SetCells(4, 4, "t");
}

TEST_F(CellObjects, QueriesOnCellsWithoutTheirObject) {
  EXPECT_EQ(objs.GetCellType(-1, 2), ctEmpty);
  EXPECT_EQ(objs.GetCellGraphic(2, -1), nullptr);
  EXPECT_FALSE(objs.CellTypeInSet(-1, 0, kCheckBoxTypes));
  const TScrollProp none = objs.GetScrollProp(1, 1);
  EXPECT_EQ(none.PageSize, -1);
  EXPECT_EQ(none.Range, -1);
  EXPECT_EQ(objs.GetScrollPosition(1, 1), -1);
  EXPECT_EQ(objs.GetShapeColor(1, 1), plat::clNone);
  EXPECT_EQ(objs.GetComment(1, 1), "");
  int angle = 9;
  EXPECT_FALSE(objs.IsRotated(1, 1, angle));
  EXPECT_EQ(angle, 9);
  EXPECT_EQ(objs.GetCellImageKey(1, 1), -1);
}

TEST_F(CellObjects, MergedAreasAnswerForTheirBaseCell) {
  objs.AddScrollBar(1, 1, false);
  g.MergeCells(1, 1, 2, 2);
  EXPECT_TRUE(objs.HasScrollBar(2, 2));
  objs.SetScrollProp(2, 2, {10, 300});
  EXPECT_EQ(objs.GetScrollProp(1, 1).Range, 300);
  EXPECT_EQ(objs.GetScrollProp(1, 1).PageSize, 10);
  EXPECT_FALSE(objs.IsControlCell(2, 2));
  objs.AddButton(1, 1, 30, 18, "Go", haCenter, vaCenter);
  EXPECT_TRUE(objs.IsControlCell(2, 1));
  EXPECT_EQ(objs.GetCellGraphic(1, 1)->CellIndex, (18 << 16) | 30);
  objs.AddBitButton(1, 1, 30, 18, "Go", nullptr, haCenter, vaCenter);
  EXPECT_FALSE(objs.IsControlCell(2, 1));  // a glyph button is not a control cell
  EXPECT_TRUE(objs.HasButton(2, 1));
  EXPECT_TRUE(objs.RemoveButton(1, 1));
}

TEST_F(CellObjects, BalloonsOnChecksAndOnPlainCells) {
  TCellGraphic* box = objs.CreateCellGraphic(1, 1);
  box->SetCheckBox(true, false, true, haBeforeText, vaTop);
  objs.AddBalloon(1, 1, "Title", "Text", biError);
  objs.AddBalloon(1, 1, "Title 2", "Text 2", biInfo);  // the first list is freed
  QString title, text;
  TBalloonIcon icon = biNone;
  ASSERT_TRUE(objs.IsBalloon(1, 1, title, text, icon));
  EXPECT_EQ(title, "Title 2");
  EXPECT_EQ(icon, biInfo);
  EXPECT_EQ(objs.GetCellType(1, 1), ctCheckBox);
  EXPECT_FALSE(objs.HasBalloon(1, 1));
  EXPECT_TRUE(objs.RemoveBalloon(1, 1));
  EXPECT_FALSE(objs.IsBalloon(1, 1, title, text, icon));
  EXPECT_EQ(objs.GetCellType(1, 1), ctCheckBox);
  objs.AddComment(2, 2, "c");
  objs.AddBalloon(2, 2, "T", "X", biInfo);  // another kind: nothing happens
  EXPECT_FALSE(objs.IsBalloon(2, 2, title, text, icon));
  objs.AddBalloon(3, 3, "T", "X", biWarning);
  EXPECT_TRUE(objs.HasBalloon(3, 3));
  // Turning a check box with a balloon into rotated text keeps the strings owned: nothing leaks.
  objs.AddBalloon(1, 1, "T", "X", biInfo);
  objs.SetRotated(1, 1, 90);
  EXPECT_EQ(objs.GetCellType(1, 1), ctRotated);
}

TEST_F(CellObjects, MarkersOnAnyObject) {
  objs.AddMarker(1, 1, 3, 4);
  EXPECT_EQ(objs.GetCellType(1, 1), ctEmpty);
  int from = 0, len = 0;
  objs.GetMarker(1, 1, from, len);
  EXPECT_EQ(from, 3);
  EXPECT_EQ(len, 4);
  objs.AddComment(2, 2, "c");
  objs.AddMarker(2, 2, 1, 2);
  objs.RemoveAllMarkers();
  EXPECT_EQ(objs.GetCellGraphic(1, 1), nullptr);
  EXPECT_EQ(objs.GetCellType(2, 2), ctComment);
  objs.GetMarker(2, 2, from, len);
  EXPECT_EQ(from + len, 0);
}

TEST_F(CellObjects, MultiImageListsRepaintTheirCell) {
  g.HasParent = true;
  TIntList* list = objs.AddMultiImage(3, 2, 0, haLeft, vaTop);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(objs.GetCellImages(3, 2), list);
  g.Repaints.clear();
  list->Add(4);
  ASSERT_FALSE(g.Repaints.empty());
  EXPECT_EQ(g.Repaints.back(), (testing::TTestGrid::Cell{3, 2}));
  objs.AddDataImage(1, 1, 2, haLeft, vaTop);
  EXPECT_EQ(g.Cells(1, 1), "2");
  objs.RemoveDataImage(1, 1);
  EXPECT_EQ(g.Cells(1, 1), "");
}

TEST_F(CellObjects, AssignCopiesValuesButNotReferences) {
  TCellGraphic a;
  a.SetRadioButton(true, true, haAfterText, vaBottom);
  a.CellBitmap = &a;
  a.CellText = "t";
  a.CellVar = 3;
  TCellGraphic b;
  b.Assign(&a);
  EXPECT_EQ(b.CellType, ctRadioButton);
  EXPECT_TRUE(b.CellBoolean);
  EXPECT_EQ(b.CellHAlign, haAfterText);
  EXPECT_EQ(b.CellText, "t");
  EXPECT_EQ(b.CellBitmap, nullptr);
  EXPECT_FALSE(b.CellVar.isValid());
}

}  // namespace
}  // namespace grid
