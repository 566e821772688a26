#pragma once
// Components: named objects owned by another component, which frees them with itself. A
// component carries the states a description reader and the destruction go through, and is told
// when components it cares about come and go.
//
// Ownership: an owner keeps its components in creation order and frees them from the last to the
// first; create an owned component with New<T>(owner) and free it early with FreeComponent.
// An unowned component is held by a std::unique_ptr. A class whose owned components reach back
// into it while they go (controls on a form) calls DestroyComponents() first in its destructor.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/exceptions.h"
#include "framework/persistent.h"
#include "framework/sets.h"

namespace fw {

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  FW_DECLARE_CLASS

 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // A valid identifier (or empty), unique among the owner's components without regard to case.
  virtual void SetName(const std::string& name);
  std::intptr_t Tag() const { return tag_; }
  void SetTag(std::intptr_t tag) { tag_ = tag; }
  TComponentState ComponentState() const { return state_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  // This component's place in its owner's list, -1 without owner.
  int ComponentIndex() const;
  TComponent* FindComponent(std::string_view name) const;

  // Takes ownership; the owner's fields of that name follow (see TClassBuilder::Field).
  void InsertComponent(std::unique_ptr<TComponent> component);
  // Gives ownership back to the caller; the owner and its components are told first.
  std::unique_ptr<TComponent> RemoveComponent(TComponent* component);
  // Frees every owned component, the last created first.
  void DestroyComponents();
  // Marks this component and everything it owns as being destroyed.
  void Destroying();

  // Asks to be told (Notification with opRemove) when component is freed, whoever owns it.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  void SetDesigning(bool designing, bool children = true);

  // A description nests components inside the one they belong to; a component that has a
  // parent of that kind (a control inside a form or panel) takes it here.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent) { (void)parent; }

  TPersistent* GetOwner() const override { return owner_; }
  std::string GetNamePath() const override { return name_; }

 protected:
  // Runs once every component of a description has been read; clears csLoading.
  virtual void Loaded();
  // Told of components inserted into or removed from the owner, and of freed components asked
  // for with FreeNotification; passes it on to the owned components. Overrides call this too.
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(const TComponent* component, const std::string& current,
                              const std::string& next) const;
  // Points the owner's field of this component's name at it, or at nothing.
  void SetReference(bool enable);

 private:
  friend class TFormReader;

  TComponent* owner_;
  std::string name_;
  std::intptr_t tag_ = 0;
  TComponentState state_;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::vector<TComponent*> freeNotifies_;
};

// Creates a component that owner owns and frees; answers it for use.
template <class T, class... Args>
T* New(TComponent* owner, Args&&... args) {
  if (!owner) throw EInvalidOperation("New needs an owner; hold an unowned component in a std::unique_ptr");
  auto component = std::make_unique<T>(owner, std::forward<Args>(args)...);
  T* result = component.get();
  owner->InsertComponent(std::move(component));
  return result;
}

// Frees an owned component now, telling its owner and the others that care.
void FreeComponent(TComponent* component);

}  // namespace fw
