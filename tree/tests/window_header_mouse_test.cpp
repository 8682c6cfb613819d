// The header's mouse handling, driven by the window messages the tree receives: divider grip zones, width and
// height tracking, column drags with their drop positions, clicks with sorting, double clicks, the hot button
// and its timer, cursors, and cancelling by Escape.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/messages.h"
#include "tree/checkimages.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"
#include "tree/treedrag.h"

namespace lazytree {
namespace {

// The tree reports a fixed mouse position for the cursor and timer queries.
class TProbeTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;
  plat::TPoint Mouse{-100, -100};

 protected:
  plat::TPoint CursorClientPos() const override { return Mouse; }
};

struct Fixture {
  plat::TForm form{nullptr};
  TProbeTree* tree;
  std::vector<std::string> log;
  Fixture() {
    form.SetBounds(0, 0, 600, 400);
    tree = new TProbeTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 400, 200);
    H().SetOptions(H().Options() + TLTHeaderOptions{hoVisible});
    for (int i = 0; i < 3; ++i) Cols().Add()->SetWidth(100);  // dividers at x 100, 200, 300
    H().OnHeaderClick = [this](TLTHeader*, const TLTHeaderHitInfo& hi) {
      log.push_back("click " + std::to_string(hi.Column) + (hi.Has(hhiNoWhere) ? " nowhere" : ""));
    };
    H().OnHeaderDblClick = [this](TLTHeader*, const TLTHeaderHitInfo& hi) { log.push_back("dblclick " + std::to_string(hi.Column)); };
    H().OnHeaderDragged = [this](TLTHeader*, int c, int old) {
      log.push_back("dragged " + std::to_string(c) + " from " + std::to_string(old));
    };
    H().OnHeaderDraggedOut = [this](TLTHeader*, int c, plat::TPoint) { log.push_back("out " + std::to_string(c)); };
    H().OnAfterColumnWidthTracking = [this](TLTHeader*, int c) { log.push_back("tracked " + std::to_string(c)); };
  }
  TLTHeader& H() { return tree->Header(); }
  TLazyTreeColumns& Cols() { return H().Columns(); }
  bool Send(plat::UINT msg, int x, int y, plat::WPARAM keys = 0) {
    plat::TMessage m{msg, keys, plat::MakeLParam(x, y), 0};
    return H().HeaderMessage(m);
  }
  void Click(int x, int y) {
    Send(plat::WM_LBUTTONDOWN, x, y, plat::MK_LBUTTON);
    Send(plat::WM_LBUTTONUP, x, y);
  }
  void Drag(int fromX, int toX, int toY = -5) {
    Send(plat::WM_LBUTTONDOWN, fromX, -5, plat::MK_LBUTTON);
    Send(plat::WM_MOUSEMOVE, fromX + 10, -5, plat::MK_LBUTTON);
    Send(plat::WM_MOUSEMOVE, toX, toY, plat::MK_LBUTTON);
    Send(plat::WM_LBUTTONUP, toX, toY);
  }
  std::vector<int> Order() { return Cols().PositionToIndex(); }
};

TEST(HeaderMouse, AHeaderWithoutColumnsFindsNothing) {
  Fixture f;
  f.Cols().Clear();
  EXPECT_FALSE(f.H().LocateColumnDivider({100, -5}));
  f.Click(50, -5);
  EXPECT_EQ(f.log, (std::vector<std::string>{"click -1 nowhere"}));
  f.Send(plat::WM_MOUSEMOVE, 50, -5);
  EXPECT_EQ(f.Cols().HoverIndex(), NoColumn);
}

TEST(HeaderMouse, TheDividerGripZoneReachesTwoLeftAndFourRight) {
  Fixture f;
  struct {
    int x;
    bool grabbed;
  } cases[] = {{97, false}, {98, true}, {100, true}, {104, true}, {105, false}};
  for (auto c : cases) {
    EXPECT_EQ(f.H().LocateColumnDivider({c.x, -5}), c.grabbed) << c.x;
    if (c.grabbed) {
      EXPECT_EQ(f.Cols().TrackIndex(), 0) << c.x;
    }
  }
  // A column that cannot be resized has no grip; the handler can take one away too.
  f.Cols()[1]->SetOptions(f.Cols()[1]->Options() - TLTColumnOptions{coResizable});
  EXPECT_FALSE(f.H().LocateColumnDivider({200, -5}));
  f.H().OnCanSplitterResizeColumn = [](TLTHeader*, plat::TPoint, int column, bool& allowed) { allowed = column != 2; };
  EXPECT_FALSE(f.H().LocateColumnDivider({300, -5}));
}

