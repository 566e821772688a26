#include "framework/component.h"

#include <algorithm>

#include "framework/stored_properties.h"
#include "framework/sysutils.h"

namespace fw {

const TMetaClass& TComponent::StaticClass() {
  static const TMetaClass meta("TComponent", &TPersistent::StaticClass(), FactoryFor<TComponent>(),
                               Stored<TComponent>([](auto& b) {
                                 b.String("Name", &TComponent::SetName);
                                 b.Integer("Tag", &TComponent::SetTag);
                               }));
  return meta;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
  Destroying();
  std::vector<TComponent*> notifies = std::move(freeNotifies_);
  for (TComponent* other : notifies) {
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) throw EComponentError(msg::InvalidName(name));
  if (owner_) owner_->ValidateRename(this, name_, name);
  SetReference(false);
  name_ = name;
  SetReference(true);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError(msg::ListIndexError(index));
  return components_[static_cast<std::size_t>(index)].get();
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& list = owner_->components_;
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == this) return static_cast<int>(i);
  return -1;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : components_)
    if (SameText(c->name_, name)) return c.get();
  return nullptr;
}

void TComponent::ValidateRename(const TComponent* component, const std::string& current,
                                const std::string& next) const {
  if (component && !SameText(current, next) && component->owner_ == this) {
    const TComponent* existing = FindComponent(next);
    if (existing && existing != component) throw EComponentError(msg::DuplicateName(next));
  }
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  if (!component) return;
  if (component->owner_ && component->owner_ != this)
    throw EInvalidOperation("Component " + component->name_ + " already has an owner");
  if (const TComponent* existing = FindComponent(component->name_); existing && existing != component.get())
    throw EComponentError(msg::DuplicateName(component->name_));
  TComponent* c = component.get();
  c->owner_ = this;
  components_.push_back(std::move(component));
  c->SetReference(true);
  if (state_.Contains(csDesigning)) c->SetDesigning(true);
  Notification(c, opInsert);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [component](const auto& c) { return c.get() == component; });
  if (it == components_.end()) return nullptr;
  Notification(component, opRemove);
  component->SetReference(false);
  // Notification may have changed the list; look again.
  it = std::find_if(components_.begin(), components_.end(), [component](const auto& c) { return c.get() == component; });
  std::unique_ptr<TComponent> owned = std::move(*it);
  components_.erase(it);
  owned->owner_ = nullptr;
  return owned;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last->owner_ = nullptr;
    last.reset();
  }
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (const auto& c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (owner_ && component->owner_ == owner_) return;  // siblings hear of each other anyway
  auto add = [](std::vector<TComponent*>& list, TComponent* c) {
    if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
  };
  add(freeNotifies_, component);
  add(component->freeNotifies_, this);
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  auto drop = [](std::vector<TComponent*>& list, TComponent* c) {
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
  };
  drop(freeNotifies_, component);
  drop(component->freeNotifies_, this);
  if (freeNotifies_.empty()) state_.Exclude(csFreeNotification);
}

void TComponent::SetDesigning(bool designing, bool children) {
  if (designing) state_.Include(csDesigning);
  else state_.Exclude(csDesigning);
  if (children)
    for (const auto& c : components_) c->SetDesigning(designing, true);
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // From the last to the first, as the owner frees them; an index survives removals.
  for (std::size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    components_[i]->Notification(component, operation);
  }
}

void TComponent::SetReference(bool enable) {
  if (!owner_ || name_.empty()) return;
  const TFieldInfo* field = owner_->ClassType().FindField(name_);
  if (field && InheritsFrom(*field->fieldClass)) field->bind(*owner_, enable ? this : nullptr);
}

void FreeComponent(TComponent* component) {
  if (!component) return;
  TComponent* owner = component->Owner();
  if (!owner) throw EInvalidOperation("FreeComponent needs an owned component; its holder frees an unowned one");
  component->Destroying();
  std::unique_ptr<TComponent> owned = owner->RemoveComponent(component);
  owned.reset();
}

}  // namespace fw
