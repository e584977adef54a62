// The download of stored groups is not built yet: its replies are routed here, counted as a
// sign of life by the dispatcher, and otherwise left alone.
#include "main_window/form1.h"

namespace hvr {

void Form1::DownloadCountReply() {}

void Form1::DownloadGroupFrame() {}

} // namespace hvr
