#pragma once
// A fresh headless platform and application per test, and controls that log the skin commands
// they receive.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "platform/display/headless/headless_display.h"
#include "skin/sMessages.h"

namespace velmora::test {

using Strings = std::vector<std::string>;

inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

template <class Base>
class TLogging : public Base {
 public:
  using Base::Base;
  bool skinned = false;
  void WndProc(fw::TMessage& m) override {
    if (m.Msg == SkinCommandMessage) {
      if (SkinCommandOf(m.WParam) == scIsHandled) {
        m.Result = skinned ? 1 : 0;
        return;
      }
      Log().push_back(this->Name() + ":" + std::to_string(SkinCommandOf(m.WParam)));
      m.Result = 0;
      return;
    }
    Base::WndProc(m);
  }
};
using TLogForm = TLogging<fw::TForm>;
using TLogPanel = TLogging<fw::TWinControl>;
using TLogGraphic = TLogging<fw::TGraphicControl>;

class ManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
    app = std::make_unique<fw::TApplication>(nullptr);
    Log().clear();
  }
  void TearDown() override {
    app.reset();
    plat::ShutdownPlatform();
  }
  template <class T>
  T* Child(fw::TWinControl* parent, const std::string& name) {
    fw::TComponent* owner = fw::GetParentForm(parent);
    T* c = fw::New<T>(owner ? owner : parent);
    c->SetName(name);
    c->SetParent(parent);
    if constexpr (std::is_base_of_v<fw::TWinControl, T>) c->HandleNeeded();
    return c;
  }
  TLogForm* Form(const std::string& name) {
    auto* f = fw::NewForm<TLogForm>(app.get());
    f->SetName(name);
    f->HandleNeeded();
    return f;
  }
  std::unique_ptr<fw::TApplication> app;
};

}  // namespace velmora::test
