#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "printers.h"

using namespace plat;

namespace {

// Records its destruction in a shared journal.
class Part : public TComponent {
  PLAT_CLASS(Part)
  Part(TComponent* AOwner, std::string Label, std::vector<std::string>& Journal)
      : TComponent(AOwner), FLabel(std::move(Label)), FJournal(Journal) {}
  ~Part() override { FJournal.push_back(FLabel); }

 private:
  std::string FLabel;
  std::vector<std::string>& FJournal;
};

// Holds a pointer to another component and clears it when that component goes.
class Watcher : public TComponent {
  PLAT_CLASS(Watcher)
  using TComponent::TComponent;
  void Watch(TComponent* C) {
    Target = C;
    if (C) C->FreeNotification(this);
  }
  TComponent* Target = nullptr;
  int Removals = 0;
  int Inserts = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opInsert) ++Inserts;
    if (Operation == opRemove) {
      ++Removals;
      if (AComponent == Target) Target = nullptr;
    }
  }
};

class Loader : public TComponent {
  PLAT_CLASS(Loader)
  using TComponent::TComponent;
  bool WasLoading = false;

 protected:
  void Loaded() override {
    WasLoading = ComponentState().Contains(csLoading);
    TComponent::Loaded();
  }
};

}  // namespace

TEST(Component, OwnerDeletesOwnedComponentsNewestFirst) {
  std::vector<std::string> journal;
  {
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* a = new Part(owner.get(), "a", journal);
    new Part(owner.get(), "b", journal);
    auto* c = new Part(a, "a.c", journal);
    new Part(owner.get(), "d", journal);
    EXPECT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(a->ComponentCount(), 1);
    EXPECT_EQ(c->Owner(), a);
    EXPECT_EQ(owner->Components(2)->ComponentIndex(), 2);
    EXPECT_THROW(owner->Components(3), EListError);
    delete owner->Components(1);  // deleting an owned component takes it out of its owner
    EXPECT_EQ(journal, std::vector<std::string>({"b"}));
    EXPECT_EQ(owner->ComponentCount(), 2);
  }
  EXPECT_EQ(journal, std::vector<std::string>({"b", "d", "a", "a.c"}));
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
  TComponent owner(nullptr);
  auto* x = new TComponent(&owner);
  auto* y = new TComponent(&owner);
  x->SetName("Button1");
  EXPECT_EQ(owner.FindComponent("BUTTON1"), x);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_EQ(owner.FindComponent("Other"), nullptr);
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {"button1", "A component named button1 already exists"},
      {"1abc", "'1abc' is not a valid component name"},
      {"a b", "'a b' is not a valid component name"},
      {"Grö", "'Grö' is not a valid component name"},
  };
  for (const auto& c : cases) {
    try {
      y->SetName(QString::fromUtf8(c.name));
      ADD_FAILURE() << c.name;
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), QString::fromUtf8(c.message));
    }
  }
  EXPECT_EQ(y->Name(), QString());
  y->SetName("_b2");
  x->SetName("");
  y->SetTag(-7);
  EXPECT_EQ(y->Tag(), -7);
  EXPECT_EQ(y->ClassName(), QString("TComponent"));
  EXPECT_TRUE(y->InheritsFrom<TPersistent>());
  EXPECT_FALSE(y->InheritsFrom<TCollection>());
}

TEST(Component, FreeNotificationClearsReferencesBothWays) {
  auto target = std::make_unique<TComponent>(nullptr);
  auto watcher = std::make_unique<Watcher>(nullptr);
  watcher->Watch(target.get());
  watcher->Watch(target.get());  // linking twice is one link
  target.reset();
  EXPECT_EQ(watcher->Target, nullptr);
  EXPECT_EQ(watcher->Removals, 1);

  // The watcher goes first: the target must not call it later.
  target = std::make_unique<TComponent>(nullptr);
  watcher->Watch(target.get());
  watcher.reset();
  target.reset();  // ASan would catch a call into the deleted watcher

  // RemoveFreeNotification ends the link.
  target = std::make_unique<TComponent>(nullptr);
  auto w2 = std::make_unique<Watcher>(nullptr);
  w2->Watch(target.get());
  w2->RemoveFreeNotification(target.get());
  target.reset();
  EXPECT_EQ(w2->Removals, 0);
}

TEST(Component, OwnerPassesNotificationsToItsComponents) {
  TComponent owner(nullptr);
  auto* watcher = new Watcher(&owner);
  auto* sibling = new TComponent(&owner);
  EXPECT_EQ(watcher->Inserts, 1);  // the sibling joining
  watcher->Target = sibling;
  delete sibling;
  EXPECT_EQ(watcher->Target, nullptr);
  TComponent other(nullptr);
  auto* moved = new TComponent(&owner);
  other.InsertComponent(moved);  // moving to another owner removes it from the first
  EXPECT_EQ(moved->Owner(), &other);
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(watcher->Removals, 2);
}

