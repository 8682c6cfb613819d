// The base cell checker changes no text; a derived checker's operations are reached through the base.
#include <gtest/gtest.h>

#include "controls/grid_check.h"

namespace controls {
namespace {

struct Upper : TExtStringGridCheck {
  using TExtStringGridCheck::TExtStringGridCheck;
  QString Correct(int, int, const QString& S) override { return S.toUpper(); }
  void StartCheck() override { ++starts; }
  int starts = 0;
};

TEST(GridCheck, BaseLeavesTextsAsTheyAre) {
  TExtStringGridCheck check(nullptr);
  EXPECT_FALSE(check.AutoCorrect() || check.AutoMarkError() || check.GotoCell() || check.UseCorrect() ||
               check.UseMarkError());
  check.SetUseCorrect(true);
  check.SetUseMarkError(true);
  check.StartCheck();
  for (const QString& s : {QString(), QString("wrod"), QString("<b>x</b>")}) {
    EXPECT_EQ(check.Correct(1, 2, s), s);
    EXPECT_EQ(check.MarkError(1, 2, s), s);
  }
  check.StopCheck();

  Upper upper(nullptr);
  TExtStringGridCheck* base = &upper;
  base->StartCheck();
  EXPECT_EQ(base->Correct(0, 0, "abc"), "ABC");
  EXPECT_EQ(base->MarkError(0, 0, "abc"), "abc");
  EXPECT_EQ(upper.starts, 1);
}

}  // namespace
}  // namespace controls
