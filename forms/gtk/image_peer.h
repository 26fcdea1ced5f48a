#pragma once
// A picture control: draws its picture from the compiled-in resources,
// placed as the control's Center and Proportional say, clipped at its edges,
// with no background of its own.

#include <gtk/gtk.h>

#include "forms/gtk/control_peer.h"
#include "forms/image.h"

namespace forms::gtk {

class ImagePeer final : public ControlPeer {
 public:
  ImagePeer(FormPeer& form, Image& image);
  ~ImagePeer() override;
  ImagePeer(const ImagePeer&) = delete;
  ImagePeer& operator=(const ImagePeer&) = delete;

  // The picture shown; null when the control names none we hold.
  GdkPixbuf* Picture() const { return picture_; }

 private:
  void Update(Property property) override;
  static gboolean OnDraw(GtkWidget* area, cairo_t* cairo, gpointer self);

  Image& image_;
  GdkPixbuf* picture_ = nullptr;
};

}  // namespace forms::gtk
