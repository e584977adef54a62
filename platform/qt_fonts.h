#pragma once

namespace hvr::platform {

// Maps the Chinese family names the windows ask for ("宋体", "新宋体", "黑体") onto CJK fonts
// installed here, so that no text is drawn as empty boxes. The Song faces go to a face whose
// Latin letters and digits are all one width, since row texts line up their columns with
// blanks.
void installChineseFontSubstitutes();

} // namespace hvr::platform
