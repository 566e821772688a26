#pragma once
// Reads a stored form description into an existing root component (a form, or any component
// that owns others): the root's own properties, then each nested object, created with the root
// as its owner and handed its enclosing object through SetParentComponent. While reading, every
// component is in csLoading and csReading; afterwards references between components are
// resolved and Loaded runs on each, the root first, in creation order.
//
// A class named in a description is found through the root's fields (TClassBuilder::Field),
// then through the class registry (RegisterClass). Faults raise EDescriptionError (an
// EReadError) with "<resource>: line <n>: <what>"; the components made before the fault stay
// owned by the root.
#include <string>
#include <string_view>

#include "framework/component.h"
#include "framework/form_tree.h"

namespace fw {

void ReadComponentFromTree(TComponent& root, const TObjectNode& description, const std::string& label);
void ReadComponentFromText(TComponent& root, std::string_view text, const std::string& label);
// The RT_RCDATA resource of that name (descriptions are embedded under their root's class name,
// "TMainForm"); EResNotFound when the program has none.
void ReadComponentResource(TComponent& root, const std::string& resourceName);
// The resource named after the root's class.
void InitComponentFromResource(TComponent& root);

}  // namespace fw
