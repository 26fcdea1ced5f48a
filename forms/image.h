#pragma once
// A picture control. It names the picture resource it shows; the backend
// loads and draws it.

#include <string>

#include "forms/component.h"

namespace forms {

class Image : public Control {
 public:
  using Control::Control;

  const std::string& Picture() const { return picture_; }
  void SetPicture(const std::string& resource) { Set(picture_, resource, Property::Picture); }
  // Centre: the picture in the middle of the control, else from its top left.
  bool Center() const { return center_; }
  void SetCenter(bool center) { Set(center_, center, Property::PictureLayout); }
  // Proportional: scaled down, keeping its shape, when larger than the control.
  bool Proportional() const { return proportional_; }
  void SetProportional(bool proportional) {
    Set(proportional_, proportional, Property::PictureLayout);
  }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { Set(transparent_, transparent, Property::PictureLayout); }

 private:
  std::string picture_;
  bool center_ = false;
  bool proportional_ = false;
  bool transparent_ = false;
};

}  // namespace forms
