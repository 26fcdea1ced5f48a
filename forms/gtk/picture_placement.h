#pragma once
// Where a picture control draws its picture, in the control's pixels; the
// control clips whatever falls outside it.

namespace forms::gtk {

struct PictureRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PictureRect&) const = default;
};

// Proportional: a picture larger than the control is scaled down to fit,
// keeping its shape. Center: in the middle of the control, else from its
// top left corner at the size it has.
PictureRect PlacePicture(int control_width, int control_height, int picture_width,
                         int picture_height, bool center, bool proportional);

}  // namespace forms::gtk
