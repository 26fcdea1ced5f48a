#pragma once
// A top-level window holding components. A form belongs to the application
// object, reaches the backend through it, and takes the messages posted to
// its window through the virtual Dispatch.

#include <cstdint>
#include <string>
#include <vector>

#include "forms/component.h"

namespace forms {

class Application;

// A window message as posted to a form: its number and parameters.
struct Message {
  unsigned Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

// The platform's numbering of modal results.
enum class ModalResult { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

enum class BorderStyle { Sizeable, Single, Dialog };
enum class FormPosition { Designed, ScreenCenter, OwnerFormCenter };

struct BorderIcons {
  bool system_menu = true;
  bool minimize = true;
  bool maximize = true;
  bool operator==(const BorderIcons&) const = default;
};

class Form : public Component {
 public:
  Form(Application& application, std::string name);

  Application& App() const { return application_; }
  // The components registered by the derived form, in construction order.
  const std::vector<Component*>& Components() const { return components_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { Set(caption_, caption, Property::Caption); }
  int ClientWidth() const { return client_width_; }
  int ClientHeight() const { return client_height_; }
  void SetClientSize(int width, int height);
  // Outer width of the window, frame included, as the backend makes it.
  int Width() const;
  // Width in pixels of text drawn in font, as the backend measures it.
  int TextWidth(const std::string& text, const FontSpec& font) const;

  forms::BorderStyle GetBorderStyle() const { return border_style_; }
  void SetBorderStyle(forms::BorderStyle style) {
    Set(border_style_, style, Property::BorderStyle);
  }
  forms::BorderIcons GetBorderIcons() const { return border_icons_; }
  void SetBorderIcons(forms::BorderIcons icons) {
    Set(border_icons_, icons, Property::BorderIcons);
  }
  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition position) { Set(position_, position, Property::FormPosition); }
  // Name of the icon resource; empty for the application's.
  const std::string& Icon() const { return icon_; }
  void SetIcon(const std::string& resource) { Set(icon_, resource, Property::Icon); }
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font) { Set(font_, font, Property::Font); }
  Color GetColor() const { return color_; }
  void SetColor(Color color) { Set(color_, color, Property::Color); }

  bool Visible() const { return visible_; }
  void Show() { Set(visible_, true, Property::Visible); }
  void Hide() { Set(visible_, false, Property::Visible); }
  bool Modal() const { return modal_; }
  // Shows the form and runs a nested loop until it is closed; returns how.
  forms::ModalResult ShowModal();
  forms::ModalResult GetModalResult() const { return modal_result_; }
  // Setting a result other than None on a modal form ends its modal display.
  void SetModalResult(forms::ModalResult result) { modal_result_ = result; }
  // A modal form ends its display with Cancel; any other hides, and closing
  // the main form ends the application's loop.
  void Close();

  NotifyEvent OnDestroy;

  // Handles one message posted to this window. The default handles none.
  virtual void Dispatch(Message& message);

 private:
  friend class Component;

  template <class T>
  void Set(T& field, const T& value, Property property) {
    field = value;
    Changed(property);
  }

  Application& application_;
  std::vector<Component*> components_;
  std::string caption_;
  int client_width_ = 0;
  int client_height_ = 0;
  forms::BorderStyle border_style_ = forms::BorderStyle::Sizeable;
  forms::BorderIcons border_icons_;
  FormPosition position_ = FormPosition::Designed;
  std::string icon_;
  FontSpec font_;
  Color color_ = Color::ButtonFace;
  bool visible_ = false;
  bool modal_ = false;
  forms::ModalResult modal_result_ = forms::ModalResult::None;
};

}  // namespace forms
