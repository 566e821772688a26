#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "framework/exceptions.h"
#include "framework/streams.h"

namespace fw {

const TMetaClass& TFileStream::StaticClass() {
  static const TMetaClass meta("TFileStream", &TStream::StaticClass(), nullptr);
  return meta;
}

TFileStream::TFileStream(const std::string& path, unsigned mode) : path_(path) {
  if ((mode & fmCreate) == fmCreate) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) throw EFCreateError(msg::CannotCreateFile(path, std::strerror(errno)));
    return;
  }
  int flags = O_RDONLY;
  if ((mode & 3) == fmOpenWrite) flags = O_WRONLY;
  if ((mode & 3) == fmOpenReadWrite) flags = O_RDWR;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd_ < 0) throw EFOpenError(msg::CannotOpenFile(path, std::strerror(errno)));
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw EFOpenError(msg::CannotOpenFile(path, std::strerror(EISDIR)));
  }
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    const ssize_t n = ::read(fd_, out + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (done < count) {
    const ssize_t n = ::write(fd_, in + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  const off_t at = ::lseek(fd_, static_cast<off_t>(offset), whence);
  return at < 0 ? -1 : static_cast<std::int64_t>(at);
}

void TFileStream::SetSize(std::int64_t size) {
  if (size < 0 || ::ftruncate(fd_, static_cast<off_t>(size)) != 0)
    throw EStreamError("Cannot set the size of \"" + path_ + "\". " + std::strerror(errno));
  if (Position() > size) Seek(size, soBeginning);
}

}  // namespace fw
