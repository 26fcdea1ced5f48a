#pragma once
// Pictures stored as JPEG in the program's RCDATA resources, decoded once
// with the system's picture loader into bitmaps, and drawn the ways the
// image component asks for.

#include <windows.h>

#include <map>
#include <string>

namespace forms::win32 {

struct Picture {
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};

// Where a picture of the given size goes inside a box of the given size:
// centred or from the top left, scaled down keeping its shape when
// proportional and too large, and otherwise at its natural size (cropped by
// the box).
RECT PicturePlacement(int picture_width, int picture_height, int box_width, int box_height,
                      bool center, bool proportional);

class PictureCache {
 public:
  explicit PictureCache(HINSTANCE instance) : instance_(instance) {}
  ~PictureCache();
  PictureCache(const PictureCache&) = delete;
  PictureCache& operator=(const PictureCache&) = delete;

  // The picture of that resource name; an empty picture when there is no
  // such resource or it cannot be decoded (nothing is drawn then).
  const Picture& Get(const std::string& resource);

 private:
  Picture Load(const std::string& resource) const;

  HINSTANCE instance_;
  std::map<std::string, Picture> pictures_;
};

// Draws picture into target inside box, as PicturePlacement places it.
void DrawPicture(HDC target, const RECT& box, const Picture& picture, bool center,
                 bool proportional);

}  // namespace forms::win32
