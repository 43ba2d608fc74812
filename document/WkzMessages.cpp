#include "document/WkzMessages.h"

#include "platform/TextFormat.h"

#include <cmath>

namespace WkzMessages {

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
                  "program does not know.  Loading has stopped; the open maze is unchanged.",
                  kind);
}

std::string CannotRead(const std::string& path, const std::string& reason) {
    return "ERROR: Could not read " + path + " (" + reason +
           ").  Loading has stopped; the open maze is unchanged.";
}

std::string CannotWrite(const std::string& path, const std::string& reason) {
    return "ERROR: Could not save '" + path + "': " + reason +
           ".  Save has stopped; the file on disk is unchanged.";
}

std::string ReplaceReadOnly(const std::string& path) {
    return "'" + path + "' is read-only.\nDo you want to replace it?";
}

std::string NotAWkzFile() {
    return "ERROR: Orlimber does not recognize this file as a valid WKZ file.  Loading has "
           "stopped.";
}

std::string Damaged(const std::string& why) {
    return "ERROR: This WKZ file is damaged or incomplete (" + why +
           ").  Loading has stopped; the open maze is unchanged.";
}

std::string CannotOpenForReading(const std::string& path, const std::string& reason) {
    return "ERROR: Could not open " + path + " for reading: " + reason + ".";
}

std::string CannotOpenForWriting(const std::string& path) {
    return "ERROR: Could not open '" + path +
           "' for writing, please check you have rights to do so.";
}

std::string CannotSaveInFormat() {
    return "ERROR: Could not save in that format.  Save has stopped.";
}

std::string NothingToSave() {
    return "ERROR: There is no maze to save yet.  Save has stopped.";
}

} // namespace WkzMessages
