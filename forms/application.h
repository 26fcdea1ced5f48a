#pragma once
// The application object: owns the forms, runs the message loop until the
// main form (the first created) closes, and reports errors.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/backend.h"
#include "forms/form.h"

namespace forms {

class Application {
 public:
  explicit Application(Backend& backend) : backend_(backend) {}
  // Destroys the forms, the last created first, and clears the references
  // that CreateForm filled.
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Backend& GetBackend() const { return backend_; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Constructs F(*this, args...), keeps it, points reference at it and hands
  // it to the backend. The first form created becomes the main form.
  template <class F, class... Args>
  F& CreateForm(F*& reference, Args&&... args) {
    auto form = std::make_unique<F>(*this, std::forward<Args>(args)...);
    F& created = *form;
    reference = &created;
    Adopt(std::move(form), [&reference] { reference = nullptr; });
    return created;
  }
  Form* MainForm() const { return main_form_; }

  // Shows the main form and runs the loop until it closes.
  void Run();
  bool Terminated() const { return terminated_; }
  void Terminate() { terminated_ = true; }

  // The error box: message, the title as caption, an OK button.
  void ShowException(const std::string& message);
  // Runs an event handler for a backend's loop: anything it throws is shown
  // in the error box (an unknown exception with no text) and the loop goes on.
  void RunGuarded(const std::function<void()>& handler);

 private:
  void Adopt(std::unique_ptr<Form> form, std::function<void()> clear_reference);

  Backend& backend_;
  std::string title_;
  struct OwnedForm {
    std::unique_ptr<Form> form;
    std::function<void()> clear_reference;
  };
  std::vector<OwnedForm> forms_;
  Form* main_form_ = nullptr;
  bool terminated_ = false;
};

// Posts message msg with wParam to form's own window; handled later by the
// loop, through form.Dispatch.
bool PostMessage(Form& form, unsigned msg, std::uintptr_t w_param, std::intptr_t l_param = 0);

}  // namespace forms
