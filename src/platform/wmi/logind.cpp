#include "platform/wmi/logind.h"

#include <systemd/sd-bus.h>

#include <cstring>

#include "platform/base/error.h"

namespace plat {

namespace {

// Releases the bus objects on every way out.
struct BusCall {
  sd_bus* bus = nullptr;
  sd_bus_message* request = nullptr;
  sd_bus_message* reply = nullptr;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  ~BusCall() {
    sd_bus_error_free(&error);
    sd_bus_message_unref(reply);
    sd_bus_message_unref(request);
    sd_bus_flush_close_unref(bus);
  }
};

[[noreturn]] void Fail(const std::string& step, int result, const sd_bus_error* error) {
  std::string reason = error && sd_bus_error_is_set(error) && error->message ? error->message : std::strerror(-result);
  throw Error("logind SetBrightness: " + step + ": " + reason);
}

}  // namespace

void LogindSetBrightness(const std::string& subsystem, const std::string& name, std::uint32_t value) {
  BusCall call;
  int r = sd_bus_open_system(&call.bus);
  if (r < 0) Fail("no system bus", r, nullptr);
  r = sd_bus_message_new_method_call(call.bus, &call.request, "org.freedesktop.login1",
                                     "/org/freedesktop/login1/session/auto", "org.freedesktop.login1.Session",
                                     "SetBrightness");
  if (r < 0) Fail("cannot make the call", r, nullptr);
  r = sd_bus_message_append(call.request, "ssu", subsystem.c_str(), name.c_str(), value);
  if (r < 0) Fail("cannot make the call", r, nullptr);
  const auto timeout = std::chrono::duration_cast<std::chrono::microseconds>(kLogindCallTimeout);
  r = sd_bus_call(call.bus, call.request, static_cast<std::uint64_t>(timeout.count()), &call.error, &call.reply);
  if (r < 0) Fail("refused", r, &call.error);
}

}  // namespace plat
