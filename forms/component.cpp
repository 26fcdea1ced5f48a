#include "forms/component.h"

#include "forms/form.h"

namespace forms {

Component::Component(Form* owner, std::string name) : owner_(owner), name_(std::move(name)) {
  if (owner_ != nullptr) owner_->components_.push_back(this);
}

void Control::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(Property::Bounds);
}

void Control::SetFontSize(int points) {
  font_.size = points;
  Changed(Property::Font);
}

void Control::SetFontStyle(FontStyles style) {
  font_.style = style;
  Changed(Property::Font);
}

}  // namespace forms
