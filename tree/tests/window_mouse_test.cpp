// The tree's mouse input through real (synthetic) Qt mouse events on the offscreen platform: clicks with and
// without modifiers and options against the selection, focus and anchor they leave; check boxes pressed and
// applied; expand buttons and double clicks; the rubber band; hot tracking; the context menu; wheel panning;
// the timers; and the order of the events a click fires.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/messages.h"
#include "tree/stringtree.h"

namespace lazytree {
namespace {

class TMouseTree : public TLazyStringTree {
 public:
  using TLazyStringTree::TLazyStringTree;
  using TLazyStringTree::HandleTimer;
  bool FakeCursor = false;
  plat::TPoint Cursor{0, 0};

 protected:
  plat::TPoint CursorClientPos() const override {
    return FakeCursor ? Cursor : TLazyStringTree::CursorClientPos();
  }
};

using Names = std::vector<std::string>;

// Ten top-level nodes "0".."9" (18 px rows); "2" has children "2.0".."2.2", collapsed; 300 x 200 pixels.
struct Fixture {
  plat::TForm form{nullptr};
  TMouseTree* tree;
  std::vector<PLazyNode> top;
  std::vector<std::string> log;
  explicit Fixture(TLTSelectionOptions selection = {toMultiSelect}, int count = 10) {
    form.SetBounds(0, 0, 400, 300);
    tree = new TMouseTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
    tree->SetSelectionOptions(selection);
    tree->OnGetText = [this](TBaseLazyTree*, PLazyNode n, TColumnIndex, TLSTTextType, QString& text) {
      text = QString::fromStdString(Name(n));
    };
    tree->BeginUpdate();
    for (int i = 0; i < count; ++i) top.push_back(tree->AddChild(nullptr));
    for (int i = 0; i < 3; ++i) tree->AddChild(top[2]);
    tree->EndUpdate();
    form.Show();
    QApplication::processEvents();
  }
  std::string Name(PLazyNode n) const {
    if (!n) return "nil";
    if (n->Parent == tree->RootNode()) return std::to_string(n->Index);
    return Name(n->Parent) + "." + std::to_string(n->Index);
  }
  Names Selected() {
    Names r;
    for (PLazyNode n : tree->GetSortedSelection(false)) r.push_back(Name(n));
    return r;
  }
  void Select(std::initializer_list<int> rows) {
    for (int i : rows) tree->AddToSelection(top[i]);
  }
  // The middle of the first run of pixels in the node's row that hits Part.
  plat::TPoint At(PLazyNode n, THitPosition part) {
    const plat::TRect r = tree->GetDisplayRect(n, NoColumn, false);
    const int y = (r.Top + r.Bottom) / 2;
    int first = -1, last = -1;
    for (int x = 0; x < tree->ClientWidth(); ++x) {
      THitInfo hit;
      tree->GetHitTestInfoAt(x, y, true, hit);
      const bool on = hit.HitNode == n && hit.HitPositions.Has(part);
      if (on && first < 0) first = x;
      if (!on && first >= 0) {
        last = x - 1;
        break;
      }
      if (on) last = x;
    }
    EXPECT_GE(first, 0) << "no such part in row " << Name(n);
    return {(first + last) / 2, y};
  }
  QWidget* W() { return tree->Widget(); }
  void Press(plat::TPoint p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(W(), b, m, QPoint(p.X, p.Y));
  }
  void Release(plat::TPoint p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(W(), b, m, QPoint(p.X, p.Y));
  }
  void Click(plat::TPoint p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) {
    Press(p, m, b);
    Release(p, m, b);
  }
  void Move(plat::TPoint p, Qt::MouseButtons held = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p.X, p.Y), W()->mapToGlobal(QPointF(p.X, p.Y)), Qt::NoButton, held, m);
    QApplication::sendEvent(W(), &e);
  }
  void LogEvents() {
    tree->OnMouseDown = [this](plat::TObject*, plat::TMouseButton, plat::TShiftState, int, int) {
      log.push_back("mouse down");
    };
    tree->OnMouseUp = [this](plat::TObject*, plat::TMouseButton, plat::TShiftState, int, int) {
      log.push_back("mouse up");
    };
    tree->OnAddToSelection = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("+" + Name(n)); };
    tree->OnRemoveFromSelection = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("-" + Name(n)); };
    tree->OnChange = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("change " + Name(n)); };
    tree->OnNodeClick = [this](TBaseLazyTreeControl*, const THitInfo& h) { log.push_back("click " + Name(h.HitNode)); };
    tree->OnNodeDblClick = [this](TBaseLazyTreeControl*, const THitInfo& h) {
      log.push_back("dblclick " + Name(h.HitNode));
    };
    tree->OnExpanded = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("expanded " + Name(n)); };
    tree->OnCollapsed = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("collapsed " + Name(n)); };
    tree->OnChecking = [this](TBaseLazyTree*, PLazyNode n, TCheckState&, bool&) { log.push_back("checking " + Name(n)); };
    tree->OnChecked = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("checked " + Name(n)); };
  }
};