TEST(HeaderMouse, DraggingADividerTracksTheWidth) {
  Fixture f;
  int before = 0;
  f.H().OnBeforeColumnWidthTracking = [&](TLTHeader*, int c, plat::TShiftState) { before = c + 10; };
  EXPECT_TRUE(f.Send(plat::WM_LBUTTONDOWN, 201, -3, plat::MK_LBUTTON));
  EXPECT_EQ(before, 11);
  EXPECT_TRUE(f.H().States().Has(hsColumnWidthTrackPending));
  f.Send(plat::WM_MOUSEMOVE, 230, 40);  // the first move only switches state
  EXPECT_EQ(f.Cols()[1]->Width(), 100);
  EXPECT_TRUE(f.H().States().Has(hsColumnWidthTracking));
  f.Send(plat::WM_MOUSEMOVE, 230, 40);
  EXPECT_EQ(f.Cols()[1]->Width(), 130);
  EXPECT_EQ(f.Cols()[2]->Left(), 230);
  f.Send(plat::WM_MOUSEMOVE, 105, 40);  // clamped to the minimum width
  EXPECT_EQ(f.Cols()[1]->Width(), 10);
  f.Send(plat::WM_LBUTTONUP, 105, 40);
  EXPECT_EQ(f.log, (std::vector<std::string>{"tracked 1"}));
  EXPECT_TRUE(f.H().States().Empty());
  EXPECT_EQ(f.Cols().TrackIndex(), NoColumn);
}

TEST(HeaderMouse, DraggingTheBottomEdgeTracksTheHeight) {
  Fixture f;
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoHeightResize});
  EXPECT_FALSE(f.H().InHeaderSplitterArea({50, -3}));
  EXPECT_TRUE(f.H().InHeaderSplitterArea({50, -2}));
  EXPECT_TRUE(f.H().InHeaderSplitterArea({50, 1}));
  EXPECT_FALSE(f.H().InHeaderSplitterArea({50, 2}));
  f.Send(plat::WM_LBUTTONDOWN, 50, 0, plat::MK_LBUTTON);
  EXPECT_TRUE(f.H().States().Has(hsHeightTrackPending));
  f.Send(plat::WM_MOUSEMOVE, 50, 6);
  f.Send(plat::WM_MOUSEMOVE, 50, 6);
  EXPECT_EQ(f.H().Height(), 25);
  f.Send(plat::WM_LBUTTONUP, 50, 6);
  EXPECT_TRUE(f.H().States().Empty());
}

