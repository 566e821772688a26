#include "framework/exceptions.h"

namespace fw::msg {

std::string ListIndexError(long long index) { return "List index out of bounds (" + std::to_string(index) + ")"; }
std::string CannotOpenFile(const std::string& path, const std::string& reason) {
  return "Cannot open file \"" + path + "\". " + reason;
}
std::string CannotCreateFile(const std::string& path, const std::string& reason) {
  return "Cannot create file \"" + path + "\". " + reason;
}
std::string ResourceNotFound(const std::string& name) { return "Resource " + name + " not found"; }
std::string ClassNotFound(const std::string& name) { return "Class " + name + " not found"; }
std::string DuplicateName(const std::string& name) { return "A component named " + name + " already exists"; }
std::string InvalidName(const std::string& name) { return "\"" + name + "\" is not a valid component name"; }
std::string AssignError(const std::string& source, const std::string& dest) {
  return "Cannot assign a " + source + " to a " + dest;
}
std::string InvalidInteger(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

}  // namespace fw::msg
