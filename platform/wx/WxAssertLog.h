#pragma once

// The toolkit's failed assertions go to stderr, one line each beginning with kMarker, and the
// program carries on: a box with Stop in it would end the program without asking about the
// user's work. Window tests look for the marker.
namespace WxAssertLog {

inline constexpr const char* kMarker = "wxWidgets assertion failed";

// Replaces the toolkit's assertion dialog; call before the toolkit starts.
void Install();

} // namespace WxAssertLog
