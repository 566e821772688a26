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

namespace plat {

// Raised from outside the program's own code (a driver working from the display's idle handler)
// to stop the program wherever its loops are. Not an error of the program: its exception
// handlers let it pass, so it reaches whoever started the run.
struct Interruption {
  std::string message;
};

}  // namespace plat
