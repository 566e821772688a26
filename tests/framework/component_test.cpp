#include "framework/component.h"

#include <gtest/gtest.h>

#include "framework/collection.h"

namespace fw {
namespace {

// Records destructions and notifications into a shared log.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::vector<std::string>& log) : TComponent(owner), log_(log) {}
  ~Probe() override { log_.push_back("free " + Name()); }
  void Watch(TComponent* other) { FreeNotification(other); }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove) log_.push_back(Name() + " hears " + component->Name() + " go");
    TComponent::Notification(component, operation);
  }

 private:
  std::vector<std::string>& log_;
};

Probe* Make(TComponent* owner, const std::string& name, std::vector<std::string>& log) {
  Probe* p = New<Probe>(owner, log);
  p->SetName(name);
  return p;
}

TEST(Component, OwnerFreesWhatItOwnsLastCreatedFirst) {
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    Probe* a = Make(&owner, "A", log);
    Make(a, "A1", log);
    Make(&owner, "B", log);
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(0), a);
    EXPECT_EQ(a->ComponentIndex(), 0);
  }
  // A component's own destructor runs before the components it owns go.
  EXPECT_EQ(log, (std::vector<std::string>{"free B", "free A", "free A1"}));
}

TEST(Component, SiblingsAndWatchersHearOfARemovalButNotTheDestroyedOwnersOwn) {
  std::vector<std::string> log;
  TComponent elsewhere(nullptr);
  Probe* watcher = Make(&elsewhere, "Watcher", log);
  {
    TComponent owner(nullptr);
    Probe* a = Make(&owner, "A", log);
    Make(&owner, "B", log);
    watcher->Watch(a);
    FreeComponent(a);
    EXPECT_EQ(log, (std::vector<std::string>{"B hears A go", "A hears A go", "free A", "Watcher hears A go"}));
    log.clear();
    watcher->Watch(owner.FindComponent("b"));
  }
  // The owner going frees B without telling its siblings, but a watcher is told.
  EXPECT_EQ(log, (std::vector<std::string>{"free B", "Watcher hears B go"}));
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwnerWithoutRegardToCase) {
  TComponent owner(nullptr);
  TComponent* a = New<TComponent>(&owner);
  a->SetName("Button1");
  TComponent* b = New<TComponent>(&owner);
  EXPECT_THROW(b->SetName("BUTTON1"), EComponentError);
  EXPECT_THROW(b->SetName("1Button"), EComponentError);
  b->SetName("Button2");
  EXPECT_EQ(owner.FindComponent("button2"), b);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  try {
    b->SetName("Button1");
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named Button1 already exists");
  }
  EXPECT_THROW(owner.Components(2), EListError);
  EXPECT_THROW(New<TComponent>(nullptr), EInvalidOperation);
}

TEST(Component, DestroyingMarksEverythingOwnedAndRemovalGivesOwnershipBack) {
  TComponent owner(nullptr);
  TComponent* child = New<TComponent>(&owner);
  TComponent* grandchild = New<TComponent>(child);
  std::unique_ptr<TComponent> taken = owner.RemoveComponent(child);
  ASSERT_EQ(taken.get(), child);
  EXPECT_EQ(child->Owner(), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 0);
  taken->Destroying();
  EXPECT_TRUE(grandchild->ComponentState().Contains(csDestroying));
  owner.InsertComponent(std::move(taken));
  EXPECT_EQ(child->Owner(), &owner);
}

TEST(Component, ClassNamesAndTheRegistry) {
  TComponent c(nullptr);
  EXPECT_EQ(c.ClassName(), "TComponent");
  EXPECT_TRUE(c.Is<TPersistent>());
  RegisterClass<TComponent>();
  EXPECT_EQ(&FindClass("tcomponent"), &TComponent::StaticClass());
  try {
    FindClass("TNothing");
    ADD_FAILURE();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNothing not found");
  }
  auto made = TComponent::StaticClass().Create(nullptr);
  EXPECT_EQ(made->ClassName(), "TComponent");
  EXPECT_FALSE(TPersistent::StaticClass().CanCreate());
}

class Cell : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  void Assign(const TPersistent* source) override { value = dynamic_cast<const Cell&>(*source).value; }
  int value = 0;
};

class Counted : public TOwnedCollection<Cell> {
 public:
  using TOwnedCollection::TOwnedCollection;
  int updates = 0;

 protected:
  void Update(TCollectionItem*) override { ++updates; }
};

TEST(Collection, OwnsItemsAndAnnouncesChangesOncePerBracket) {
  Counted c;
  c.Add();
  EXPECT_EQ(c.updates, 1);
  c.BeginUpdate();
  Cell* second = c.Add();
  second->value = 5;
  c.Add();
  c.Delete(0);
  c.EndUpdate();
  EXPECT_EQ(c.updates, 2);
  EXPECT_EQ(c.Count(), 2);
  EXPECT_EQ(second->Index(), 0);
  EXPECT_EQ(c.FindItemID(second->ID()), second);
  second->SetIndex(1);
  EXPECT_EQ(second->Index(), 1);
  Counted copy;
  copy.Assign(&c);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(1)->value, 5);
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_THROW(c.Items(0), EListError);
}

}  // namespace
}  // namespace fw
