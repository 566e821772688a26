// Choosing a reader by the file's first bytes, and whole files in and out of memory.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"

namespace plat {

namespace {

// Far above any picture or skin the program reads; a larger file is a mistake or an attack.
constexpr std::int64_t kMaxFileBytes = 256ll << 20;

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

[[noreturn]] void FailErrno(const std::string& what, const std::string& path) {
  throw Error(what + " " + path + ": " + std::strerror(errno));
}

enum class Format { Unknown, Bmp, Png, Jpeg };

Format FormatOf(std::span<const std::uint8_t> bytes) {
  if (StartsWith(bytes, {'B', 'M'})) return Format::Bmp;
  if (StartsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return Format::Png;
  if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) return Format::Jpeg;
  return Format::Unknown;
}

}  // namespace

std::unique_ptr<Bitmap> ReadImage(std::span<const std::uint8_t> bytes) {
  switch (FormatOf(bytes)) {
    case Format::Bmp: return ReadBmp(bytes);
    case Format::Png: return ReadPng(bytes);
    case Format::Jpeg: return ReadJpeg(bytes);
    case Format::Unknown: break;
  }
  throw Error("image: unknown file format (not BMP, PNG or JPEG)");
}

std::optional<ImageHeader> PeekImageHeader(std::span<const std::uint8_t> bytes) {
  switch (FormatOf(bytes)) {
    case Format::Bmp: return PeekBmpHeader(bytes);
    case Format::Png: return PeekPngHeader(bytes);
    case Format::Jpeg: return PeekJpegHeader(bytes);
    case Format::Unknown: break;
  }
  return std::nullopt;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  // Not blocking, so that a FIFO is refused below rather than waited on.
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) FailErrno("cannot open", path);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) FailErrno("cannot read", path);
  if (!S_ISREG(st.st_mode)) throw Error("cannot read " + path + ": not a regular file");
  if (st.st_size > kMaxFileBytes) throw Error("cannot read " + path + ": larger than 256 MiB");

  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) FailErrno("cannot read", path);
    if (n == 0) break;  // the file shrank meanwhile
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.get() < 0) FailErrno("cannot create", path);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) FailErrno("cannot write", path);
    done += static_cast<std::size_t>(n);
  }
  // A full disk may only show at close.
  if (::close(fd.release()) != 0) FailErrno("cannot write", path);
}

}  // namespace plat
