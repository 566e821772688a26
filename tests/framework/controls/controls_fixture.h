#pragma once
// A fresh headless display, platform and application per test, and helpers to drive them.
#include <gtest/gtest.h>

#include <memory>

#include "framework/application.h"
#include "platform/display/headless/headless_display.h"

namespace fw::test {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto d = std::make_unique<plat::display::HeadlessDisplay>();
    screen = d.get();
    plat::InitPlatform(std::move(d));
    app = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    app.reset();
    plat::ShutdownPlatform();
  }
  void Pump() { app->ProcessMessages(); }
  // A shown form at a known place with its client area at a known size.
  TForm* ShownForm(int x = 100, int y = 100, int w = 300, int h = 200) {
    TForm* f = NewForm<TForm>(app.get());
    f->SetPosition(poDesigned);
    f->SetBorderStyle(bsNone);
    f->SetBounds(x, y, w, h);
    f->Show();
    Pump();
    return f;
  }
  // Runs fn whenever the loop would wait for input, until it answers false.
  void OnIdle(std::function<bool()> fn) { screen->SetIdleHandler(std::move(fn)); }

  plat::display::HeadlessDisplay* screen = nullptr;
  std::unique_ptr<TApplication> app;
};

}  // namespace fw::test
