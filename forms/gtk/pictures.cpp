#include "forms/gtk/pictures.h"

#include <gio/gio.h>

#include <map>

extern "C" GResource* kst_pictures_get_resource(void);

namespace forms::gtk {
namespace {

const std::map<std::string, std::string>& ResourcePaths() {
  static const std::map<std::string, std::string> paths = {
      {"logo_banner", "/kst/pictures/logo_banner.jpg"},
      {"connect_device_pc", "/kst/pictures/connection.jpg"},
      {"about_logo", "/kst/pictures/about_logo.jpg"},
      {"app_icon", "/kst/pictures/icon_48.png"},
      {"about_icon", "/kst/pictures/icon_48.png"},
  };
  return paths;
}

}  // namespace

GdkPixbuf* LoadPicture(const std::string& name) {
  const auto found = ResourcePaths().find(name);
  if (found == ResourcePaths().end()) return nullptr;
  GInputStream* stream = g_resource_open_stream(kst_pictures_get_resource(), found->second.c_str(),
                                                G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
  if (stream == nullptr) return nullptr;
  GdkPixbuf* picture = gdk_pixbuf_new_from_stream(stream, nullptr, nullptr);
  g_object_unref(stream);
  return picture;
}

}  // namespace forms::gtk
