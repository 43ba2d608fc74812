#pragma once
#include "platform/wx/WxAssertLog.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <wx/debug.h>
#include <wx/string.h>

#include <atomic>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

// A warning or critical from the toolkit or its libraries, or a failed toolkit assertion, is a
// fault of the program: each one fails the test that was running, and one outside any test
// fails the run.
namespace toolkit_warnings {

inline std::atomic<int>& OutsideTests() {
    static std::atomic<int> count{0};
    return count;
}

inline std::string Field(const GLogField* fields, gsize count, const char* key) {
    for (gsize i = 0; i < count; ++i)
        if (std::string(fields[i].key) == key && fields[i].value)
            return fields[i].length < 0 ? std::string(static_cast<const char*>(fields[i].value))
                                        : std::string(static_cast<const char*>(fields[i].value),
                                                      static_cast<size_t>(fields[i].length));
    return {};
}

inline GLogWriterOutput Write(GLogLevelFlags level, const GLogField* fields, gsize count,
                              gpointer data) {
    constexpr int kFaults = G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING;
    if ((level & kFaults) != 0) {
        const std::string text =
            Field(fields, count, "GLIB_DOMAIN") + ": " + Field(fields, count, "MESSAGE");
        if (::testing::UnitTest::GetInstance()->current_test_info())
            ADD_FAILURE() << "toolkit warning: " << text;
        else
            ++OutsideTests();
    }
    return g_log_writer_default(level, fields, count, data);
}

inline void Assertion(const wxString& file, int line, const wxString& function,
                      const wxString& condition, const wxString& message) {
    const std::string text = std::string(WxAssertLog::kMarker) + " at " + file.utf8_string() + ":" +
                             std::to_string(line) + " in " + function.utf8_string() +
                             "(): " + condition.utf8_string() + ": " + message.utf8_string();
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << text;
    else {
        std::fprintf(stderr, "%s\n", text.c_str());
        ++OutsideTests();
    }
}

// Call first in main, before the toolkit starts. An assertion never opens the toolkit's box,
// which would wait for a click until the run times out.
inline void FailTestsOnThem() {
    g_log_set_writer_func(&Write, nullptr, nullptr);
    wxSetAssertHandler(&Assertion);
}

// The toolkit warnings and assertions another process wrote to `stderrText`.
inline std::vector<std::string> In(const std::string& stderrText) {
    // GLib's own layout: "(name:pid): Domain-LEVEL **: ...", or "LEVEL **" without a domain;
    // pixman says "Invalid rectangle passed" of a drawing with a negative size.
    static const std::regex warning(R"((^|[-: ])(CRITICAL|WARNING|ERROR) \*\*)");
    std::vector<std::string> found;
    std::istringstream lines(stderrText);
    for (std::string line; std::getline(lines, line);)
        if (std::regex_search(line, warning) || line.find(WxAssertLog::kMarker) != line.npos ||
            line.find("Invalid rectangle") != line.npos)
            found.push_back(line);
    return found;
}

} // namespace toolkit_warnings