TEST(TreeMouse, ClicksSelectFocusAndAnchor) {
  struct Case {
    const char* name;
    TLTSelectionOptions options;
    std::vector<int> before;  // selected before, the focus and anchor on the last one
    int row;
    THitPosition part;
    Qt::KeyboardModifiers mods;
    Names selected;
    std::string focus;
    std::string anchor;
  };
  const TLTSelectionOptions multi{toMultiSelect};
  const Case cases[] = {
      {"plain click replaces", multi, {1, 3}, 5, hiOnItemLabel, {}, {"5"}, "5", "5"},
      {"click on a selected node of several", multi, {1, 3, 5}, 3, hiOnItemLabel, {}, {"3"}, "3", "3"},
      {"ctrl adds", multi, {1, 3}, 5, hiOnItemLabel, Qt::ControlModifier, {"1", "3", "5"}, "5", "5"},
      {"ctrl removes", multi, {1, 3}, 1, hiOnItemLabel, Qt::ControlModifier, {"3"}, "1", "1"},
      {"shift takes the range from the anchor", multi, {1, 3}, 6, hiOnItemLabel, Qt::ShiftModifier,
       {"3", "4", "5", "6"}, "6", "3"},
      {"shift upwards", multi, {4}, 1, hiOnItemLabel, Qt::ShiftModifier, {"1", "2", "3", "4"}, "1", "4"},
      {"ctrl+shift keeps the rest", multi, {0, 5}, 7, hiOnItemLabel, Qt::ControlModifier | Qt::ShiftModifier,
       {"0", "5", "6", "7"}, "7", "5"},
      // Nothing selected when the focus moves: the anchor follows the focus.
      {"single select ignores modifiers", {}, {1}, 5, hiOnItemLabel, Qt::ShiftModifier, {"5"}, "5", "5"},
      {"right of an unselected node's text clears", multi, {1, 3}, 5, hiOnItemRight, {}, {}, "3", "3"},
      {"right of a selected node's text keeps that node alone", multi, {1, 3}, 1, hiOnItemRight, {}, {"1"}, "3",
       "3"},
      {"below the last row clears", multi, {1, 3}, -1, hiNowhere, {}, {}, "3", "3"},
      {"always select keeps the selection below the last row", {toMultiSelect, toAlwaysSelectNode}, {1, 3}, -1,
       hiNowhere, {}, {"1", "3"}, "3", "3"},
      {"full row select takes the row anywhere", {toMultiSelect, toFullRowSelect}, {1}, 5, hiOnItemRight, {},
       {"5"}, "5", "5"},
  };
  for (const Case& c : cases) {
    Fixture f(c.options);
    // The way a user gets there: a click, then Ctrl-clicks; the last one is focused and the anchor.
    for (std::size_t i = 0; i < c.before.size(); ++i)
      f.Click(f.At(f.top[c.before[i]], hiOnItemLabel), i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    ASSERT_EQ(f.tree->SelectedCount(), c.before.size()) << c.name;
    f.Click(c.row < 0 ? plat::TPoint{100, 10 * 18 + 6} : f.At(f.top[c.row], c.part), c.mods);
    EXPECT_EQ(f.Selected(), c.selected) << c.name;
    EXPECT_EQ(f.Name(f.tree->FocusedNode()), c.focus) << c.name;
    EXPECT_EQ(f.Name(f.tree->RangeAnchor()), c.anchor) << c.name;
    EXPECT_FALSE(f.tree->TreeStates().Has(tsLeftButtonDown)) << c.name;
  }
}

TEST(TreeMouse, SelectedNodeOfASelectionWaitsForTheReleaseWhenItMayBeDragged) {
  Fixture f;
  f.tree->SetDragMode(TBaseLazyTreeControl::dmAutomatic);
  f.Select({1, 3, 5});
  const plat::TPoint p = f.At(f.top[3], hiOnItemLabel);
  f.Press(p);
  EXPECT_EQ(f.Selected(), (Names{"1", "3", "5"})) << "the others stay while a drag may start";
  EXPECT_TRUE(f.tree->TreeStates().Has(tsClearPending));
  EXPECT_TRUE(f.tree->TreeStates().Has(tsOLEDragPending));
  f.Release(p);
  EXPECT_EQ(f.Selected(), (Names{"3"}));
  // Clicking an unselected node clears the others at once.
  f.Select({1, 5});
  f.Press(f.At(f.top[7], hiOnItemLabel));
  EXPECT_EQ(f.Selected(), (Names{"7"}));
  f.Release(f.At(f.top[7], hiOnItemLabel));
}

TEST(TreeMouse, CtrlClickOnADraggableNodeTogglesAtTheRelease) {
  Fixture f;
  f.tree->SetDragMode(TBaseLazyTreeControl::dmAutomatic);
  f.Select({1, 3});
  const plat::TPoint p = f.At(f.top[3], hiOnItemLabel);
  f.Press(p, Qt::ControlModifier);
  EXPECT_EQ(f.Selected(), (Names{"1", "3"}));
  f.Release(p, Qt::ControlModifier);
  EXPECT_EQ(f.Selected(), (Names{"1"}));
}

TEST(TreeMouse, ClickEventOrder) {
  Fixture f;
  f.LogEvents();
  f.Click(f.At(f.top[4], hiOnItemLabel));
  EXPECT_EQ(f.log, (std::vector<std::string>{"mouse down", "+4", "change 4", "click 4", "mouse up"}));
  f.log.clear();
  f.Click(f.At(f.top[6], hiOnItemRight));  // beside the text of an unselected node: the selection goes
  EXPECT_EQ(f.log, (std::vector<std::string>{"mouse down", "-4", "change nil", "click 6", "mouse up"}));
}

TEST(TreeMouse, CheckBoxIsPressedOnTheDownAndAppliedOnTheUpOverTheSameRow) {
  Fixture f;
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  for (PLazyNode n : f.top) f.tree->SetCheckType(n, ctCheckBox);
  f.LogEvents();
  const plat::TPoint box = f.At(f.top[1], hiOnItemCheckbox);
  f.Press(box);
  EXPECT_EQ(f.top[1]->CheckState, csUncheckedPressed);
  EXPECT_EQ(f.tree->CheckNode(), f.top[1]);
  f.Release(f.At(f.top[1], hiOnItemLabel));  // same row, not on the box
  EXPECT_EQ(f.top[1]->CheckState, csCheckedNormal);
  EXPECT_EQ(f.tree->CheckNode(), nullptr);
  EXPECT_EQ(f.log, (std::vector<std::string>{"mouse down", "checking 1", "checked 1", "click 1", "mouse up"}));
  EXPECT_TRUE(f.Selected().empty()) << "a check box click selects nothing";

  f.Press(box);
  EXPECT_EQ(f.top[1]->CheckState, csCheckedPressed);
  f.Release(f.At(f.top[2], hiOnItemLabel));  // released over another node
  EXPECT_EQ(f.top[1]->CheckState, csCheckedNormal);
  EXPECT_EQ(f.top[2]->CheckState, csUncheckedNormal);

  // A refused change shows nothing pressed.
  f.tree->OnChecking = [](TBaseLazyTree*, PLazyNode, TCheckState&, bool& allowed) { allowed = false; };
  f.Press(box);
  EXPECT_EQ(f.top[1]->CheckState, csCheckedNormal);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsMouseCheckPending));
  f.Release(box);
  EXPECT_EQ(f.top[1]->CheckState, csCheckedNormal);
}

