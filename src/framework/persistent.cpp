#include "framework/persistent.h"

#include "framework/exceptions.h"

namespace fw {

const TMetaClass& TPersistent::StaticClass() {
  static const TMetaClass meta("TPersistent", &TObject::StaticClass(), nullptr);
  return meta;
}

void TPersistent::Assign(const TPersistent* source) {
  if (source) {
    source->AssignTo(this);
  } else {
    AssignError(nullptr);
  }
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const {
  throw EConvertError(msg::AssignError(source ? source->ClassName() : "nil", ClassName()));
}

std::string TPersistent::GetNamePath() const {
  std::string path = ClassName();
  if (const TPersistent* owner = GetOwner()) {
    const std::string ownerPath = owner->GetNamePath();
    if (!ownerPath.empty()) path = ownerPath + "." + path;
  }
  return path;
}

}  // namespace fw
