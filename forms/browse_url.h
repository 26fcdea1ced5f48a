#pragma once
// An action that opens a web or mailto: URL with the system's handler.

#include <string>

#include "forms/component.h"
#include "platform/system_services.h"

namespace forms {

class BrowseUrl : public Component {
 public:
  BrowseUrl(Form* owner, std::string name, platform::SystemServices& system)
      : Component(owner, std::move(name)), system_(system) {}

  const std::string& Url() const { return url_; }
  void SetUrl(const std::string& url) { url_ = url; }
  // Opens Url for target; whether the system managed to is not reported.
  void ExecuteTarget(Component* /*target*/) { system_.OpenUrl(url_); }

 private:
  platform::SystemServices& system_;
  std::string url_;
};

}  // namespace forms
