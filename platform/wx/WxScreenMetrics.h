#pragma once

// Records the size and depth of the display the program shows on (see ScreenMetrics).
void WxRecordScreenMetrics();
