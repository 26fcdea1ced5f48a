#pragma once
// The component model. A component belongs to a form and may carry a peer:
// the backend's native counterpart, told of every property change so that
// the toolkit's widget stays in step. Nothing here knows any toolkit.

#include <functional>
#include <memory>
#include <string>

#include "forms/types.h"

namespace forms {

class Form;
class Component;

// Event handlers receive the component that fired the event.
using NotifyEvent = std::function<void(Component* sender)>;

enum class Property {
  Bounds,
  Visible,
  Enabled,
  TabOrder,
  Caption,
  Font,
  Alignment,
  AutoSize,
  Cursor,
  Hint,
  Default,
  ReadOnly,
  Color,
  Items,
  ItemIndex,
  Sorted,
  ItemHeight,
  Style,
  MultiSelect,
  Range,
  Position,
  Step,
  Smooth,
  Picture,
  PictureLayout,
  Interval,
  ClientSize,
  BorderStyle,
  BorderIcons,
  FormPosition,
  Icon,
};

// A backend's counterpart of one component. Its destructor runs while the
// component is being destroyed, so it must not read the component then.
class ComponentPeer {
 public:
  virtual ~ComponentPeer() = default;
  virtual void Changed(Property property) = 0;
};

class Component {
 public:
  // owner is null only for a form itself; any other component registers
  // itself with its form, which lists it for the backend.
  Component(Form* owner, std::string name);
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& Name() const { return name_; }
  Form* Owner() const { return owner_; }

  void SetPeer(std::unique_ptr<ComponentPeer> peer) { peer_ = std::move(peer); }
  ComponentPeer* Peer() const { return peer_.get(); }

 protected:
  void Changed(Property property) {
    if (peer_) peer_->Changed(property);
  }

 private:
  Form* owner_;
  std::string name_;
  std::unique_ptr<ComponentPeer> peer_;
};

// A visible component with geometry in pixels of its form's client area.
class Control : public Component {
 public:
  using Component::Component;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Set(visible_, visible, Property::Visible); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { Set(enabled_, enabled, Property::Enabled); }

  int TabOrder() const { return tab_order_; }
  void SetTabOrder(int order) { Set(tab_order_, order, Property::TabOrder); }
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool stop) { Set(tab_stop_, stop, Property::TabOrder); }

  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font) { Set(font_, font, Property::Font); }
  void SetFontSize(int points);
  void SetFontStyle(FontStyles style);

  Color GetColor() const { return color_; }
  void SetColor(Color color) { Set(color_, color, Property::Color); }

 protected:
  // Stores value and tells the peer, whether or not it differs: a toolkit
  // re-reading an unchanged property costs nothing, and a missed one shows.
  template <class T>
  void Set(T& field, const T& value, Property property) {
    field = value;
    Changed(property);
  }

 private:
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  int tab_order_ = -1;
  bool tab_stop_ = false;
  FontSpec font_;
  Color color_ = Color::Default;
};

}  // namespace forms
