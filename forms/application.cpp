#include "forms/application.h"

#include <exception>

namespace forms {

Application::~Application() {
  while (!forms_.empty()) {
    OwnedForm owned = std::move(forms_.back());
    forms_.pop_back();
    if (owned.form->OnDestroy) owned.form->OnDestroy(owned.form.get());
    backend_.DetachForm(*owned.form);
    owned.clear_reference();
    owned.form.reset();
  }
}

void Application::Adopt(std::unique_ptr<Form> form, std::function<void()> clear_reference) {
  if (main_form_ == nullptr) main_form_ = form.get();
  backend_.AttachForm(*form);
  forms_.push_back(OwnedForm{std::move(form), std::move(clear_reference)});
}

void Application::Run() {
  if (main_form_ == nullptr) return;
  main_form_->Show();
  backend_.RunLoop(*this);
}

void Application::ShowException(const std::string& message) {
  DialogRequest request;
  request.caption = title_;
  request.text = message;
  request.kind = MsgDlgType::Error;
  request.buttons = MsgDlgButtons::Ok;
  request.button_labels = DialogButtons(MsgDlgButtons::Ok);
  backend_.ShowDialog(request);
}

bool PostMessage(Form& form, unsigned msg, std::uintptr_t w_param, std::intptr_t l_param) {
  Message message;
  message.Msg = msg;
  message.WParam = w_param;
  message.LParam = l_param;
  return form.App().GetBackend().Post(form, message);
}

void Application::RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error.what());
  } catch (...) {
    ShowException("");
  }
}

}  // namespace forms