TEST(HeaderMouse, ADroppedColumnTakesThePositionOfTheDropSide) {
  struct Case {
    const char* name;
    int dropX, dropY;
    std::vector<int> order;
    const char* event;
  } cases[] = {
      {"right half of the third column", 280, -5, {1, 2, 0}, "dragged 0 from 0"},
      {"left half of the third column", 220, -5, {1, 0, 2}, "dragged 0 from 0"},
      {"outside the window", 280, 500, {0, 1, 2}, "out 0"},
      {"on itself", 30, -5, {0, 1, 2}, "out 0"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.Drag(50, c.dropX, c.dropY);
    EXPECT_EQ(f.Order(), c.order) << c.name;
    ASSERT_FALSE(f.log.empty()) << c.name;
    EXPECT_EQ(f.log.front(), c.event) << c.name;
    EXPECT_TRUE(f.H().States().Empty()) << c.name;
    EXPECT_EQ(f.H().DropTarget(), NoColumn) << c.name;
  }
  // Dropping a column on the left half of one to its left puts it before that one.
  Fixture f;
  f.Drag(250, 120);
  EXPECT_EQ(f.Order(), (std::vector<int>{0, 2, 1}));
}

TEST(HeaderMouse, AMoveWithinTheThresholdOrARefusedDragStaysAClick) {
  Fixture f;
  f.Send(plat::WM_LBUTTONDOWN, 50, -5, plat::MK_LBUTTON);
  f.Send(plat::WM_MOUSEMOVE, 54, -5, plat::MK_LBUTTON);
  EXPECT_TRUE(f.H().States().Has(hsDragPending));
  f.H().OnHeaderDragging = [](TLTHeader*, int, bool& allowed) { allowed = false; };
  f.Send(plat::WM_MOUSEMOVE, 250, -5, plat::MK_LBUTTON);
  EXPECT_FALSE(f.H().States().Has(hsDragging));
  f.Send(plat::WM_LBUTTONUP, 250, -5);
  EXPECT_EQ(f.log, (std::vector<std::string>{"click -1 nowhere"}));  // released over another column
}

TEST(HeaderMouse, EscapeCancelsADragAndATracking) {
  Fixture f;
  f.Send(plat::WM_LBUTTONDOWN, 50, -5, plat::MK_LBUTTON);
  f.Send(plat::WM_MOUSEMOVE, 70, -5, plat::MK_LBUTTON);
  f.Send(plat::WM_MOUSEMOVE, 280, -5, plat::MK_LBUTTON);
  EXPECT_EQ(f.H().DropTarget(), 2);
  EXPECT_TRUE(f.Send(plat::WM_KEYDOWN, 0, 0 /* not escape */) == false);
  plat::TMessage esc{plat::WM_KEYDOWN, plat::VK_ESCAPE, 0, 0};
  EXPECT_TRUE(f.H().HeaderMessage(esc));
  EXPECT_TRUE(f.H().States().Empty());
  EXPECT_EQ(f.Order(), (std::vector<int>{0, 1, 2}));
  f.Send(plat::WM_LBUTTONDOWN, 100, -5, plat::MK_LBUTTON);
  f.Send(plat::WM_MOUSEMOVE, 150, -5);
  f.Send(plat::WM_MOUSEMOVE, 150, -5);
  plat::TMessage kill{plat::WM_KILLFOCUS, 0, 0, 0};
  EXPECT_TRUE(f.H().HeaderMessage(kill));
  EXPECT_EQ(f.log, (std::vector<std::string>{"tracked 0"}));
  EXPECT_TRUE(f.H().States().Empty());
}

TEST(HeaderMouse, ClickingSortsAndTogglesTheDirection) {
  Fixture f;
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
  f.Cols()[2]->SetDefaultSortDirection(sdDescending);
  struct {
    int x;
    TColumnIndex sort;
    TSortDirection dir;
  } steps[] = {{50, 0, sdAscending}, {50, 0, sdDescending}, {50, 0, sdAscending}, {250, 2, sdDescending}};
  for (auto s : steps) {
    f.Click(s.x, -5);
    EXPECT_EQ(f.H().SortColumn(), s.sort) << s.x;
    EXPECT_EQ(f.H().SortDirection(), s.dir) << s.x;
  }
  EXPECT_EQ(f.log.back(), "click 2");
  // A right click reports the column without sorting.
  f.Send(plat::WM_RBUTTONUP, 150, -5);
  EXPECT_EQ(f.log.back(), "click 1");
  EXPECT_EQ(f.H().SortColumn(), 2);
}

TEST(HeaderMouse, DoubleClicksFitADividerResetTheEdgeOrReportTheColumn) {
  Fixture f;
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoDblClickResize, hoHeightDblClickResize, hoHeightResize});
  std::vector<TColumnIndex> fitted;
  f.H().OnAfterAutoFitColumn = [&](TLTHeader*, TColumnIndex c) { fitted.push_back(c); };
  EXPECT_TRUE(f.Send(plat::WM_LBUTTONDBLCLK, 201, -8));
  EXPECT_EQ(fitted, std::vector<TColumnIndex>{1});
  EXPECT_EQ(f.Cols()[1]->Width(), 10);  // no rows: the content is empty, the minimum width stays
  f.H().SetHeight(40);
  f.Send(plat::WM_LBUTTONDBLCLK, 50, -1);
  EXPECT_EQ(f.H().Height(), f.H().DefaultHeight());
  f.Send(plat::WM_LBUTTONDBLCLK, 50, -8);
  EXPECT_EQ(f.log.back(), "dblclick 0");
  EXPECT_FALSE(f.Send(plat::WM_LBUTTONDBLCLK, 50, 30));  // in the rows: the tree's own
}

TEST(HeaderMouse, TheHotButtonFollowsTheMouseUntilTheTimerSeesItLeave) {
  Fixture f;
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoHotTrack});
  EXPECT_TRUE(f.Send(plat::WM_MOUSEMOVE, 150, -5));
  EXPECT_EQ(f.Cols().HoverIndex(), 1);
  f.tree->Mouse = {150, -5};
  plat::TMessage tick{plat::WM_TIMER, TLTHeader::HeaderTimer, 0, 0};
  EXPECT_TRUE(f.H().HeaderMessage(tick));
  EXPECT_EQ(f.Cols().HoverIndex(), 1);
  f.tree->Mouse = {150, 50};
  f.H().HeaderMessage(tick);
  EXPECT_EQ(f.Cols().HoverIndex(), NoColumn);
}

TEST(HeaderMouse, CursorsOverDividersAndTheEdge) {
  Fixture f;
  struct Case {
    const char* name;
    plat::TPoint mouse;
    bool heightResize;
    bool handled;
    plat::TCursor cursor;
  } cases[] = {
      {"divider", {100, -5}, false, true, crHeaderSplit},
      {"edge", {50, 0}, true, true, crVertSplit},
      {"edge without height resizing", {50, 0}, false, false, plat::crDefault},
      {"inside a button", {50, -8}, true, false, plat::crDefault},
  };
  for (const Case& c : cases) {
    TLTHeaderOptions o = f.H().Options();
    if (c.heightResize) o.Include(hoHeightResize); else o.Exclude(hoHeightResize);
    f.H().SetOptions(o);
    f.tree->Mouse = c.mouse;
    plat::TMessage m{plat::WM_SETCURSOR, 0, 0, 0};
    EXPECT_EQ(f.H().HeaderMessage(m), c.handled) << c.name;
    if (c.handled) {
      EXPECT_EQ(f.H().HeaderCursor(), c.cursor) << c.name;
    }
  }
}