TEST(TreeMouse, RightButtonOnACheckBoxDoesNothing) {
  Fixture f({toMultiSelect, toRightClickSelect});
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  f.tree->SetCheckType(f.top[1], ctCheckBox);
  const plat::TPoint box = f.At(f.top[1], hiOnItemCheckbox);
  f.Click(box, {}, Qt::RightButton);
  EXPECT_EQ(f.top[1]->CheckState, csUncheckedNormal);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsMouseCheckPending));
  // The right button selects like the left one on a label.
  f.Click(f.At(f.top[3], hiOnItemLabel), {}, Qt::RightButton);
  EXPECT_EQ(f.Selected(), (Names{"3"}));
}

TEST(TreeMouse, ButtonsAndDoubleClicksToggle) {
  Fixture f;
  f.LogEvents();
  f.Click(f.At(f.top[2], hiOnItemButton));
  EXPECT_TRUE(f.tree->GetExpanded(f.top[2]));
  EXPECT_TRUE(f.Selected().empty()) << "the button only toggles";
  f.log.clear();
  QTest::mouseDClick(f.W(), Qt::LeftButton, {}, [&] {
    const plat::TPoint p = f.At(f.top[2], hiOnItemLabel);
    return QPoint(p.X, p.Y);
  }());
  EXPECT_FALSE(f.tree->GetExpanded(f.top[2])) << "toOnToggleOnDblClick is a default option";
  const auto dbl = std::find(f.log.begin(), f.log.end(), "dblclick 2");
  ASSERT_NE(dbl, f.log.end());
  EXPECT_EQ(std::next(dbl), std::find(f.log.begin(), f.log.end(), "collapsed 2"))
      << "OnNodeDblClick fires before the toggle";
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions - TLTMiscOptions{toToggleOnDblClick});
  QTest::mouseDClick(f.W(), Qt::LeftButton, {}, [&] {
    const plat::TPoint p = f.At(f.top[2], hiOnItemLabel);
    return QPoint(p.X, p.Y);
  }());
  EXPECT_FALSE(f.tree->GetExpanded(f.top[2]));
}

