#pragma once
// The pictures and icons that the forms name, compiled into the program.

#include <string>

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace forms::gtk {

// A new reference to the named picture; null for a name we do not hold.
GdkPixbuf* LoadPicture(const std::string& name);

}  // namespace forms::gtk
