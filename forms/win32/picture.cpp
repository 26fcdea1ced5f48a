#include "forms/win32/picture.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "forms/win32/wide_text.h"

namespace forms::win32 {

namespace {

// A copy of the resource bytes in movable memory, read through a stream
// that frees it when released.
IStream* StreamOnCopy(const void* bytes, DWORD size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  return stream;
}

}  // namespace

RECT PicturePlacement(int picture_width, int picture_height, int box_width, int box_height,
                      bool center, bool proportional) {
  int width = picture_width;
  int height = picture_height;
  if (proportional && picture_width > 0 && picture_height > 0 &&
      (picture_width > box_width || picture_height > box_height)) {
    // The side that overflows most decides the scale.
    if (static_cast<long long>(box_width) * picture_height <=
        static_cast<long long>(box_height) * picture_width) {
      width = box_width;
      height = static_cast<int>(static_cast<long long>(picture_height) * box_width / picture_width);
    } else {
      height = box_height;
      width = static_cast<int>(static_cast<long long>(picture_width) * box_height / picture_height);
    }
  }
  const int left = center ? (box_width - width) / 2 : 0;
  const int top = center ? (box_height - height) / 2 : 0;
  return RECT{left, top, left + width, top + height};
}

PictureCache::~PictureCache() {
  for (const auto& [name, picture] : pictures_) {
    if (picture.bitmap != nullptr) DeleteObject(picture.bitmap);
  }
}

const Picture& PictureCache::Get(const std::string& resource) {
  if (const auto found = pictures_.find(resource); found != pictures_.end()) return found->second;
  return pictures_.emplace(resource, Load(resource)).first->second;
}

Picture PictureCache::Load(const std::string& resource) const {
  Picture picture;
  if (resource.empty()) return picture;
  const std::wstring name = Cp1252ToWide(resource);
  HRSRC found = FindResourceW(instance_, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return picture;
  HGLOBAL loaded = LoadResource(instance_, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(instance_, found);
  if (bytes == nullptr || size == 0) return picture;

  IStream* stream = StreamOnCopy(bytes, size);
  if (stream == nullptr) return picture;
  IPicture* decoded = nullptr;
  const HRESULT result = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&decoded));
  stream->Release();
  if (FAILED(result) || decoded == nullptr) return picture;
  OLE_HANDLE handle = 0;
  if (SUCCEEDED(decoded->get_Handle(&handle))) {
    // Our own copy, so the picture object can go.
    auto* source = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle));
    picture.bitmap = static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, 0));
  }
  decoded->Release();
  BITMAP info{};
  if (picture.bitmap != nullptr && GetObjectW(picture.bitmap, sizeof info, &info) != 0) {
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
  }
  return picture;
}

void DrawPicture(HDC target, const RECT& box, const Picture& picture, bool center,
                 bool proportional) {
  if (picture.bitmap == nullptr) return;
  const int box_width = box.right - box.left;
  const int box_height = box.bottom - box.top;
  const RECT place =
      PicturePlacement(picture.width, picture.height, box_width, box_height, center, proportional);
  HDC source = CreateCompatibleDC(target);
  HGDIOBJ previous = SelectObject(source, picture.bitmap);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  if (width == picture.width && height == picture.height) {
    // Natural size: the control's own DC crops whatever lies beyond the box.
    BitBlt(target, box.left + place.left, box.top + place.top, width, height, source, 0, 0,
           SRCCOPY);
  } else {
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, box.left + place.left, box.top + place.top, width, height, source, 0, 0,
               picture.width, picture.height, SRCCOPY);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace forms::win32
