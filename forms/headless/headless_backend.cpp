#include "forms/headless/headless_backend.h"

#include <memory>

#include "forms/queued_timer_peer.h"
#include "forms/timer.h"

namespace forms {
namespace {

bool Usable(const Control& control) {
  const Form* owner = control.Owner();
  return control.Visible() && control.Enabled() && (owner == nullptr || owner->Visible());
}

}  // namespace

HeadlessBackend::HeadlessBackend(platform::VirtualClock& clock)
    : clock_(clock), queue_([&clock] { return clock.Now(); }) {}

void HeadlessBackend::AttachForm(Form& form) {
  for (Component* component : form.Components()) {
    if (auto* timer = dynamic_cast<Timer*>(component)) {
      timer->SetPeer(std::make_unique<QueuedTimerPeer>(queue_, *timer));
    }
  }
}

void HeadlessBackend::DetachForm(Form& form) {
  queue_.ForgetForm(form);
}

void HeadlessBackend::DispatchReady() {
  while (queue_.DispatchOne()) {
  }
}

void HeadlessBackend::RunFor(std::uint32_t ms) {
  RunUntil([] { return false; }, ms);
}

bool HeadlessBackend::RunUntil(const std::function<bool()>& done, std::uint32_t limit_ms) {
  const std::uint32_t start = clock_.Now();
  for (;;) {
    while (queue_.DispatchOne()) {
      if (done()) return true;
    }
    if (done()) return true;
    // Handlers may have let time pass (busy waits on the clock).
    const std::uint32_t spent = clock_.Now() - start;
    if (spent >= limit_ms) return false;
    const std::uint32_t left = limit_ms - spent;
    const std::optional<std::uint32_t> next = queue_.TimeToNextTick();
    if (!next || *next > left) {
      clock_.Advance(left);
      return done();
    }
    clock_.Advance(*next);
  }
}

void HeadlessBackend::RunLoop(Application& application) {
  // Inside the loop a failing handler is reported and the loop goes on.
  queue_.SetErrorReporter(
      [&application](const std::string& message) { application.ShowException(message); });
  struct ReporterReset {
    EventQueue& queue;
    ~ReporterReset() { queue.SetErrorReporter(nullptr); }
  } reset{queue_};
  DispatchReady();
  if (loop_handler_ && !application.Terminated()) loop_handler_();
}

void HeadlessBackend::RunModal(Form& form) {
  modal_forms_.push_back(form.Name());
  if (modal_handler_) modal_handler_(form);
  if (form.GetModalResult() == ModalResult::None) form.Close();
}

ModalResult HeadlessBackend::ShowDialog(const DialogRequest& request) {
  ModalResult answer;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  } else if (dialog_handler_) {
    answer = dialog_handler_(request);
  } else {
    answer = request.buttons == MsgDlgButtons::YesNo ? ModalResult::No : ModalResult::Ok;
  }
  dialogs_.push_back(DialogRecord{request, answer});
  return answer;
}

bool HeadlessBackend::Post(Form& form, const Message& message) {
  queue_.Post(form, message);
  return true;
}

int HeadlessBackend::TextWidth(const std::string& text, const FontSpec& font) {
  const int per_byte = (FontHeightPixels(font.size) + 1) / 2 + (font.style.bold ? 1 : 0);
  return static_cast<int>(text.size()) * per_byte;
}

int HeadlessBackend::OuterWidth(int client_width, BorderStyle /*border*/) {
  return client_width + 2 * kFrameWidth;
}

bool HeadlessBackend::Click(Button& button) {
  if (!Usable(button)) return false;
  button.Click();
  return true;
}

bool HeadlessBackend::Click(Label& label) {
  if (!Usable(label)) return false;
  label.Click();
  return true;
}

bool HeadlessBackend::ClickItem(ListBox& list, int index) {
  if (!Usable(list) || index < 0 || index >= list.Items().Count()) return false;
  list.SetItemIndex(index);
  list.Click();
  return true;
}

bool HeadlessBackend::PressEnter(Form& form) {
  for (Component* component : form.Components()) {
    auto* button = dynamic_cast<Button*>(component);
    if (button != nullptr && button->Default() && Usable(*button)) {
      button->Click();
      return true;
    }
  }
  return false;
}

}  // namespace forms
