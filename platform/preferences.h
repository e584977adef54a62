#pragma once

#include <string>

namespace hvr::platform {

// Values a window keeps between runs, by key.
class Preferences {
  public:
    virtual ~Preferences() = default;
    virtual std::string value(const std::string& key) const = 0;
    virtual void setValue(const std::string& key, const std::string& value) = 0;
};

} // namespace hvr::platform
