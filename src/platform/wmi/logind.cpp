#include "platform/wmi/logind.h"

#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/base/error.h"

namespace plat {

namespace {

constexpr const char* kSystemBusSocket = "unix:path=/run/dbus/system_bus_socket";

struct Answer {
  bool done = false;
  std::string refusal;  // empty: done
};

// Releases the bus objects on every way out, without flushing: a flush waits for a bus that
// may never answer.
struct BusCall {
  sd_bus* bus = nullptr;
  sd_bus_message* request = nullptr;
  sd_bus_slot* slot = nullptr;
  ~BusCall() {
    sd_bus_slot_unref(slot);
    sd_bus_message_unref(request);
    sd_bus_close_unref(bus);
  }
};

[[noreturn]] void Fail(const std::string& step, const std::string& reason) {
  throw Error("logind SetBrightness: " + step + ": " + reason);
}

[[noreturn]] void Fail(const std::string& step, int result) { Fail(step, std::strerror(-result)); }

int OnReply(sd_bus_message* reply, void* userdata, sd_bus_error*) {
  auto* answer = static_cast<Answer*>(userdata);
  answer->done = true;
  if (sd_bus_message_is_method_error(reply, nullptr)) {
    const sd_bus_error* error = sd_bus_message_get_error(reply);
    answer->refusal = error && error->message ? error->message : error && error->name ? error->name : "refused";
  }
  return 0;
}

std::string AddressOf(const LogindBus& bus) {
  if (!bus.address.empty()) return bus.address;
  const char* configured = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
  return configured && *configured ? configured : kSystemBusSocket;
}

}  // namespace

void LogindSetBrightness(const std::string& subsystem, const std::string& name, std::uint32_t value,
                         const LogindBus& where) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + where.deadline;
  const auto remaining = [&] {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<std::uint64_t>(left.count()) : 0;
  };
  BusCall call;
  int r = sd_bus_new(&call.bus);
  if (r < 0) Fail("no system bus", r);
  const std::string address = AddressOf(where);
  if ((r = sd_bus_set_address(call.bus, address.c_str())) < 0 || (r = sd_bus_set_bus_client(call.bus, 1)) < 0)
    Fail("no system bus", r);
  // Connecting starts here; authentication and the greeting run in the loop below, under the
  // deadline, where the library's own blocking calls would wait for minutes.
  if ((r = sd_bus_start(call.bus)) < 0) Fail("no system bus at " + address, r);
  r = sd_bus_message_new_method_call(call.bus, &call.request, "org.freedesktop.login1",
                                     "/org/freedesktop/login1/session/auto", "org.freedesktop.login1.Session",
                                     "SetBrightness");
  if (r < 0) Fail("cannot make the call", r);
  if ((r = sd_bus_message_append(call.request, "ssu", subsystem.c_str(), name.c_str(), value)) < 0)
    Fail("cannot make the call", r);
  Answer answer;
  if ((r = sd_bus_call_async(call.bus, &call.slot, call.request, OnReply, &answer, remaining())) < 0)
    Fail("cannot make the call", r);
  while (!answer.done) {
    const std::uint64_t left = remaining();
    if (left == 0) Fail("no answer", "the system bus did not answer within " + std::to_string(where.deadline.count()) + " ms");
    r = sd_bus_process(call.bus, nullptr);
    if (r < 0) Fail("the system bus failed", r);
    if (r > 0) continue;
    r = sd_bus_wait(call.bus, left);
    if (r < 0 && r != -EINTR) Fail("the system bus failed", r);
  }
  if (!answer.refusal.empty()) Fail("refused", answer.refusal);
}

}  // namespace plat
