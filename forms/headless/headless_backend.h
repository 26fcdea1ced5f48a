#pragma once
// A backend without a display, for tests. Time is a VirtualClock that moves
// only inside RunFor/RunUntil; message boxes and modal forms are answered by
// the test; text width follows a fixed rule so geometry can be checked.
//
// Text width: every byte is (font height in pixels + 1) / 2 pixels wide,
// one more when the font is bold (8 pt: 6 pixels a byte).
// Window frame: kFrameWidth pixels on either side of the client area.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/backend.h"
#include "forms/button.h"
#include "forms/event_queue.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "platform/virtual_clock.h"

namespace forms {

class HeadlessBackend final : public Backend {
 public:
  static constexpr int kFrameWidth = 8;

  struct DialogRecord {
    DialogRequest request;
    ModalResult answer;
  };
  // Answers a message box; it may call RunFor to let time pass while the box is open.
  using DialogHandler = std::function<ModalResult(const DialogRequest&)>;
  // Acts as the user while form is shown modally; the form is closed after
  // it returns if it did not close it.
  using ModalHandler = std::function<void(Form& form)>;
  // Acts as the user while the application's loop runs; the loop ends when it returns.
  using LoopHandler = std::function<void()>;

  explicit HeadlessBackend(platform::VirtualClock& clock);

  platform::VirtualClock& Clock() { return clock_; }

  // Handles everything ready now, then lets time pass up to ms, handling
  // ticks and messages as they come due.
  void RunFor(std::uint32_t ms);
  // Like RunFor, stopping as soon as done() holds; false when limit_ms passed first.
  bool RunUntil(const std::function<bool()>& done, std::uint32_t limit_ms);

  // Answers, in order, for the next message boxes; after them the handler
  // decides, and without one the box is closed (No, or OK).
  void QueueAnswer(ModalResult answer) { answers_.push_back(answer); }
  void SetDialogHandler(DialogHandler handler) { dialog_handler_ = std::move(handler); }
  const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }

  void SetModalHandler(ModalHandler handler) { modal_handler_ = std::move(handler); }
  // Names of the forms shown modally, in order.
  const std::vector<std::string>& ModalForms() const { return modal_forms_; }

  void SetLoopHandler(LoopHandler handler) { loop_handler_ = std::move(handler); }

  // The user's actions: each acts only on a visible, enabled control and
  // says whether it did.
  bool Click(Button& button);
  bool Click(Label& label);
  bool ClickItem(ListBox& list, int index);
  // Enter: clicks the form's visible, enabled default button.
  bool PressEnter(Form& form);

  void AttachForm(Form& form) override;
  void DetachForm(Form& form) override;
  void RunLoop(Application& application) override;
  void RunModal(Form& form) override;
  ModalResult ShowDialog(const DialogRequest& request) override;
  bool Post(Form& form, const Message& message) override;
  int TextWidth(const std::string& text, const FontSpec& font) override;
  int OuterWidth(int client_width, BorderStyle border) override;

 private:
  void DispatchReady();

  platform::VirtualClock& clock_;
  EventQueue queue_;
  std::deque<ModalResult> answers_;
  DialogHandler dialog_handler_;
  std::vector<DialogRecord> dialogs_;
  ModalHandler modal_handler_;
  std::vector<std::string> modal_forms_;
  LoopHandler loop_handler_;
};

}  // namespace forms