TEST(Component, StateFlags) {
  TComponent owner(nullptr);
  auto* child = new Loader(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  auto* late = new TComponent(&owner);
  EXPECT_TRUE(late->ComponentState().Contains(csDesigning));  // joins a designing owner
  child->BeginLoading();
  EXPECT_TRUE(child->ComponentState().Contains(csReading));
  child->EndLoading();
  EXPECT_TRUE(child->WasLoading);
  EXPECT_FALSE(child->ComponentState().Contains(csLoading));
  EXPECT_FALSE(child->ComponentState().Contains(csReading));
  owner.Destroying();
  EXPECT_TRUE(late->ComponentState().Contains(csDestroying));
}

TEST(Persistent, DefaultAssignRaisesNamingBothClasses) {
  TComponent a(nullptr), b(nullptr);
  try {
    a.Assign(&b);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QString("Cannot assign a TComponent to a TComponent"));
  }
}

namespace {

class Column : public TCollectionItem {
  PLAT_CLASS(Column)
  using TCollectionItem::TCollectionItem;
  QString Title;
  void SetTitle(const QString& T) {
    Title = T;
    Changed(false);
  }
  void Assign(TPersistent* Source) override {
    if (auto* c = dynamic_cast<Column*>(Source)) {
      Title = c->Title;
      return;
    }
    TCollectionItem::Assign(Source);
  }
};

// Records every Update call: "*" for all items, else the item's title.
class Columns : public TOwnedCollection {
 public:
  explicit Columns(TPersistent* Owner) : TOwnedCollection(Owner, ItemClassOf<Column>()) {}
  Column* At(int i) const { return static_cast<Column*>(Items(i)); }
  std::string Log;

 protected:
  void Update(TCollectionItem* Item) override {
    Log += Item ? static_cast<Column*>(Item)->Title.toStdString() : std::string("*");
  }
};

QString Titles(const Columns& C) {
  QStringList t;
  for (int i = 0; i < C.Count(); ++i) t << C.At(i)->Title + ":" + QString::number(C.At(i)->Index());
  return t.join(',');
}

}  // namespace

TEST(Collection, ItemsIndexesIdsAndUpdates) {
  TComponent owner(nullptr);
  Columns cols(&owner);
  EXPECT_EQ(cols.Owner(), &owner);
  static_cast<Column*>(cols.Add())->Title = "a";
  static_cast<Column*>(cols.Add())->Title = "b";
  static_cast<Column*>(cols.Insert(0))->Title = "c";
  EXPECT_EQ(Titles(cols), QString("c:0,a:1,b:2"));
  EXPECT_EQ(cols.At(0)->ID(), 2);
  EXPECT_EQ(cols.FindItemID(1), cols.At(2));
  cols.Log.clear();
  cols.At(1)->SetTitle("A");
  EXPECT_EQ(cols.Log, "A");
  cols.At(2)->SetIndex(0);
  EXPECT_EQ(Titles(cols), QString("b:0,c:1,A:2"));
  EXPECT_EQ(cols.Log, "A*");
  cols.Delete(1);
  EXPECT_EQ(Titles(cols), QString("b:0,A:1"));
  EXPECT_EQ(static_cast<Column*>(cols.Add())->ID(), 3);  // IDs are never reused
  EXPECT_THROW(cols.Items(3), EListError);
  EXPECT_THROW(cols.Insert(9), EListError);
  EXPECT_THROW(cols.At(0)->SetIndex(5), EListError);

  cols.Log.clear();
  cols.BeginUpdate();
  cols.At(0)->SetTitle("x");
  cols.Add();
  cols.Delete(0);
  EXPECT_EQ(cols.Log, "");
  cols.EndUpdate();
  EXPECT_EQ(cols.Log, "*");

  Columns copy(nullptr);
  copy.Add();
  copy.Assign(&cols);
  EXPECT_EQ(Titles(copy), Titles(cols));
  cols.Clear();
  EXPECT_EQ(cols.Count(), 0);
  EXPECT_EQ(copy.Count(), 3);

  // An item deleted directly leaves its collection; one moved out belongs to the caller.
  delete copy.At(0);
  EXPECT_EQ(copy.Count(), 2);
  std::unique_ptr<TCollectionItem> out(copy.Items(0));
  out->SetCollection(nullptr);
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_EQ(out->Index(), -1);
  out->SetCollection(&cols);
  EXPECT_EQ(cols.Count(), 1);
  (void)out.release();  // owned by cols again
}
