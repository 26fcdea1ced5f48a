#include "forms/gtk/image_peer.h"

#include "forms/gtk/picture_placement.h"
#include "forms/gtk/pictures.h"

namespace forms::gtk {

ImagePeer::ImagePeer(FormPeer& form, Image& image)
    : ControlPeer(form, image, gtk_drawing_area_new()), image_(image) {
  Connect(Outer(), "draw", G_CALLBACK(OnDraw), this);
  ApplyAll();
}

ImagePeer::~ImagePeer() {
  if (picture_ != nullptr) g_object_unref(picture_);
}

void ImagePeer::Update(Property property) {
  if (property == Property::Picture) {
    if (picture_ != nullptr) g_object_unref(picture_);
    picture_ = LoadPicture(image_.Picture());
  }
  if (property == Property::Picture || property == Property::PictureLayout) {
    gtk_widget_queue_draw(Outer());
  }
}

gboolean ImagePeer::OnDraw(GtkWidget* /*area*/, cairo_t* cairo, gpointer self) {
  const auto* peer = static_cast<ImagePeer*>(self);
  if (peer->picture_ == nullptr) return FALSE;
  const int width = gdk_pixbuf_get_width(peer->picture_);
  const int height = gdk_pixbuf_get_height(peer->picture_);
  const PictureRect rect = PlacePicture(peer->image_.Width(), peer->image_.Height(), width, height,
                                        peer->image_.Center(), peer->image_.Proportional());
  if (rect.width <= 0 || rect.height <= 0) return FALSE;
  cairo_save(cairo);
  cairo_rectangle(cairo, 0, 0, peer->image_.Width(), peer->image_.Height());
  cairo_clip(cairo);
  cairo_translate(cairo, rect.left, rect.top);
  cairo_scale(cairo, static_cast<double>(rect.width) / width,
              static_cast<double>(rect.height) / height);
  gdk_cairo_set_source_pixbuf(cairo, peer->picture_, 0, 0);
  cairo_paint(cairo);
  cairo_restore(cairo);
  return FALSE;
}

}  // namespace forms::gtk
