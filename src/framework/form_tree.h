#pragma once
// A stored form description as read from its text, before anything is created: one node per
// object with its class, name, properties and nested objects. Every node keeps its line for
// messages.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/exceptions.h"

namespace fw {

// A description that cannot be read; the message names the description, the line and the fault.
class EDescriptionError : public EReadError {
 public:
  using EReadError::EReadError;
};

// "<label>: line <n>: <what>"
std::string DescriptionMessage(const std::string& label, int line, const std::string& what);

struct TPropertyNode;

struct TItemNode {
  int line = 0;
  std::vector<TPropertyNode> properties;
};

enum class TValueKind { Integer, Float, String, Ident, Set, List, Collection, Binary };

struct TValue {
  TValueKind kind = TValueKind::Integer;
  int line = 0;
  std::int64_t integer = 0;
  bool hex = false;  // written as $..., so taken as a bit pattern by 32-bit properties
  double real = 0;
  std::string text;                // String (UTF-8) and Ident (dots kept: Form1.Button1)
  std::vector<std::string> names;  // Set
  std::vector<TValue> list;        // List: ( ... )
  std::vector<TItemNode> items;    // Collection: < item ... end >
  std::vector<std::uint8_t> bytes; // Binary: { ... }
};

// "an integer", "a string", ... for messages.
const char* DescribeValue(TValueKind kind);

struct TPropertyNode {
  std::string name;  // as written, dotted for nested ones: Font.Height
  int line = 0;
  TValue value;
};

struct TObjectNode {
  bool inherited = false;  // "inherited": a component that already exists
  std::string name;        // may be empty
  std::string className;
  int line = 0;
  std::vector<TPropertyNode> properties;
  std::vector<TObjectNode> children;
};

}  // namespace fw
