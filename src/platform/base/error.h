#pragma once
// The platform layer's one error type: a message meant for a person.
#include <stdexcept>
#include <string>

namespace plat {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace plat
