#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hvr::platform {

// UTF-8 text in the Chinese code page (GBK, code page 936); none when a character has no
// GBK form or the text is not valid UTF-8.
std::optional<std::string> toGbk(std::string_view utf8);

// The other way, for reading such files back.
std::optional<std::string> fromGbk(std::string_view gbk);

} // namespace hvr::platform
