#pragma once
// DDC/CI over the kernel's i2c-dev nodes (/dev/i2c-N).
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/monitor/ddc_transport.h"

namespace plat {

// The i2c-dev calls the transport uses, apart so that tests can stand in for an adapter.
// Each returns 0 or an errno value.
class I2cDevice {
 public:
  virtual ~I2cDevice() = default;
  virtual int Transfer(std::uint16_t address, bool read, std::span<std::uint8_t> bytes) = 0;  // one I2C_RDWR message
  virtual int SelectAddress(std::uint16_t address) = 0;                                        // I2C_SLAVE
  virtual int Write(std::span<const std::uint8_t> bytes) = 0;
  virtual int Read(std::span<std::uint8_t> bytes) = 0;
};

// How long an open waits for another program's lock on the bus.
inline constexpr std::chrono::milliseconds kI2cLockWait{500};

// Opened and locked (flock, exclusive) for the device's life. nullptr when the node cannot be
// opened (missing, no permission, not a character device) or stays locked for lockWait; why
// (when given) then says which, naming who may open the node.
std::unique_ptr<I2cDevice> OpenI2cDevice(const std::string& path, std::string* why = nullptr,
                                         std::chrono::milliseconds lockWait = kI2cLockWait);

// Uses I2C_RDWR transfers; an adapter that does not offer them is switched, for good, to plain
// reads and writes after I2C_SLAVE.
std::unique_ptr<DdcTransport> MakeI2cDdcTransport(std::unique_ptr<I2cDevice> device);

// nullptr when the node cannot be opened: the display then refuses.
std::unique_ptr<DdcTransport> OpenI2cDdcTransport(const std::string& path, std::string* why = nullptr);

}  // namespace plat
