#include "forms/gtk/picture_placement.h"

namespace forms::gtk {

PictureRect PlacePicture(int control_width, int control_height, int picture_width,
                         int picture_height, bool center, bool proportional) {
  int width = picture_width;
  int height = picture_height;
  if (proportional && width > 0 && height > 0 &&
      (width > control_width || height > control_height)) {
    // Fit the longer side first, then the other if it still overflows.
    const double aspect = static_cast<double>(width) / height;
    if (width > height) {
      width = control_width;
      height = static_cast<int>(control_width / aspect);
      if (height > control_height) {
        height = control_height;
        width = static_cast<int>(control_height * aspect);
      }
    } else {
      height = control_height;
      width = static_cast<int>(control_height * aspect);
      if (width > control_width) {
        width = control_width;
        height = static_cast<int>(control_width / aspect);
      }
    }
  }
  PictureRect rect{0, 0, width, height};
  if (center) {
    rect.left = (control_width - width) / 2;
    rect.top = (control_height - height) / 2;
  }
  return rect;
}

}  // namespace forms::gtk