TEST(TreeMouse, RubberBandSelectsWhatItCoversAndCtrlToggles) {
  Fixture f;
  f.LogEvents();
  // From the empty space right of row 1 to the left of the texts in row 4.
  const plat::TPoint start{250, f.At(f.top[1], hiOnItemLabel).Y};
  const int left = f.At(f.top[4], hiOnItemLabel).X - 2;
  f.Press(start);
  EXPECT_TRUE(f.tree->TreeStates().Has(tsDrawSelPending));
  f.Move({start.X - 3, start.Y + 2});  // within the drag distance: still pending
  EXPECT_TRUE(f.tree->TreeStates().Has(tsDrawSelPending));
  EXPECT_TRUE(f.Selected().empty());
  f.Move({left, f.At(f.top[4], hiOnItemLabel).Y});
  EXPECT_TRUE(f.tree->TreeStates().Has(tsDrawSelecting));
  EXPECT_EQ(f.Selected(), (Names{"1", "2", "3", "4"}));
  f.Move({left, f.At(f.top[2], hiOnItemLabel).Y});  // shrinking gives the rows back
  EXPECT_EQ(f.Selected(), (Names{"1", "2"}));
  f.Release({left, f.At(f.top[2], hiOnItemLabel).Y});
  EXPECT_FALSE(f.tree->IsMouseSelecting());
  const auto changes = std::count_if(f.log.begin(), f.log.end(), [](const std::string& s) { return s == "change nil"; });
  EXPECT_EQ(changes, 2) << "one notification per move that changed the selection";

  // With Ctrl the band toggles; shrinking it back restores each row's state.
  const plat::TPoint start2{250, f.At(f.top[0], hiOnItemLabel).Y};
  f.Press(start2, Qt::ControlModifier);
  f.Move({left, f.At(f.top[3], hiOnItemLabel).Y}, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(f.Selected(), (Names{"0", "3"}));
  f.Move({left, f.At(f.top[0], hiOnItemLabel).Y}, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(f.Selected(), (Names{"0", "1", "2"})) << "rows 1 to 3 left the band, row 0 stays toggled";
  f.Release({left, f.At(f.top[0], hiOnItemLabel).Y}, Qt::ControlModifier);
}

TEST(TreeMouse, RubberBandAcrossTheTextOnlyMeetsRowsWhoseTextItCrosses) {
  Fixture f;
  // A narrow band right of every text covers no label; with toSimpleDrawSelection the rows count.
  const plat::TPoint a{200, f.At(f.top[1], hiOnItemLabel).Y}, b{240, f.At(f.top[5], hiOnItemLabel).Y};
  f.Press(a);
  f.Move(b);
  EXPECT_TRUE(f.Selected().empty());
  f.Release(b);
  f.tree->SetSelectionOptions({toMultiSelect, toSimpleDrawSelection});
  f.Press(a);
  f.Move(b);
  EXPECT_EQ(f.Selected(), (Names{"1", "2", "3", "4", "5"}));
  f.Release(b);
}

TEST(TreeMouse, BandAndSelectionArePainted) {
  Fixture f;
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  for (PLazyNode n : f.top) f.tree->SetCheckType(n, ctCheckBox);
  f.Click(f.At(f.top[1], hiOnItemCheckbox));
  f.tree->SetFocus();
  f.Click(f.At(f.top[6], hiOnItemLabel));
  const plat::TPoint a{260, f.At(f.top[3], hiOnItemLabel).Y}, b{f.At(f.top[5], hiOnItemLabel).X, 120};
  f.Press(a, Qt::ShiftModifier);
  f.Move(b, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(f.Selected(), (Names{"3", "4", "5", "6"}));
  f.tree->Repaint();
  const QImage shot = f.W()->grab().toImage();
  shot.save(QStringLiteral(TEST_BINARY_DIR "/tree_mouse_band.png"));
  // The band's right edge runs through empty space right of the texts.
  const QRgb background = shot.pixel(280, 5);
  int marked = 0;
  for (int y = a.Y + 2; y < 118; ++y) marked += shot.pixel(a.X - 1, y) != background;
  EXPECT_GT(marked, 10);
  f.Release(b, Qt::ShiftModifier);
  f.tree->Repaint();
  EXPECT_EQ(f.W()->grab().toImage().pixel(a.X - 1, 100), background) << "the band is gone after the release";
}

TEST(TreeMouse, AutoScrollExtendsTheBand) {
  Fixture f({toMultiSelect}, 100);
  f.tree->SetAutoOptions(f.tree->TreeOptions().AutoOptions + TLTAutoOptions{toAutoScroll});
  f.tree->FakeCursor = true;
  const plat::TPoint start{250, 27};  // row 1, right of its text
  const plat::TPoint edge{20, f.tree->ClientHeight() - 4};
  f.Press(start);
  f.tree->Cursor = edge;
  f.Move(edge);  // the band starts on this move
  ASSERT_TRUE(f.tree->TreeStates().Has(tsDrawSelecting));
  f.Move({edge.X + 1, edge.Y});
  EXPECT_TRUE(f.tree->TreeStates().Has(tsScrollPending)) << "the band near the bottom edge asks to scroll";
  const std::size_t before = f.Selected().size();
  f.tree->HandleTimer(TBaseLazyTreeControl::ScrollTimer);  // the delay ends: one step
  f.tree->HandleTimer(TBaseLazyTreeControl::ScrollTimer);
  EXPECT_LT(f.tree->OffsetY(), 0);
  EXPECT_GT(f.Selected().size(), before) << "rows scrolled under the mouse join the band";
  EXPECT_EQ(f.Selected().front(), "1");
  f.Release(edge);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsScrolling));
}

TEST(TreeMouse, RubberBandInARightToLeftColumnMeetsTheMirroredTexts) {
  Fixture f;
  f.tree->Header().Columns().Add()->SetWidth(280);
  f.tree->Header().SetMainColumn(0);
  f.tree->Header().Columns()[0]->SetBiDiMode(bdRightToLeft);
  const plat::TPoint text3 = f.At(f.top[3], hiOnItemLabel);
  ASSERT_GT(text3.X, 200) << "the texts sit at the right";
  const plat::TPoint start{10, f.At(f.top[1], hiOnItemLabel).Y};
  f.Press(start);
  f.Move({text3.X - 40, text3.Y});  // still left of every text
  EXPECT_TRUE(f.Selected().empty());
  f.Move(text3);
  EXPECT_EQ(f.Selected(), (Names{"1", "2", "3"}));
  f.Release(text3);
}

TEST(TreeMouse, HotTrackingReportsEnterAndLeave) {
  Fixture f;
  std::vector<std::string> hot;
  f.tree->OnHotChange = [&](TBaseLazyTreeControl*, PLazyNode o, PLazyNode n) {
    hot.push_back(f.Name(o) + ">" + f.Name(n));
  };
  f.Move(f.At(f.top[1], hiOnItemLabel), Qt::NoButton);
  f.Move(f.At(f.top[1], hiOnItemLabel), Qt::NoButton);  // no change, no event
  f.Move(f.At(f.top[3], hiOnItemLabel), Qt::NoButton);
  f.Move(f.At(f.top[3], hiOnItemRight), Qt::NoButton);
  f.Move(f.At(f.top[4], hiOnItemLabel), Qt::NoButton);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(f.W(), &leave);
  EXPECT_EQ(hot, (std::vector<std::string>{"nil>1", "1>3", "3>nil", "nil>4", "4>nil"}));
  EXPECT_EQ(f.tree->HotNode(), nullptr);
}

TEST(TreeMouse, CursorOverHotNodesAndSplitters) {
  Fixture f;
  f.tree->SetHotCursor(plat::crHandPoint);
  f.Move(f.At(f.top[1], hiOnItemLabel), Qt::NoButton);
  EXPECT_EQ(f.tree->ShownCursor(), plat::crDefault) << "the hot cursor needs toHotTrack";
  f.tree->SetPaintOptions(f.tree->TreeOptions().PaintOptions + TLTPaintOptions{toHotTrack});
  f.Move(f.At(f.top[2], hiOnItemLabel), Qt::NoButton);
  EXPECT_EQ(f.tree->ShownCursor(), plat::crHandPoint);
  f.tree->OnGetCursor = [](TBaseLazyTreeControl*, plat::TCursor& c) { c = plat::crCross; };
  f.Move(f.At(f.top[3], hiOnItemLabel), Qt::NoButton);
  EXPECT_EQ(f.tree->ShownCursor(), plat::crCross);
  EXPECT_EQ(f.W()->cursor().shape(), Qt::CrossCursor);
}

TEST(TreeMouse, ContextMenuComesFromTheNodeOrItsAncestors) {
  Fixture f;
  f.tree->FullExpand();
  plat::TPopupMenu menu(nullptr);
  std::vector<std::string> asked;
  std::vector<plat::TPopupMenu*> shown;
  const plat::TPopupMenuRunner old = plat::SetPopupMenuRunner([&](plat::TPopupMenu* m, int, int) {
    shown.push_back(m);
    return nullptr;
  });
  f.tree->OnGetPopupMenu = [&](TBaseLazyTreeControl*, PLazyNode n, TColumnIndex, const plat::TPoint&, bool& ask,
                               plat::TPopupMenu*& m) {
    asked.push_back(f.Name(n));
    if (n == f.top[2]) m = &menu;
    (void)ask;
  };
  PLazyNode child = f.tree->GetFirstChild(f.top[2]);
  f.Click(f.At(child, hiOnItemLabel), {}, Qt::RightButton);
  EXPECT_EQ(asked, (std::vector<std::string>{"2.0", "2"}));
  EXPECT_EQ(shown, (std::vector<plat::TPopupMenu*>{&menu}));
  asked.clear();
  shown.clear();
  f.tree->OnGetPopupMenu = [&](TBaseLazyTreeControl*, PLazyNode n, TColumnIndex, const plat::TPoint&, bool& ask,
                               plat::TPopupMenu*&) {
    asked.push_back(f.Name(n));
    ask = false;
  };
  f.Click(f.At(child, hiOnItemLabel), {}, Qt::RightButton);
  EXPECT_EQ(asked, (std::vector<std::string>{"2.0"})) << "a cleared AskParent stops the search";
  asked.clear();
  plat::TPopupMenu own(nullptr);
  f.tree->SetPopupMenu(&own);
  f.Click(f.At(child, hiOnItemLabel), {}, Qt::RightButton);
  EXPECT_TRUE(asked.empty()) << "the tree's own PopupMenu is not asked about";
  f.tree->SetPopupMenu(nullptr);
  plat::SetPopupMenuRunner(old);
}

TEST(TreeMouse, WheelPanningStartsOnlyWhenTheContentIsLarger) {
  Fixture small;
  small.Press({100, 50}, {}, Qt::MiddleButton);
  EXPECT_FALSE(small.tree->TreeStates().Has(tsWheelPanning));
  small.Release({100, 50}, {}, Qt::MiddleButton);

  Fixture f({toMultiSelect}, 100);
  const plat::TPoint origin{100, 90};
  f.Press(origin, {}, Qt::MiddleButton);
  EXPECT_TRUE(f.tree->TreeStates().Has(tsWheelPanning));
  EXPECT_TRUE(f.tree->TreeStates().Has(tsWheelScrolling));
  ASSERT_NE(f.tree->PanningWindow(), nullptr);
  EXPECT_EQ(f.tree->PanningCursorName(), "LT_MOVENS") << "only vertical room";
  const QImage plate = f.tree->PanningWindow()->grab().toImage();
  plate.scaled(128, 128).save(QStringLiteral(TEST_BINARY_DIR "/tree_panning_window.png"));
  EXPECT_FALSE(f.tree->PanningWindow()->mask().contains(QPoint(0, 0))) << "the corners are cut away";
  EXPECT_TRUE(f.tree->PanningWindow()->mask().contains(QPoint(16, 16)));
  f.Release(origin, {}, Qt::MiddleButton);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsWheelPanning)) << "released early: hands-free scrolling";
  EXPECT_TRUE(f.tree->TreeStates().Has(tsWheelScrolling));

  // The pointer 40 px below the origin: each tick scrolls by the distance beyond the 8 px dead zone.
  f.tree->FakeCursor = true;
  f.tree->Cursor = {origin.X, origin.Y + 40};
  f.Move(f.tree->Cursor, Qt::NoButton);
  EXPECT_EQ(f.tree->PanningCursorName(), "LT_MOVES");
  f.tree->HandleTimer(TBaseLazyTreeControl::ScrollTimer);
  EXPECT_EQ(f.tree->OffsetY(), -32);
  f.tree->HandleTimer(TBaseLazyTreeControl::ScrollTimer);
  EXPECT_EQ(f.tree->OffsetY(), -64);

  // The next click ends it and does nothing else.
  f.Click(f.At(f.top[5], hiOnItemLabel));
  EXPECT_FALSE(f.tree->TreeStates().Has(tsWheelScrolling));
  EXPECT_EQ(f.tree->PanningWindow(), nullptr);
  EXPECT_TRUE(f.Selected().empty());
  EXPECT_TRUE(f.tree->PanningCursorName().isEmpty());

  // A wheel turn ends hands-free scrolling too.
  f.Click(origin, {}, Qt::MiddleButton);
  ASSERT_TRUE(f.tree->TreeStates().Has(tsWheelScrolling));
  f.tree->Perform(plat::WM_MOUSEWHEEL, plat::MakeWParam(0, static_cast<uint16_t>(-120)), 0);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsWheelScrolling));
  EXPECT_EQ(f.tree->PanningWindow(), nullptr);

  // Dragged with the button held, panning ends at the release.
  f.Press(origin, {}, Qt::MiddleButton);
  f.Move({origin.X, origin.Y + 30}, Qt::MiddleButton);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsWheelScrolling));
  EXPECT_TRUE(f.tree->TreeStates().Has(tsWheelPanning));
  f.Release({origin.X, origin.Y + 30}, {}, Qt::MiddleButton);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsWheelPanning));
  EXPECT_EQ(f.tree->PanningWindow(), nullptr);
}

