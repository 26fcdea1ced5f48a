#include "forms/terminal/terminal_backend.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "forms/cp1252.h"
#include "forms/label.h"
#include "forms/queued_timer_peer.h"
#include "forms/string_list.h"
#include "forms/terminal/interrupt.h"
#include "forms/text.h"
#include "forms/timer.h"

namespace forms {
namespace {

constexpr const char* kClearLine = "\r\x1b[K";
constexpr char kEscape = '\x1b';

// Tells the backend of every property change, for it to decide what to redraw.
class ChangePeer final : public ComponentPeer {
 public:
  ChangePeer(TerminalBackend& backend, Form& form, Component& component)
      : backend_(backend), form_(form), component_(component) {}
  void Changed(Property property) override { backend_.Note(&form_, &component_, property); }

 private:
  TerminalBackend& backend_;
  Form& form_;
  Component& component_;
};

bool Usable(const Control& control) {
  const Form* owner = control.Owner();
  return control.Visible() && control.Enabled() && (owner == nullptr || owner->Visible());
}

bool AllDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A port entry is named by what stands before " : " too ("COM34" for "COM34 : VORANEX").
bool NamesEntry(const std::string& line, const std::string& entry) {
  if (CompareText(line, entry) == 0) return true;
  const auto colon = entry.find(" : ");
  return colon != std::string::npos && CompareText(line, entry.substr(0, colon)) == 0;
}

// Changes that only move a progress bar and the texts that go with it.
bool ProgressOnly(const std::vector<const ProgressBar*>& moved, Property property,
                  const Component* component) {
  if (dynamic_cast<const ProgressBar*>(component) != nullptr) {
    return property == Property::Position || property == Property::Range ||
           property == Property::Step || property == Property::Smooth;
  }
  return !moved.empty() && dynamic_cast<const Label*>(component) != nullptr &&
         property == Property::Caption;
}

}  // namespace

bool PollWait::Wait(int fd, std::optional<std::uint32_t> timeout_ms) {
  pollfd ready{.fd = fd, .events = POLLIN, .revents = 0};
  const int timeout =
      timeout_ms ? static_cast<int>(std::min<std::uint32_t>(*timeout_ms, 60000)) : -1;
  const int result = poll(&ready, fd >= 0 ? 1 : 0, timeout);
  return result > 0 && (ready.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

TerminalBackend::TerminalBackend(platform::Clock& clock, std::ostream& out, TerminalOptions options,
                                 InputWait& wait, TerminalDriver* driver)
    : TerminalBackend([&clock] { return clock.GetTickCount(); }, out, options, wait, driver) {}

TerminalBackend::TerminalBackend(platform::VirtualClock& clock, std::ostream& out,
                                 TerminalOptions options, InputWait& wait, TerminalDriver* driver)
    : TerminalBackend([&clock] { return clock.Now(); }, out, options, wait, driver) {}

TerminalBackend::TerminalBackend(std::function<std::uint32_t()> now, std::ostream& out,
                                 TerminalOptions options, InputWait& wait, TerminalDriver* driver)
    : now_(std::move(now)),
      out_(out),
      options_(options),
      wait_(wait),
      driver_(driver),
      queue_(now_) {}

void TerminalBackend::AttachForm(Form& form) {
  form.SetPeer(std::make_unique<ChangePeer>(*this, form, form));
  for (Component* component : form.Components()) {
    if (auto* timer = dynamic_cast<Timer*>(component)) {
      timer->SetPeer(std::make_unique<QueuedTimerPeer>(queue_, *timer));
    } else {
      component->SetPeer(std::make_unique<ChangePeer>(*this, form, *component));
    }
  }
}

void TerminalBackend::DetachForm(Form& form) {
  queue_.ForgetForm(form);
  std::erase_if(changes_, [&form](const Change& change) { return change.form == &form; });
  if (progress_.bar != nullptr && progress_.bar->Owner() == &form) progress_ = ProgressTrack{};
}

void TerminalBackend::Note(Form* form, Component* component, Property property) {
  changes_.push_back(Change{form, component, property});
}

bool TerminalBackend::Post(Form& form, const Message& message) {
  queue_.Post(form, message);
  return true;
}

int TerminalBackend::TextWidth(const std::string& text, const FontSpec& font) {
  // A terminal has no pixels: the width a proportional 96 dpi font would about take.
  const int per_byte = (FontHeightPixels(font.size) + 1) / 2 + (font.style.bold ? 1 : 0);
  return static_cast<int>(text.size()) * per_byte;
}

int TerminalBackend::OuterWidth(int client_width, BorderStyle /*border*/) {
  return client_width + 2 * 4;
}

int TerminalBackend::ExitStatus() const {
  return driver_ != nullptr ? driver_->ExitStatus() : 0;
}

void TerminalBackend::RunLoop(Application& application) {
  application_ = &application;
  // Inside the loop a failing handler is reported and the loop goes on.
  queue_.SetErrorReporter(
      [&application](const std::string& message) { application.ShowException(message); });
  Context main;
  main.form = application.MainForm();
  if (main.form != nullptr) Loop(main, [&application] { return application.Terminated(); });
  queue_.SetErrorReporter(nullptr);
  if (progress_open_) Print("");
  application_ = nullptr;
}

void TerminalBackend::RunModal(Form& form) {
  Context modal;
  modal.form = &form;
  Loop(modal, [&form] { return form.GetModalResult() != ModalResult::None || !form.Visible(); });
  if (!contexts_.empty()) contexts_.back()->force = true;
}

ModalResult TerminalBackend::ShowDialog(const DialogRequest& request) {
  RefreshTop();  // what stands behind the box, as it is now
  Context box;
  box.dialog = &request;
  box.screen = ComposeDialog(request);
  Print("\n" + box.screen.Text());
  if (request.buttons == MsgDlgButtons::YesNo && options_.yes_no_answer) {
    for (const OfferedButton& offered : box.screen.buttons) {
      if (offered.result == *options_.yes_no_answer) Press(box, offered);
    }
  }
  if (!box.answer) Loop(box, [&box] { return box.answer.has_value(); });
  if (driver_ != nullptr) driver_->Answered(request, *box.answer);
  if (!contexts_.empty()) contexts_.back()->force = true;
  return *box.answer;
}

bool TerminalBackend::IsMain(const Context& context) const {
  return application_ != nullptr && context.form != nullptr &&
         context.form == application_->MainForm();
}

ModalResult TerminalBackend::ClosingAnswer(const DialogRequest& request) {
  return request.buttons == MsgDlgButtons::YesNo ? ModalResult::No : ModalResult::Ok;
}

void TerminalBackend::Loop(Context& context, const std::function<bool()>& done) {
  contexts_.push_back(&context);
  while (!done()) {
    if (Interrupted()) {
      EndOnSignal(context);
      continue;
    }
    if (queue_.DispatchOne()) {
      RefreshTop();
      continue;
    }
    RefreshTop();
    if (!pending_.empty()) {
      // Taken off first: what it does may run a nested loop (a modal form)
      // that reads the input behind it.
      const Input input = pending_.front();
      pending_.pop_front();
      if (Apply(context, input)) continue;
      // Keys that match nothing are dropped; a line waits for its screen.
      if (!options_.key_input) pending_.push_front(input);
    }
    if (IsMain(context) && driver_ != nullptr && driver_->Act(*context.form, *this)) continue;
    if (input_ended_ && EndForLackOfInput(context)) continue;
    const std::optional<std::uint32_t> next_tick = queue_.TimeToNextTick();
    if (input_ended_ && !next_tick) {
      // Nothing can move the main form on any more: no input and no timer.
      pending_.clear();
      context.form->Close();
      continue;
    }
    if (wait_.Wait(input_ended_ ? -1 : options_.input_fd, next_tick)) ReadInput();
  }
  contexts_.pop_back();
}

void TerminalBackend::EndOnSignal(Context& context) {
  pending_.clear();
  if (context.dialog != nullptr) {
    context.answer = ClosingAnswer(*context.dialog);
  } else if (IsMain(context)) {
    application_->Terminate();
  } else {
    context.form->Close();
  }
}

bool TerminalBackend::EndForLackOfInput(Context& context) {
  // The main form may still move on by itself; a box or a modal form will
  // not, so what is left of the input will never fit them.
  if (IsMain(context) && driver_ != nullptr && !driver_->MayClose(*context.form)) return false;
  if (!pending_.empty()) {
    Print("\n(unused input: " + Cp1252ToUtf8(pending_.front().text) + ")\n");
    pending_.clear();
  }
  if (context.dialog != nullptr) {
    context.answer = ClosingAnswer(*context.dialog);
  } else {
    context.form->Close();
  }
  return true;
}

void TerminalBackend::RefreshTop() {
  // A screen on its way out is not worth printing.
  if (application_ != nullptr && application_->Terminated()) return;
  if (contexts_.empty()) return;
  if (contexts_.back()->form != nullptr) {
    Refresh(*contexts_.back());
  } else {
    changes_.clear();  // behind a box: the form is printed whole once the box is gone
  }
}

void TerminalBackend::Refresh(Context& context) {
  std::vector<const ProgressBar*> moved;
  for (const Change& change : changes_) {
    if (change.form != context.form || change.property != Property::Position) continue;
    if (const auto* bar = dynamic_cast<const ProgressBar*>(change.component)) moved.push_back(bar);
  }
  const bool progress_only =
      !context.force && !moved.empty() &&
      std::all_of(changes_.begin(), changes_.end(), [&context, &moved](const Change& change) {
        return change.form != context.form ||
               ProgressOnly(moved, change.property, change.component);
      });
  const bool changed = context.force || std::any_of(changes_.begin(), changes_.end(),
                                                    [&context](const Change& change) {
                                                      return change.form == context.form;
                                                    });
  changes_.clear();
  if (!changed) return;
  context.screen = ComposeForm(*context.form, options_.width, options_.live_output);
  if (progress_only) {
    // The texts that go with the bar are not printed again: the bar says it.
    context.shown = context.screen.Text();
    ShowProgress(*moved.front());
    return;
  }
  if (context.force || context.screen.Text() != context.shown) PrintScreen(context);
}

void TerminalBackend::PrintScreen(Context& context) {
  context.force = false;
  context.shown = context.screen.Text();
  Print("\n" + context.shown);
  for (Component* component : context.form->Components()) {
    auto* bar = dynamic_cast<ProgressBar*>(component);
    if (bar == nullptr) continue;
    ResetProgress(*bar);
    if (bar->Visible()) ShowProgress(*bar);
    break;
  }
  if (IsMain(context) && driver_ != nullptr) driver_->Shown(*context.form);
}

void TerminalBackend::ResetProgress(const ProgressBar& bar) {
  progress_ = ProgressTrack{.bar = &bar,
                            .start_position = bar.Position(),
                            .start_ms = now_(),
                            .last_position = bar.Position()};
}

void TerminalBackend::ShowProgress(const ProgressBar& bar) {
  const std::uint32_t now = now_();
  if (progress_.bar != &bar || bar.Position() < progress_.last_position) ResetProgress(bar);
  progress_.last_position = bar.Position();
  std::optional<std::uint32_t> left;
  const int done = bar.Position() - progress_.start_position;
  if (done > 0) {
    const std::uint64_t per_step = (now - progress_.start_ms) / static_cast<std::uint32_t>(done);
    left = static_cast<std::uint32_t>(per_step *
                                      static_cast<std::uint32_t>(bar.Max() - bar.Position()));
  }
  const std::string line = ProgressLine(bar, left);
  if (options_.live_output) {
    out_ << kClearLine << line << std::flush;
    progress_open_ = true;
    return;
  }
  const int span = bar.Max() - bar.Min();
  const int tenth = span > 0 ? (bar.Position() - bar.Min()) * 10 / span : 0;
  if (tenth == progress_.tenth) return;
  progress_.tenth = tenth;
  Print(line + "\n");
}

void TerminalBackend::Print(const std::string& text) {
  if (progress_open_) {
    out_ << '\n';
    progress_open_ = false;
  }
  out_ << text << std::flush;
}

bool TerminalBackend::Click(Button& button) {
  if (!Usable(button)) return false;
  Print("-> " + Cp1252ToUtf8(PlainCaption(button.Caption())) + "\n");
  button.Click();
  return true;
}

bool TerminalBackend::SelectItem(ListBox& list, int index) {
  if (!Usable(list) || index < 0 || index >= list.Items().Count()) return false;
  Print("-> " + std::to_string(index + 1) + ") " + Cp1252ToUtf8(list.Items()[index]) + "\n");
  list.SetItemIndex(index);
  list.Click();
  return true;
}

void TerminalBackend::ReadInput() {
  char buffer[256];
  const ssize_t got = read(options_.input_fd, buffer, sizeof buffer);
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (got <= 0) {
    input_ended_ = true;
    if (!options_.key_input) ParseLines("", true);
    return;
  }
  const std::string bytes(buffer, static_cast<std::size_t>(got));
  if (options_.key_input) {
    ParseKeys(bytes);
  } else {
    ParseLines(bytes, false);
  }
}

void TerminalBackend::ParseKeys(const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == kEscape) {
      // A key's escape sequence (arrows, function keys) is skipped whole.
      if (i + 1 < bytes.size() && (bytes[i + 1] == '[' || bytes[i + 1] == 'O')) {
        i += 2;
        while (i < bytes.size() && !(bytes[i] >= 0x40 && bytes[i] <= 0x7E)) ++i;
      } else {
        pending_.push_back(Input{Input::Kind::Escape, {}});
      }
    } else if (c == '\r' || c == '\n') {
      pending_.push_back(Input{Input::Kind::Enter, {}});
    } else if (c > ' ' && c < 0x7F) {
      pending_.push_back(Input{Input::Kind::Key, std::string(1, c)});
    }
  }
}

void TerminalBackend::ParseLines(const std::string& bytes, bool at_end) {
  partial_line_ += bytes;
  std::size_t end;
  while ((end = partial_line_.find('\n')) != std::string::npos) {
    pending_.push_back(Input{Input::Kind::Line, Trim(Utf8ToCp1252(partial_line_.substr(0, end)))});
    partial_line_.erase(0, end + 1);
  }
  if (at_end && !Trim(partial_line_).empty()) {
    pending_.push_back(Input{Input::Kind::Line, Trim(Utf8ToCp1252(partial_line_))});
  }
  if (at_end) partial_line_.clear();
}

bool TerminalBackend::Apply(Context& context, const Input& input) {
  const Screen& screen = context.screen;
  switch (input.kind) {
    case Input::Kind::Escape:
      if (context.dialog != nullptr) {
        context.answer = ClosingAnswer(*context.dialog);
        return true;
      }
      if (!IsMain(context)) {
        context.form->Close();
        return true;
      }
      return false;
    case Input::Kind::Enter:
      if (!digits_.empty()) {
        const std::string digits = std::exchange(digits_, {});
        return SelectNumber(context, digits);
      }
      return screen.enter >= 0 &&
             Press(context, screen.buttons[static_cast<std::size_t>(screen.enter)]);
    case Input::Kind::Key:
      return ApplyKey(context, input.text[0]);
    case Input::Kind::Line:
      break;
  }
  const std::string& line = input.text;
  if (line.empty()) return Apply(context, Input{Input::Kind::Enter, {}});
  if (AllDigits(line)) return SelectNumber(context, line);
  if (line.size() == 1) return ApplyKey(context, line[0]);
  for (const OfferedButton& offered : screen.buttons) {
    if (CompareText(line, offered.caption) == 0) return Press(context, offered);
  }
  if (screen.list != nullptr) {
    const StringList& items = screen.list->Items();
    for (int i = 0; i < items.Count(); ++i) {
      if (NamesEntry(line, items[i])) return SelectItem(*screen.list, i);
    }
  }
  return false;
}

bool TerminalBackend::ApplyKey(Context& context, char key) {
  const Screen& screen = context.screen;
  if (key >= '0' && key <= '9' && options_.key_input) {
    // Digits make up a list number; it is taken as soon as no longer one can follow.
    if (screen.list == nullptr) return false;
    digits_ += key;
    const int count = screen.list->Items().Count();
    if (digits_.size() > 3 || std::stoi(digits_) * 10 > count) {
      return SelectNumber(context, std::exchange(digits_, {}));
    }
    return true;
  }
  const char upper = AnsiUpperCase(std::string(1, key))[0];
  for (const OfferedButton& offered : screen.buttons) {
    if (offered.key != 0 && offered.key == upper) return Press(context, offered);
  }
  return false;
}

bool TerminalBackend::SelectNumber(Context& context, const std::string& digits) {
  ListBox* list = context.screen.list;
  if (list == nullptr || digits.size() > 6) return false;
  return SelectItem(*list, std::stoi(digits) - 1);
}

bool TerminalBackend::Press(Context& context, const OfferedButton& offered) {
  if (context.dialog != nullptr) {
    Print("-> " + Cp1252ToUtf8(offered.caption) + "\n");
    context.answer = offered.result;
    return true;
  }
  return offered.button != nullptr && Click(*offered.button);
}

}  // namespace forms
