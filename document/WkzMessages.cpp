#include "document/WkzMessages.h"

#include "platform/SaveRefusal.h"
#include "platform/TextFormat.h"

#include <cmath>

namespace WkzMessages {

namespace {
// Said of a failed load only while a maze is open (see WithoutOpenMaze).
constexpr const char* kUnchanged = "; the open maze is unchanged.";
constexpr const char* kStopped = "Loading has stopped";
} // namespace

std::string WithoutOpenMaze(const std::string& message) {
    const std::string tail = std::string(kStopped) + kUnchanged;
    if (message.size() < tail.size() ||
        message.compare(message.size() - tail.size(), tail.size(), tail) != 0)
        return message;
    return message.substr(0, message.size() - tail.size()) + kStopped + ".";
}

std::string SaveVersionTooNew(double version) {
    return Format("ERROR: Save WKZ File format {%s} is greater than the maximum version "
                  "supported by this program.  Please contact support: ",
                  VersionText(version).c_str()) +
           kContact;
}

std::string LoadVersionTooNew(double version) {
    return Format("ERROR: WKZ File format {%s} is greater than the maximum version supported "
                  "by this program.  Please contact support to upgrade: ",
                  VersionText(version).c_str()) +
           kContact;
}

std::string UpgradeRequired(double version) {
    return Format("ERROR: WKZ File format {%s} is greater than the maximum version supported "
                  "by this program.  Please contact support to upgrade. email: ",
                  VersionText(version).c_str()) +
           kContact;
}

std::string VersionText(double version) {
    // Three significant digits at most for anything that would print more than 3 before the
    // point (a hostile double runs to hundreds of digits).
    if (std::isfinite(version) && std::fabs(version) < 1000)
        return Format("%3.1f", version);
    return Format("%.3g", version);
}

std::string UnknownKind(int kind) {
    return Format("ERROR: This WKZ file holds a maze of kind %d, which this version of the "
                  "program does not know.  Loading has stopped%s",
                  kind, kUnchanged);
}

std::string CannotRead(const std::string& path, const std::string& reason) {
    return "ERROR: Could not read " + path + " (" + reason + ").  Loading has stopped" +
           std::string(kUnchanged);
}

std::string CannotWrite(const std::string& path, const std::string& reason) {
    return "ERROR: " + SaveRefusal::Text(path, reason) +
           "  Save has stopped; the file on disk is unchanged.";
}

std::string ReplaceReadOnly(const std::string& path) {
    return "'" + path + "' is read-only.\nDo you want to replace it?";
}

std::string NotAWkzFile() {
    return "ERROR: This file is not a maze document; Orlimber does not recognize it as a valid "
           "WKZ file.  Loading has stopped.";
}

std::string Damaged(const std::string& why) {
    return "ERROR: This WKZ file is damaged or incomplete (" + why + ").  Loading has stopped" +
           std::string(kUnchanged);
}

std::string CannotOpenForReading(const std::string& path, const std::string& reason) {
    return "ERROR: Could not open " + path + " for reading: " + reason + ".";
}

std::string CannotSaveInFormat() {
    return "ERROR: Could not save in that format.  Save has stopped.";
}

std::string NothingToSave() {
    return "ERROR: There is no maze to save yet.  Save has stopped.";
}

} // namespace WkzMessages
