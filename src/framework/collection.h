#pragma once
// Collections: an owned, ordered list of items of one class (status-bar panels, say), stored in a
// description as <item ... end>. The collection tells its owner of changes through Update,
// once per BeginUpdate/EndUpdate bracket.
#include <memory>
#include <vector>

#include "framework/persistent.h"

namespace fw {

class TCollection;

class TCollectionItem : public TPersistent {
  FW_DECLARE_CLASS

 public:
  explicit TCollectionItem(TCollection* collection = nullptr);

  TCollection* Collection() const { return collection_; }
  int Index() const;
  // Moves the item to another place in its collection.
  void SetIndex(int index);
  int ID() const { return id_; }
  virtual std::string DisplayName() const;
  TPersistent* GetOwner() const override;

 protected:
  // Tells the collection that this item changed (or, with allItems, that all may have).
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_;
  int id_ = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  FW_DECLARE_CLASS

 public:
  explicit TCollection(TPersistent* owner = nullptr);
  ~TCollection() override;

  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override { return owner_; }

 protected:
  // Makes one item of the collection's class.
  virtual std::unique_ptr<TCollectionItem> CreateItem();
  // One item changed, or (item nullptr) the whole collection did.
  virtual void Update(TCollectionItem* item) { (void)item; }
  virtual void Notify(TCollectionItem* item, TCollectionNotification action) { (void)item, (void)action; }
  void Changed();

 private:
  friend class TCollectionItem;
  void ItemChanged(TCollectionItem* item);
  void MoveItem(TCollectionItem* item, int index);

  TPersistent* owner_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};

// A collection of one item class, which has a constructor taking the collection.
template <class Item>
class TOwnedCollection : public TCollection {
 public:
  using TCollection::TCollection;
  Item* Add() { return static_cast<Item*>(TCollection::Add()); }
  Item* Items(int index) const { return static_cast<Item*>(TCollection::Items(index)); }

 protected:
  std::unique_ptr<TCollectionItem> CreateItem() override { return std::make_unique<Item>(this); }
};

}  // namespace fw
