#pragma once
// Opening a document or web address the way the desktop does: ShellExecute hands it to the
// desktop's opener (`xdg-open`), started directly, without a shell, and not waited for.
#include <functional>
#include <string>

#include "platform/base/types.h"
#include "platform/wm/wm.h"

namespace plat {

// ShellExecute's results: above 32 when the opener was started.
inline constexpr std::intptr_t SE_ERR_FNF = 2;
inline constexpr std::intptr_t SE_ERR_ACCESSDENIED = 5;
inline constexpr std::intptr_t SE_ERR_NOASSOC = 31;
inline constexpr std::intptr_t kShellExecuteStarted = 33;

// verb: "open" or null (the default action); parameters and directory: null or empty. Only
// opening is known; another verb gives SE_ERR_NOASSOC. owner and show are kept for the caller's
// sake: the opened program places its own window.
HINSTANCE ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
                       int show);

// Who opens what ShellExecute is given: by default the desktop's opener. A headless run puts a
// handler of its own here (nothing is started on a screen nobody sees). The handler answers
// whether it could open the address.
using ShellOpener = std::function<bool(const std::string& address)>;
void SetShellOpener(ShellOpener opener);

// Starts `program address` detached from this process (no zombie is left behind); false when it
// could not be started.
bool SpawnDetached(const std::string& program, const std::string& address);

}  // namespace plat
