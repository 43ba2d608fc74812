#include "document/WkzMessages.h"

#include "platform/TextFormat.h"

namespace WkzMessages {

std::string SaveVersionTooNew(double version) {
    return Format("ERROR: Save WKZ File format {%3.1f} is greater than the maximum version "
                  "supported by this program.  Please contact support: ",
                  version) +
           kContact;
}

std::string LoadVersionTooNew(double version) {
    return Format("ERROR: WKZ File format {%3.1f} is greater than the maximum version supported "
                  "by this program.  Please contact support to upgrade: ",
                  version) +
           kContact;
}

std::string UpgradeRequired(double version) {
    return Format("ERROR: WKZ File format {%3.1f} is greater than the maximum version supported "
                  "by this program.  Please contact support to upgrade. email: ",
                  version) +
           kContact;
}

std::string NotAWkzFile() {
    return "ERROR: Orlimber does not recognize this file as a valid WKZ file.  Loading has "
           "stopped.";
}

std::string Damaged(const std::string& why) {
    return "ERROR: This WKZ file is damaged or incomplete (" + why +
           ").  Loading has stopped; the open maze is unchanged.";
}

std::string CannotOpenForReading(const std::string& path) {
    return "ERROR: Could not open " + path + " for reading, please check you have rights to do so.";
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
