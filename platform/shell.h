#pragma once

#include <string_view>

namespace hvr::platform {

// The user's desktop: opens a web address in the default browser and returns at once, whatever
// becomes of it.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void openUrl(std::string_view url) = 0;
};

} // namespace hvr::platform
