// Serial-port discovery: the port list follows the system's serial-port map,
// the maker's adapter is tagged and preferred, and a chosen entry gives the
// COM number that the link opens.
#include <cctype>

#include "forms/text.h"
#include "wizard/Tformmj.h"
#include "wizard/text_catalogue.h"

namespace {

// Device names of the maker's USB adapter's driver contain this.
constexpr const char* kAdapterDriverTag = "Silabser";
constexpr const char* kBrandSeparator = " : ";
constexpr const char* kBrandTag = "VORANEX";

}  // namespace

bool TFormMj::ScanSerialPorts() {
  bool changed = false;
  forms::StringList entries;
  PreferredPort.clear();

  const auto values = port_map_.Read();
  if (!values) return false;  // no map at all: keep the list as it is

  if (!values->empty()) {
    // Kept as PortList keeps them, so that a port name the map holds twice
    // counts once: counting the map's values instead could match a list that
    // still shows a port pulled out since.
    entries.SetSorted(true);
    // From last to first, so the adapter enumerated first ends up preferred.
    for (auto value = values->rbegin(); value != values->rend(); ++value) {
      std::string entry = value->data;
      if (value->name.find(kAdapterDriverTag) != std::string::npos) {
        entry += kBrandSeparator;
        entry += kBrandTag;
        PreferredPort = entry;
      }
      entries.Add(entry);
    }
    changed = entries.Count() != PortList->Count();
    for (const std::string& entry : entries.Strings())
      if (!changed && PortList->IndexOf(entry) < 0) changed = true;
  } else {
    const std::string no_port = NoSerialPort[Language];
    entries.Add(no_port);
    changed = PortList->Count() != 1 || PortList->IndexOf(no_port) < 0;
  }

  if (changed) PortList->Assign(entries);
  return changed;
}

void TFormMj::RefreshPortListBox() {
  std::string previous;
  const int selected = ListBoxSelectLangPort.ItemIndex();
  if (selected >= 0) previous = ListBoxSelectLangPort.Items()[selected];

  if (!ScanSerialPorts()) return;  // unchanged: leave the user's selection alone

  ListBoxSelectLangPort.AssignItems(*PortList);
  ListBoxSelectLangPort.SetItemIndex(PreferredPort.empty() ? -1 : PortList->IndexOf(PreferredPort));
  if (!previous.empty()) {
    const int kept = PortList->IndexOf(previous);
    if (kept >= 0) ListBoxSelectLangPort.SetItemIndex(kept);
  }
}

std::int32_t TFormMj::PortNumberOf(const std::string& entry) {
  const std::string text = forms::AnsiUpperCase(forms::Trim(entry));
  const std::size_t com = text.find("COM");
  if (com == std::string::npos) return -1;

  const std::size_t first = com + 3;
  std::size_t end = first;
  while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
  // No digit, or more than fit 32 bits: -2.
  return forms::StrToIntDef(text.substr(first, end - first), -2);
}
