#include "forms/terminal/screen.h"

#include <algorithm>
#include <cstdint>

#include "forms/cp1252.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/text.h"

namespace forms {
namespace {

constexpr const char* kBold = "\x1b[1m";
constexpr const char* kItalic = "\x1b[3m";
constexpr const char* kNormal = "\x1b[0m";
constexpr int kBarWidth = 40;

char Upper(char c) {
  return AnsiUpperCase(std::string(1, c))[0];
}

bool IsKeyChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || byte >= 0xC0;
}

// The caption without its '&' marks ("&&" stands for '&'), and the position
// in it of the mnemonic letter, if any.
std::pair<std::string, std::optional<std::size_t>> StripMnemonic(const std::string& caption) {
  std::string plain;
  std::optional<std::size_t> mnemonic;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && !mnemonic) mnemonic = plain.size();
    }
    plain += caption[i];
  }
  return {plain, mnemonic};
}

std::string BracketKey(const std::string& caption, char key) {
  const std::string plain = StripMnemonic(caption).first;
  if (key != 0) {
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (Upper(plain[i]) == key) {
        return Cp1252ToUtf8(plain.substr(0, i)) + "[" + Cp1252ToUtf8(plain.substr(i, 1)) + "]" +
               Cp1252ToUtf8(plain.substr(i + 1));
      }
    }
  }
  return Cp1252ToUtf8(plain);
}

std::string Styled(const std::string& text, const FontSpec& font, bool styled) {
  if (!styled || (!font.style.bold && !font.style.italic)) return text;
  return std::string(font.style.bold ? kBold : "") + (font.style.italic ? kItalic : "") + text +
         kNormal;
}

std::string Aligned(const std::string& text, Alignment alignment, int width) {
  const auto shown = static_cast<int>(DisplayWidth(text));
  if (shown >= width || alignment == Alignment::LeftJustify) return text;
  const int pad = alignment == Alignment::Center ? (width - shown) / 2 : width - shown;
  return std::string(static_cast<std::size_t>(pad), ' ') + text;
}

// A message box's text: its lines, without carriage returns.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') {
      lines.emplace_back();
    } else if (c != '\r') {
      lines.back() += c;
    }
  }
  while (lines.size() > 1 && Trim(lines.back()).empty()) lines.pop_back();
  return lines;
}

bool OnWindow(const Control& control, const Form& form) {
  return form.ClientWidth() == 0 ||
         (control.Left() < form.ClientWidth() && control.Top() < form.ClientHeight());
}

void AddButtons(Screen& screen, std::vector<OfferedButton> buttons) {
  std::vector<std::string> captions;
  for (const OfferedButton& offered : buttons) captions.push_back(offered.caption);
  const std::vector<char> keys = AssignKeys(captions);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i].key = keys[i];
    buttons[i].label = BracketKey(buttons[i].caption, keys[i]);
    buttons[i].caption = StripMnemonic(buttons[i].caption).first;
  }
  screen.buttons = std::move(buttons);
}

}  // namespace

std::string PlainCaption(const std::string& caption) {
  return StripMnemonic(caption).first;
}

std::size_t DisplayWidth(const std::string& utf8) {
  bool in_escape = false;
  std::size_t width = 0;
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (in_escape) {
      in_escape = !(byte >= 0x40 && byte <= 0x7E && c != '[');
    } else if (byte == 0x1B) {
      in_escape = true;
    } else if ((byte & 0xC0) != 0x80) {
      ++width;
    }
  }
  return width;
}

std::vector<char> AssignKeys(const std::vector<std::string>& captions) {
  std::vector<char> keys;
  const auto taken = [&keys](char key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
  };
  for (const std::string& caption : captions) {
    const auto [plain, mnemonic] = StripMnemonic(caption);
    char key = 0;
    // From the mnemonic on, then from the start.
    const std::size_t first = mnemonic.value_or(0);
    for (std::size_t n = 0; n < plain.size() && key == 0; ++n) {
      const char c = plain[(first + n) % plain.size()];
      if (IsKeyChar(c) && !taken(Upper(c))) key = Upper(c);
    }
    keys.push_back(key);
  }
  return keys;
}

std::string Screen::Text() const {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  std::string row;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (!row.empty()) row += "  ";
    row += static_cast<int>(i) == enter ? "<" + buttons[i].label + ">" : buttons[i].label;
  }
  if (!row.empty()) text += row + "\n";
  return text;
}

