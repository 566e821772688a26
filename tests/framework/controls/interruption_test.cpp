// An interruption from outside the program (a driver in the idle handler) passes every handler
// of the framework: the loops of Run and ShowModal and an event that lets it through.
#include <gtest/gtest.h>

#include "controls_fixture.h"
#include "framework/std_controls.h"
#include "platform/base/error.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/wm.h"

namespace fw::test {
namespace {

using Interruptions = ControlsTest;

TEST_F(Interruptions, LeaveRunAndShowModalWithoutAnExceptionBox) {
  TForm* main = ShownForm();
  TForm* modal = NewForm<TForm>(app.get());
  auto* button = New<TButton>(main);
  button->SetParent(main);
  button->SetBounds(10, 10, 80, 30);
  // The event lets it pass, as a handler of the program would.
  button->OnClick = [&](TObject*) { modal->ShowModal(); };
  int idle = 0;
  OnIdle([&] {
    if (++idle == 1) {
      screen->Click(button->ClientToScreen({5, 5}));
      return true;
    }
    if (plat::FindShownMessageBox()) ADD_FAILURE() << "an exception box was shown";
    throw plat::Interruption{"stop"};
  });
  try {
    app->Run();
    ADD_FAILURE() << "Run returned";
  } catch (const plat::Interruption& i) {
    EXPECT_EQ(i.message, "stop");
  }
  OnIdle(nullptr);
  EXPECT_FALSE(modal->FormState().Contains(fsModal));
  EXPECT_FALSE(modal->Visible());
  EXPECT_TRUE(plat::IsWindowEnabled(main->Handle())) << "the owner is enabled again";
}

}  // namespace
}  // namespace fw::test
