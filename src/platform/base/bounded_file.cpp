#include "platform/base/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/base/error.h"

namespace plat {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& what) {
  throw Error(path.string() + ": " + what);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string ReadBoundedFile(const std::filesystem::path& path, std::size_t limit) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) Fail(path, std::strerror(errno));
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) Fail(path, std::strerror(errno));
  if (!S_ISREG(info.st_mode)) Fail(path, "not a regular file");
  // sysfs reports a size of 4096 whatever the content, so the size read decides, not st_size.
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(path, std::strerror(errno));
    if (n == 0) break;
    if (text.size() + static_cast<std::size_t>(n) > limit) Fail(path, "larger than " + std::to_string(limit) + " bytes");
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

}  // namespace plat