Screen ComposeForm(Form& form, int width, bool styled) {
  Screen screen;
  const std::string rule(4, '=');
  screen.lines.push_back(rule + " " + Cp1252ToUtf8(form.Caption()) + " " + rule);

  std::vector<Control*> controls;
  for (Component* component : form.Components()) {
    auto* control = dynamic_cast<Control*>(component);
    if (control != nullptr && control->Visible() && OnWindow(*control, form)) {
      controls.push_back(control);
    }
  }
  // By the middle of each, so that a list beside a line comes after it.
  const auto middle = [](const Control* control) { return 2 * control->Top() + control->Height(); };
  std::stable_sort(controls.begin(), controls.end(), [&middle](const Control* a, const Control* b) {
    return middle(a) != middle(b) ? middle(a) < middle(b) : a->Left() < b->Left();
  });

  std::vector<OfferedButton> buttons;
  Button* rightmost = nullptr;
  Button* default_button = nullptr;
  for (Control* control : controls) {
    if (auto* label = dynamic_cast<Label*>(control)) {
      if (label->Caption().empty()) continue;
      screen.lines.push_back(Aligned(Styled(Cp1252ToUtf8(label->Caption()), label->Font(), styled),
                                     label->GetAlignment(), width));
    } else if (auto* edit = dynamic_cast<Edit*>(control)) {
      if (!edit->Text().empty()) {
        screen.lines.push_back(Styled(Cp1252ToUtf8(edit->Text()), edit->Font(), styled));
      }
    } else if (auto* list = dynamic_cast<ListBox*>(control)) {
      if (screen.list == nullptr && list->Enabled()) screen.list = list;
      const StringList& items = list->Items();
      if (items.Count() == 0) screen.lines.push_back("   --");
      for (int i = 0; i < items.Count(); ++i) {
        screen.lines.push_back(std::string(i == list->ItemIndex() ? " * " : "   ") +
                               std::to_string(i + 1) + ") " + Cp1252ToUtf8(items[i]));
      }
    } else if (auto* button = dynamic_cast<Button*>(control)) {
      if (rightmost == nullptr || button->Left() >= rightmost->Left()) rightmost = button;
      if (!button->Enabled()) continue;
      if (button->Default() && default_button == nullptr) default_button = button;
      OfferedButton offered;
      offered.button = button;
      offered.caption = button->Caption();
      buttons.push_back(offered);
    }
  }
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](const OfferedButton& a, const OfferedButton& b) {
                     return a.button->Left() < b.button->Left();
                   });
  AddButtons(screen, std::move(buttons));
  // Enter: the default button, else the one furthest right (the way
  // forward) when it can be pressed.
  Button* enter = default_button != nullptr ? default_button : rightmost;
  for (std::size_t i = 0; i < screen.buttons.size(); ++i) {
    if (screen.buttons[i].button == enter) screen.enter = static_cast<int>(i);
  }
  return screen;
}

Screen ComposeDialog(const DialogRequest& request) {
  Screen screen;
  screen.lines.push_back("[" + Cp1252ToUtf8(request.caption) + "]");
  for (const std::string& line : SplitLines(request.text)) {
    screen.lines.push_back(Cp1252ToUtf8(line));
  }
  std::vector<OfferedButton> buttons;
  for (const auto& [caption, result] : request.button_labels) {
    OfferedButton offered;
    offered.result = result;
    offered.caption = caption;
    buttons.push_back(offered);
  }
  AddButtons(screen, std::move(buttons));
  if (!screen.buttons.empty()) screen.enter = 0;
  return screen;
}

std::string ProgressLine(const ProgressBar& bar, std::optional<std::uint32_t> left_ms) {
  const int span = bar.Max() - bar.Min();
  const int done = span > 0 ? bar.Position() - bar.Min() : 0;
  const int filled = span > 0 ? done * kBarWidth / span : 0;
  const int percent = span > 0 ? done * 100 / span : 0;
  std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] " +
                     (percent < 100 ? (percent < 10 ? "  " : " ") : "") + std::to_string(percent) +
                     " %";
  if (left_ms) {
    const std::uint32_t seconds = (*left_ms + 999) / 1000;
    const std::uint32_t rest = seconds % 60;
    line += "  " + std::to_string(seconds / 60) + ":" + (rest < 10 ? "0" : "") +
            std::to_string(rest) + " left";
  }
  return line;
}

}  // namespace forms
