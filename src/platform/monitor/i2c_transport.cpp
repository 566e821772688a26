#include "platform/monitor/i2c_transport.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace plat {

namespace {

constexpr int kInterruptedRetries = 3;
constexpr std::chrono::milliseconds kLockPoll{10};

// Who may open the node, so that the user can do something about it.
std::string PermissionText(const std::string& path) {
  std::string text = "permission denied on " + path;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return text;
  const struct group* owner = ::getgrgid(info.st_gid);
  const std::string group = owner ? owner->gr_name : std::to_string(info.st_gid);
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
  text += std::string(" (group ") + group + ", mode " + mode + "): ";
  if (group != "root" && (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP))
    return text + "members of group " + group + " may open it; add yourself to that group and log in again";
  return text + "install velmora's udev rule, which gives i2c nodes to group i2c, and join that group";
}

class FileI2cDevice : public I2cDevice {
 public:
  explicit FileI2cDevice(int fd) : fd_(fd) {}
  ~FileI2cDevice() override { ::close(fd_); }
  FileI2cDevice(const FileI2cDevice&) = delete;
  FileI2cDevice& operator=(const FileI2cDevice&) = delete;

  int Transfer(std::uint16_t address, bool read, std::span<std::uint8_t> bytes) override {
    i2c_msg message{};
    message.addr = address;
    message.flags = read ? I2C_M_RD : 0;
    message.len = static_cast<__u16>(bytes.size());
    message.buf = bytes.data();
    i2c_rdwr_ioctl_data data{&message, 1};
    return Retry([&] { return ::ioctl(fd_, I2C_RDWR, &data) < 0 ? -1 : 0; });
  }

  int SelectAddress(std::uint16_t address) override {
    return Retry([&] { return ::ioctl(fd_, I2C_SLAVE, static_cast<unsigned long>(address)) < 0 ? -1 : 0; });
  }

  int Write(std::span<const std::uint8_t> bytes) override {
    return Retry([&] { return Whole(::write(fd_, bytes.data(), bytes.size()), bytes.size()); });
  }

  int Read(std::span<std::uint8_t> bytes) override {
    return Retry([&] { return Whole(::read(fd_, bytes.data(), bytes.size()), bytes.size()); });
  }

 private:
  // A short transfer means the display stopped answering mid-message.
  static int Whole(ssize_t done, std::size_t wanted) {
    if (done < 0) return -1;
    if (static_cast<std::size_t>(done) == wanted) return 0;
    errno = EIO;
    return -1;
  }

  template <typename Call>
  static int Retry(Call call) {
    for (int i = 0; i < kInterruptedRetries; ++i) {
      if (call() == 0) return 0;
      if (errno != EINTR) return errno;
    }
    return EINTR;
  }

  int fd_;
};

bool TransferUnsupported(int error) {
  return error == ENOTTY || error == EINVAL || error == EOPNOTSUPP || error == ENOSYS;
}

class I2cDdcTransport : public DdcTransport {
 public:
  explicit I2cDdcTransport(std::unique_ptr<I2cDevice> device) : device_(std::move(device)) {}

  bool Write(std::span<const std::uint8_t> bytes) override {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());  // i2c messages take a mutable buffer
    return Move(false, copy);
  }

  bool Read(std::span<std::uint8_t> bytes) override { return Move(true, bytes); }

 private:
  bool Move(bool read, std::span<std::uint8_t> bytes) {
    if (!plain_) {
      const int error = device_->Transfer(kDdcAddress, read, bytes);
      if (error == 0) return true;
      if (!TransferUnsupported(error)) return false;
      plain_ = true;
    }
    if (!addressed_) {
      if (device_->SelectAddress(kDdcAddress) != 0) return false;
      addressed_ = true;
    }
    return (read ? device_->Read(bytes) : device_->Write(bytes)) == 0;
  }

  std::unique_ptr<I2cDevice> device_;
  bool plain_ = false;
  bool addressed_ = false;
};

}  // namespace

std::unique_ptr<I2cDevice> OpenI2cDevice(const std::string& path, std::string* why, std::chrono::milliseconds lockWait) {
  const auto fail = [&](std::string reason) -> std::unique_ptr<I2cDevice> {
    if (why) *why = std::move(reason);
    return nullptr;
  };
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    if (error == EACCES || error == EPERM) return fail(PermissionText(path));
    return fail(path + ": " + std::strerror(error));
  }
  auto device = std::make_unique<FileI2cDevice>(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) return fail(path + " is not a device node");
  // Another program's transaction on the same display (a desktop extension polling it) must not
  // interleave with ours; the lock goes with the descriptor.
  const auto deadline = std::chrono::steady_clock::now() + lockWait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) return fail(path + ": cannot be locked: " + std::strerror(errno));
    if (std::chrono::steady_clock::now() >= deadline)
      return fail(path + " is in use by another program (still locked after " + std::to_string(lockWait.count()) +
                  " ms)");
    std::this_thread::sleep_for(kLockPoll);
  }
  return device;
}

std::unique_ptr<DdcTransport> MakeI2cDdcTransport(std::unique_ptr<I2cDevice> device) {
  if (!device) return nullptr;
  return std::make_unique<I2cDdcTransport>(std::move(device));
}

std::unique_ptr<DdcTransport> OpenI2cDdcTransport(const std::string& path, std::string* why) {
  return MakeI2cDdcTransport(OpenI2cDevice(path, why));
}

}  // namespace plat
