#pragma once
// Objects that can copy their state from another (Assign) and are stored in descriptions as
// properties or sub-objects; plus the plain event type shared by the whole framework.
#include <functional>
#include <string>

#include "framework/metaclass.h"

namespace fw {

using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
  FW_DECLARE_CLASS

 public:
  // Copies source's state into this object; a class that cannot take source raises EConvertError.
  // A null source is offered to AssignTo of nothing, which refuses unless a class accepts it.
  virtual void Assign(const TPersistent* source);
  // The object that owns this one, for names of nested objects ("Form1.Font").
  virtual TPersistent* GetOwner() const { return nullptr; }
  virtual std::string GetNamePath() const;

 protected:
  // The other half of Assign: a source that knows how to fill dest does it here.
  virtual void AssignTo(TPersistent* dest) const;
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

}  // namespace fw