TEST(TreeMouse, NodeHeightFollowsADragOnTheSplitterOfAFixedColumn) {
  Fixture f;
  f.tree->Header().Columns().Add()->SetWidth(150);
  f.tree->Header().Columns().Add()->SetWidth(100);
  f.tree->Header().SetMainColumn(0);
  TLazyTreeColumn* fixed = f.tree->Header().Columns()[0];
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions + TLTMiscOptions{toNodeHeightResize});
  const int bottom = f.tree->GetDisplayRect(f.top[1], 0, false).Bottom;  // row 1: 18..36
  const plat::TPoint splitter{20, bottom - 2};
  f.Press(splitter);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsNodeHeightTrackPending)) << "only in a fixed column";
  f.Release(splitter);
  fixed->SetOptions(fixed->Options() + TLTColumnOptions{coFixed});
  f.Press(splitter);
  EXPECT_TRUE(f.tree->TreeStates().Has(tsNodeHeightTrackPending));
  f.Move({20, bottom + 10});
  EXPECT_TRUE(f.tree->TreeStates().Has(tsNodeHeightTracking));
  EXPECT_EQ(f.tree->GetNodeHeight(f.top[1]), 28u) << "the row ends at the mouse";
  f.Release({20, bottom + 10});
  EXPECT_FALSE(f.tree->TreeStates().Has(tsNodeHeightTracking));
  // The upper zone of the next row belongs to this row; a double click there resets its height.
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions + TLTMiscOptions{toNodeHeightDblClickResize});
  const int nextTop = f.tree->GetDisplayRect(f.top[2], 0, false).Top;
  QTest::mouseDClick(f.W(), Qt::LeftButton, {}, QPoint(20, nextTop + 1));
  EXPECT_EQ(f.tree->GetNodeHeight(f.top[1]), f.tree->DefaultNodeHeight());
}

