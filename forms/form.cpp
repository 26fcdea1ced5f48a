#include "forms/form.h"

#include "forms/application.h"

namespace forms {

Form::Form(Application& application, std::string name)
    : Component(nullptr, std::move(name)), application_(application) {}

void Form::SetClientSize(int width, int height) {
  client_width_ = width;
  client_height_ = height;
  Changed(Property::ClientSize);
}

int Form::Width() const {
  return application_.GetBackend().OuterWidth(client_width_, border_style_);
}

int Form::TextWidth(const std::string& text, const FontSpec& font) const {
  return application_.GetBackend().TextWidth(text, font);
}

ModalResult Form::ShowModal() {
  modal_ = true;
  modal_result_ = ModalResult::None;
  Show();
  application_.GetBackend().RunModal(*this);
  modal_ = false;
  Hide();
  return modal_result_;
}

void Form::Close() {
  if (modal_) {
    if (modal_result_ == ModalResult::None) modal_result_ = ModalResult::Cancel;
    return;
  }
  Hide();
  if (application_.MainForm() == this) application_.Terminate();
}

void Form::Dispatch(Message& /*message*/) {}

}  // namespace forms