TEST(HeaderMouse, AnInvisibleHeaderLeavesTheMessagesToTheTree) {
  Fixture f;
  f.H().SetOptions(f.H().Options() - TLTHeaderOptions{hoVisible});
  EXPECT_FALSE(f.Send(plat::WM_LBUTTONDOWN, 50, -5));
  EXPECT_FALSE(f.Send(plat::WM_LBUTTONDOWN, 50, 20));
  EXPECT_FALSE(f.Send(plat::WM_MOUSEMOVE, 50, -5));
  EXPECT_TRUE(f.H().States().Empty());
}

// A dragged column shows a translucent picture of its button that follows the mouse (only sideways with
// hoRestrictDrag) until the button is released or the drag is cancelled.
TEST(HeaderMouse, ADraggedColumnShowsItsPictureFollowingTheMouse) {
  for (bool restrict : {false, true}) {
    for (bool cancel : {false, true}) {
      Fixture f;
      f.form.Show();
      if (restrict) f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoRestrictDrag});
      f.Cols()[1]->SetText(QStringLiteral("Value"));
      TLTDragImage& image = f.H().DragImage();
      f.Send(plat::WM_LBUTTONDOWN, 150, -5, plat::MK_LBUTTON);
      EXPECT_FALSE(image.Visible()) << "a press alone shows nothing";
      f.Send(plat::WM_MOUSEMOVE, 170, -5, plat::MK_LBUTTON);
      ASSERT_TRUE(image.Visible());
      EXPECT_EQ(image.Picture().size(), QSize(100, f.H().Height()));
      const plat::TPoint origin = f.tree->ClientToScreen({100, -f.H().Height()});
      EXPECT_EQ(image.ImagePosition(), QPoint(origin.X, origin.Y)) << "over the column's own button";
      // The picture shows the button: its caption darkens some of its pixels.
      int dark = 0;
      for (int y = 0; y < image.Picture().height(); ++y)
        for (int x = 0; x < image.Picture().width(); ++x) dark += qGray(image.Picture().pixel(x, y)) < 60;
      EXPECT_GT(dark, 5);
      f.Send(plat::WM_MOUSEMOVE, 200, 40, plat::MK_LBUTTON);
      EXPECT_EQ(image.ImagePosition(), QPoint(origin.X + 30, origin.Y + (restrict ? 0 : 45)));
      if (cancel) {
        f.Send(plat::WM_KEYDOWN, 0, 0);  // not Escape: nothing happens
        EXPECT_TRUE(image.Visible());
        plat::TMessage escape{plat::WM_KEYDOWN, plat::VK_ESCAPE, 0, 0};
        f.H().HeaderMessage(escape);
      } else {
        f.Send(plat::WM_LBUTTONUP, 200, 40);
      }
      EXPECT_FALSE(image.Visible()) << restrict << cancel;
      EXPECT_TRUE(image.Picture().isNull() || !image.Visible());
    }
  }
}

// A right click in a header without a menu of its own shows the menu the tree's OnGetPopupMenu gives for the
// column under the mouse.
TEST(HeaderMouse, ARightClickShowsTheTreesMenuForTheColumn) {
  Fixture f;
  plat::TPopupMenu menu(&f.form);
  TColumnIndex asked = -5;
  PLazyNode askedNode = reinterpret_cast<PLazyNode>(1);
  f.tree->OnGetPopupMenu = [&](TBaseLazyTreeControl*, PLazyNode n, TColumnIndex c, const plat::TPoint&, bool&,
                               plat::TPopupMenu*& m) {
    asked = c;
    askedNode = n;
    m = &menu;
  };
  plat::TPopupMenu* shown = nullptr;
  const plat::TPopupMenuRunner previous = plat::SetPopupMenuRunner([&](plat::TPopupMenu* m, int, int) {
    shown = m;
    return static_cast<plat::TMenuItem*>(nullptr);
  });
  f.Send(plat::WM_RBUTTONDOWN, 250, -5);
  f.Send(plat::WM_RBUTTONUP, 250, -5);
  plat::SetPopupMenuRunner(previous);
  EXPECT_EQ(shown, &menu);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(askedNode, nullptr);
  EXPECT_EQ(menu.PopupComponent(), f.tree);
}

}  // namespace
}  // namespace lazytree