TEST(TreeMouse, SecondClickOnASelectedLabelArmsAnEdit) {
  class TEditableTree : public TMouseTree {
   public:
    using TMouseTree::TMouseTree;
    std::vector<std::pair<TColumnIndex, uint32_t>> armed;

   protected:
    bool MouseCanEdit(PLazyNode, TColumnIndex) override { return true; }
    void MouseArmsEdit(TColumnIndex Column, uint32_t Delay) override { armed.push_back({Column, Delay}); }
  };
  plat::TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* t = new TEditableTree(&form);
  t->SetParent(&form);
  t->SetBounds(0, 0, 300, 200);
  t->SetRootNodeCount(3);
  t->SetEditDelay(700);
  form.Show();
  QApplication::processEvents();
  t->SetFocus();
  const QPoint label(30, 27);  // row 1, on the default text "Node"
  QTest::mouseClick(t->Widget(), Qt::LeftButton, {}, label);
  EXPECT_TRUE(t->armed.empty()) << "the first click only selects";
  QTest::mouseClick(t->Widget(), Qt::LeftButton, {}, label);
  EXPECT_EQ(t->armed, (std::vector<std::pair<TColumnIndex, uint32_t>>{{NoColumn, 700u}}));
  t->SetMiscOptions(t->TreeOptions().MiscOptions - TLTMiscOptions{toEditOnClick});
  QTest::mouseClick(t->Widget(), Qt::LeftButton, {}, label);
  EXPECT_EQ(t->armed.size(), 1u);
  EXPECT_FALSE(t->TreeStates().Has(tsEditPending)) << "without edit-on-click the release drops it";
  // A double click toggles instead while toToggleOnDblClick is set.
  t->SetMiscOptions(t->TreeOptions().MiscOptions + TLTMiscOptions{toEditOnDblClick} -
                    TLTMiscOptions{toToggleOnDblClick});
  QTest::mouseDClick(t->Widget(), Qt::LeftButton, {}, label);
  EXPECT_EQ(t->armed.back(), (std::pair<TColumnIndex, uint32_t>{NoColumn, 0u})) << "a double click edits at once";
}

