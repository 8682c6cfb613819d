// Wheel panning alone, over a node store and a fake window: the gesture states a press, a drag and the
// releases go through, what beginning and ending do to the window, and the direction cursor by the pointer's
// place and the room to scroll.
#include <gtest/gtest.h>

#include <QWidget>

#include <string>
#include <vector>

#include "tree/lazytree.h"
#include "tree/treepanner.h"

namespace lazytree {
namespace {

class TFakePanWindow : public TTreePanHost {
 public:
  TBaseLazyTree Tree;
  TTreePanner Panner{*this};
  bool WideContent = true, TallContent = true;
  plat::TPoint Click;
  std::vector<std::string> Log;

  TBaseLazyTree& Store() override { return Tree; }
  bool RoomX() const override { return WideContent; }
  bool RoomY() const override { return TallContent; }
  plat::TPoint ClientToScreen(plat::TPoint P) const override { return {P.X + 1000, P.Y + 500}; }
  plat::TPoint Origin() const override { return Click; }
  void SetOrigin(plat::TPoint P) override { Click = P; }
  void ChooseCursorAt(plat::TPoint P) override { Panner.ChooseCursor(P.X, P.Y); }
  void ShowPanCursor(Qt::CursorShape) override { Log.push_back("cursor " + Panner.CursorName().toStdString()); }
  void RestoreCursor() override { Log.push_back("own cursor"); }
  void BeginCapture() override { Log.push_back("capture"); }
  void EndCapture() override { Log.push_back("release"); }
  void StartScrollTimer(uint32_t Ms) override { Log.push_back("timer " + std::to_string(Ms)); }
  void StopScrollTimer() override { Log.push_back("no timer"); }
};

TEST(TreePanner, PressDragAndReleaseGoThroughNamedStates) {
  TFakePanWindow w;
  EXPECT_EQ(w.Panner.State(), TPanState::Idle);
  w.Panner.Begin({40, 30});
  EXPECT_EQ(w.Panner.State(), TPanState::Pressed);
  EXPECT_EQ(w.Log, (std::vector<std::string>{"no timer", "cursor LT_MOVEALL", "capture", "timer 20"}));
  ASSERT_NE(w.Panner.Window(), nullptr);
  EXPECT_EQ(w.Panner.Window()->pos(), QPoint(1040 - 16, 530 - 16));  // centred on the click
  w.Panner.Moved(3, 3, 4);
  EXPECT_EQ(w.Panner.State(), TPanState::Pressed);  // not yet a drag
  w.Panner.Moved(0, 4, 4);
  EXPECT_EQ(w.Panner.State(), TPanState::Dragging);
  w.Log.clear();
  EXPECT_TRUE(w.Panner.Released());  // a dragged panning ends with its release
  EXPECT_EQ(w.Panner.State(), TPanState::Idle);
  EXPECT_EQ(w.Panner.Window(), nullptr);
  EXPECT_TRUE(w.Panner.CursorName().isEmpty());
  EXPECT_EQ(w.Log, (std::vector<std::string>{"no timer", "release", "own cursor"}));
  EXPECT_FALSE(w.Panner.Released());  // an ordinary middle release afterwards is not panning's

  // Released before a drag: hands-free until something stops it; the next release is not panning's either.
  w.Panner.Begin({40, 30});
  EXPECT_TRUE(w.Panner.Released());
  EXPECT_EQ(w.Panner.State(), TPanState::HandsFree);
  w.Panner.Moved(50, 50, 4);
  EXPECT_EQ(w.Panner.State(), TPanState::HandsFree);
  EXPECT_FALSE(w.Panner.Released());
  EXPECT_NE(w.Panner.Window(), nullptr);
  w.Panner.Stop();
  EXPECT_EQ(w.Panner.State(), TPanState::Idle);
  w.Log.clear();
  w.Panner.Stop();  // stopping twice does nothing
  EXPECT_TRUE(w.Log.empty());
}

TEST(TreePanner, CursorPointsWhereTheContentCanScroll) {
  struct Case {
    bool wide, tall;
    int dx, dy;
    const char* name;
  };
  const Case cases[] = {
      {true, true, 0, 0, "LT_MOVEALL"},   {false, true, 7, -7, "LT_MOVENS"},  {true, false, 0, 0, "LT_MOVEEW"},
      {true, true, -20, -20, "LT_MOVENW"}, {true, true, 0, -20, "LT_MOVEN"},   {true, true, 20, 20, "LT_MOVESE"},
      {true, true, 20, 0, "LT_MOVEE"},     {true, true, -9, 8, "LT_MOVEW"},    {true, true, 8, 9, "LT_MOVES"},
      {true, false, -10, 30, "LT_MOVEW"},  {false, true, 30, -10, "LT_MOVEN"}, {true, true, -20, 9, "LT_MOVESW"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
    TFakePanWindow w;
    w.WideContent = c.wide;
    w.TallContent = c.tall;
    w.Click = {100, 100};
    w.Panner.ChooseCursor(100 + c.dx, 100 + c.dy);
    EXPECT_EQ(w.Panner.CursorName().toStdString(), c.name);
    w.Panner.ChooseCursor(100 + c.dx, 100 + c.dy);  // the same cursor is not set again
    EXPECT_EQ(w.Log.size(), 1u);
  }
}

}  // namespace
}  // namespace lazytree
