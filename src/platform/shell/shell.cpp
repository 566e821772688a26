#include "platform/shell/shell.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace plat {

namespace {

ShellOpener& Opener() {
  static ShellOpener opener;
  return opener;
}

HINSTANCE Result(std::intptr_t code) { return reinterpret_cast<HINSTANCE>(code); }

bool Empty(const char* s) { return !s || !*s; }

}  // namespace

void SetShellOpener(ShellOpener opener) { Opener() = std::move(opener); }

bool SpawnDetached(const std::string& program, const std::string& address) {
  // Everything the children need is made before forking: between fork and exec only calls that
  // are safe there. The middle child exits at once, so the opener is adopted by init and never
  // becomes a zombie of ours; its exit status tells whether exec worked.
  std::string programCopy = program;
  std::string addressCopy = address;
  char* const argv[] = {programCopy.data(), addressCopy.data(), nullptr};
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  const pid_t middle = fork();
  if (middle < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    return false;
  }
  if (middle == 0) {
    setsid();
    const pid_t opener = fork();
    if (opener == 0) {
      execvp(argv[0], argv);
      const int error = errno;
      (void)!write(pipeFds[1], &error, sizeof error);
      _exit(127);
    }
    _exit(opener < 0 ? 1 : 0);
  }
  close(pipeFds[1]);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes on a successful exec; an errno arrives when exec failed.
  int execError = 0;
  ssize_t got;
  while ((got = read(pipeFds[0], &execError, sizeof execError)) < 0 && errno == EINTR) {
  }
  close(pipeFds[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

HINSTANCE ShellExecute(HWND, const char* verb, const char* file, const char* parameters, const char* directory, int) {
  if (Empty(file)) return Result(SE_ERR_FNF);
  if (!Empty(verb) && std::string_view(verb) != "open") return Result(SE_ERR_NOASSOC);
  // The opener takes one address and nothing else.
  if (!Empty(parameters) || !Empty(directory)) return Result(SE_ERR_NOASSOC);
  const std::string address = file;
  if (Opener()) return Result(Opener()(address) ? kShellExecuteStarted : SE_ERR_NOASSOC);
  return Result(SpawnDetached("xdg-open", address) ? kShellExecuteStarted : SE_ERR_NOASSOC);
}

}  // namespace plat
