#pragma once
// Why a device could not be used, for whoever wants to tell the user (the command line). The
// pop-up listens to nothing, so its failures stay silent.
#include <functional>
#include <string>

namespace plat {

using ProblemListener = std::function<void(const std::string& why)>;

// An empty listener stops the reports.
void SetProblemListener(ProblemListener listener);
void ReportProblem(const std::string& why);

}  // namespace plat
