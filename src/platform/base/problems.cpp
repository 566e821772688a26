#include "platform/base/problems.h"

namespace plat {

namespace {

ProblemListener& Listener() {
  static ProblemListener listener;
  return listener;
}

}  // namespace

void SetProblemListener(ProblemListener listener) { Listener() = std::move(listener); }

void ReportProblem(const std::string& why) {
  if (Listener()) Listener()(why);
}

}  // namespace plat
