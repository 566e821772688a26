#include "framework/collection.h"

#include "framework/exceptions.h"

namespace fw {

const TMetaClass& TCollectionItem::StaticClass() {
  static const TMetaClass meta("TCollectionItem", &TPersistent::StaticClass(), nullptr);
  return meta;
}

const TMetaClass& TCollection::StaticClass() {
  static const TMetaClass meta("TCollection", &TPersistent::StaticClass(), nullptr);
  return meta;
}

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection) {}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  const auto& items = collection_->items_;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TCollectionItem::SetIndex(int index) {
  if (collection_) collection_->MoveItem(this, index);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() const { return collection_; }

void TCollectionItem::Changed(bool allItems) {
  if (collection_) collection_->ItemChanged(allItems ? nullptr : this);
}

TCollection::TCollection(TPersistent* owner) : owner_(owner) {}

// Items go quietly: the owner is going too.
TCollection::~TCollection() = default;

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(msg::ListIndexError(index));
  return items_[static_cast<std::size_t>(index)].get();
}

std::unique_ptr<TCollectionItem> TCollection::CreateItem() { return std::make_unique<TCollectionItem>(this); }

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) throw EListError(msg::ListIndexError(index));
  std::unique_ptr<TCollectionItem> item = CreateItem();
  TCollectionItem* raw = item.get();
  raw->collection_ = this;
  raw->id_ = nextId_++;
  items_.insert(items_.begin() + index, std::move(item));
  Notify(raw, cnAdded);
  Changed();
  return raw;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  std::unique_ptr<TCollectionItem> owned = std::move(items_[static_cast<std::size_t>(index)]);
  items_.erase(items_.begin() + index);
  owned->collection_ = nullptr;
  owned.reset();
  Changed();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) Delete(Count() - 1);
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (const auto& item : items_)
    if (item->id_ == id) return item.get();
  return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::ItemChanged(TCollectionItem* item) {
  if (updateCount_ == 0) Update(item);
}

void TCollection::MoveItem(TCollectionItem* item, int index) {
  const int from = item->Index();
  if (from < 0 || index == from) return;
  if (index < 0) index = 0;
  if (index >= Count()) index = Count() - 1;
  std::unique_ptr<TCollectionItem> owned = std::move(items_[static_cast<std::size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + index, std::move(owned));
  Changed();
}

void TCollection::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (const auto& item : other->items_) Add()->Assign(item.get());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace fw
