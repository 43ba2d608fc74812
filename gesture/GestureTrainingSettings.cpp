#include "gesture/GestureTrainingSettings.h"

#include "platform/CProfile.h"
#include "platform/TextFormat.h"

#include <cmath>
#include <string>

namespace {

const char kSection[] = "MouseGestures";

// Numbers are stored as text; they are read the same whatever the user's locale.
double ReadNumber(const CProfile& profile, const char* key, double def) {
    const std::string text = profile.GetProfileString(kSection, key, "");
    double value = def;
    if (!ParseDouble(text, value) || !std::isfinite(value))
        return def;
    return value;
}

} // namespace

GestureTrainingSettings GestureTrainingSettings::Read(const CProfile& profile) {
    GestureTrainingSettings s;
    const int cycles = profile.GetProfileInt(kSection, "m_cycles", static_cast<int>(s.cycles));
    // A negative count would otherwise read as some four billion cycles.
    if (cycles >= 1)
        s.cycles = static_cast<std::uint32_t>(cycles);
    s.highRate = ReadNumber(profile, "m_hi_rate", s.highRate);
    s.lowRate = ReadNumber(profile, "m_lo_rate", s.lowRate);
    s.momentum = ReadNumber(profile, "m_momentum", s.momentum);
    s.errorBound = ReadNumber(profile, "m_error", s.errorBound);
    return s;
}