TEST(TreeMouse, RightClickOnASelectionWithAMenuKeepsIt) {
  Fixture f({toMultiSelect, toRightClickSelect});
  plat::TPopupMenu menu(nullptr);
  const plat::TPopupMenuRunner old = plat::SetPopupMenuRunner([](plat::TPopupMenu*, int, int) { return nullptr; });
  f.Select({1, 3, 5});
  f.tree->OnGetPopupMenu = [&](TBaseLazyTreeControl*, PLazyNode, TColumnIndex, const plat::TPoint&, bool&,
                               plat::TPopupMenu*& m) { m = &menu; };
  f.Click(f.At(f.top[3], hiOnItemLabel), {}, Qt::RightButton);
  EXPECT_EQ(f.Selected(), (Names{"1", "3", "5"}));
  f.tree->OnGetPopupMenu = nullptr;
  f.Click(f.At(f.top[3], hiOnItemLabel), {}, Qt::RightButton);
  EXPECT_EQ(f.Selected(), (Names{"3"})) << "without a menu the right button selects like the left one";
  plat::SetPopupMenuRunner(old);
}

TEST(TreeMouse, AlwaysSelectNodeSelectsTheNextNodeWhenTheSelectedOneGoes) {
  Fixture f({toMultiSelect, toAlwaysSelectNode});
  f.Click(f.At(f.top[4], hiOnItemLabel));
  f.tree->DeleteNode(f.top[4]);
  EXPECT_EQ(f.Selected(), (Names{"4"})) << "the next sibling (now at index 4) is selected";
  EXPECT_NE(f.tree->FocusedNode(), nullptr);
  // The last selected node cannot be toggled off with Ctrl.
  const plat::TPoint p = f.At(f.top[5], hiOnItemLabel);
  f.tree->SetDragMode(TBaseLazyTreeControl::dmAutomatic);
  f.Click(p, Qt::ControlModifier);
  EXPECT_EQ(f.Selected(), (Names{"4"}));
}

TEST(TreeMouse, TimersEndTheirStates) {
  Fixture f;
  f.tree->DoStateChange({tsIncrementalSearching, tsEditPending});
  f.tree->Perform(plat::WM_TIMER, TBaseLazyTreeControl::SearchTimer, 0);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsIncrementalSearching));
  f.tree->Perform(plat::WM_TIMER, TBaseLazyTreeControl::EditTimer, 0);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsEditPending));
  f.tree->DoStateChange({tsScrollPending});
  f.tree->Perform(plat::WM_TIMER, TBaseLazyTreeControl::ScrollTimer, 0);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsScrollPending));
  f.tree->Perform(plat::WM_CANCELMODE, 0, 0);
  f.Press({250, 20});
  f.tree->Perform(plat::WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(f.tree->IsMouseSelecting()) << "cancel mode drops a pending band";
  f.Release({250, 20});
}

}  // namespace
}  // namespace lazytree
