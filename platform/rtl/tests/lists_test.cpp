#include "platform/rtl/lists.h"
#include "platform/rtl/sets.h"

#include <gtest/gtest.h>

#include "printers.h"

using namespace plat;

namespace {

// Counts the live instances, so that a test sees which objects a list deleted.
class Counted : public TObject {
 public:
  explicit Counted(int& Live) : FLive(Live) { ++FLive; }
  ~Counted() override { --FLive; }

 private:
  int& FLive;
};

enum class TOption { opA, opB, opC, opFar = 200 };
using enum TOption;
using TOptions = TSet<TOption>;

}  // namespace

TEST(List, IndexChecksAndOrder) {
  int a = 1, b = 2, c = 3;
  TList L;
  L.Add(&a);
  L.Add(&b);
  L.Insert(0, &c);
  EXPECT_EQ(L.Count(), 3);
  EXPECT_EQ(L[0], &c);
  EXPECT_EQ(L.IndexOf(&b), 2);
  L.Move(0, 2);
  EXPECT_EQ(L[2], &c);
  L.Exchange(0, 1);
  EXPECT_EQ(L.First(), &b);
  EXPECT_EQ(L.Remove(&a), 1);
  EXPECT_EQ(L.Remove(&a), -1);
  L.Add(nullptr);
  L.Pack();
  EXPECT_EQ(L.Count(), 2);
  struct Case {
    std::function<void()> op;
    const char* message;
  };
  const Case cases[] = {
      {[&] { (void)L[2]; }, "List index out of bounds (2)"},
      {[&] { L.Delete(-1); }, "List index out of bounds (-1)"},
      {[&] { L.Insert(3, nullptr); }, "List index out of bounds (3)"},
      {[&] { L.Move(0, 5); }, "List index out of bounds (5)"},
      {[&] { TList empty; (void)empty.Last(); }, "List index out of bounds (-1)"},
  };
  for (const auto& k : cases) {
    try {
      k.op();
      ADD_FAILURE() << k.message;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), QString(k.message));
    }
  }
  TPointerList<int> typed;
  for (int* p : {&c, &a, &b}) typed.Add(p);
  typed.Sort([](int* x, int* y) { return *x - *y; });
  EXPECT_EQ(*typed[0], 1);
  EXPECT_EQ(*typed[2], 3);
}

TEST(ObjectList, DeletesWhatItOwns) {
  int live = 0;
  {
    TObjectList owning;
    auto* kept = new Counted(live);
    owning.Add(new Counted(live));
    owning.Add(kept);
    owning.Add(new Counted(live));
    owning.Add(new Counted(live));
    EXPECT_EQ(live, 4);
    owning.Delete(0);
    EXPECT_EQ(live, 3);
    EXPECT_EQ(owning.Extract(kept), kept);  // taken out, not deleted
    EXPECT_EQ(live, 3);
    delete kept;
    owning.SetItems(0, new Counted(live));  // the replaced object is deleted
    EXPECT_EQ(live, 2);
  }
  EXPECT_EQ(live, 0);
  Counted stackObject(live);
  {
    TObjectList borrowing(false);
    borrowing.Add(&stackObject);
    borrowing.Clear();
  }
  EXPECT_EQ(live, 1);
}

TEST(Set, OrdinalBitsAndOperators) {
  constexpr TOptions ab{opA, opB};
  static_assert(ab.Contains(opA) && !ab.Contains(opC));
  static_assert(ab + TOptions{opC} == TOptions{opA, opB, opC});
  static_assert(ab - TOptions{opA} == TOptions{opB});
  static_assert((ab * TOptions{opB, opC}) == TOptions{opB});
  static_assert(TOptions{}.Empty() && !ab.Empty());
  TOptions s{opFar};
  EXPECT_TRUE(s.Contains(opFar));
  EXPECT_FALSE(s.Contains(opA));
  s.Include(opA).Exclude(opFar);
  EXPECT_EQ(s, TOptions{opA});
  s.Exclude(opC);  // absent: no change
  EXPECT_EQ(s, TOptions{opA});
  s += ab;
  EXPECT_EQ(s, ab);
  EXPECT_NE(s, TOptions{opB});
  TSet<TOption, 7> small;
  EXPECT_THROW(small.Include(opFar), std::out_of_range);
  EXPECT_FALSE(small.Contains(opFar));
}
