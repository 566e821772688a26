#include "platform/monitor/i2c_transport.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace plat {

namespace {

constexpr int kInterruptedRetries = 3;

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

std::unique_ptr<I2cDevice> OpenI2cDevice(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<FileI2cDevice>(fd);
}

std::unique_ptr<DdcTransport> MakeI2cDdcTransport(std::unique_ptr<I2cDevice> device) {
  if (!device) return nullptr;
  return std::make_unique<I2cDdcTransport>(std::move(device));
}

std::unique_ptr<DdcTransport> OpenI2cDdcTransport(const std::string& path) {
  return MakeI2cDdcTransport(OpenI2cDevice(path));
}

}  // namespace plat
