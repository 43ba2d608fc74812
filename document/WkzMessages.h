#pragma once
#include <string>

// The texts the user sees when a document file cannot be saved or loaded.
namespace WkzMessages {
inline constexpr const char* kContact = "support@orlimber.example";

std::string SaveVersionTooNew(double version);
std::string LoadVersionTooNew(double version);
std::string UpgradeRequired(double version);
// Bytes that are no document of this program at all.
std::string NotAWkzFile();
std::string UnknownKind(int kind);
// A file that could not be read at all (a folder, a device, too large, a read error).
std::string CannotRead(const std::string& path, const std::string& reason);
// A save that was refused or failed, with its reason in SaveRefusal's words.
std::string CannotWrite(const std::string& path, const std::string& reason);
std::string ReplaceReadOnly(const std::string& path);
// A version number as the version messages show it: one decimal, and no runaway digits for
// a number no program ever wrote.
std::string VersionText(double version);
std::string Damaged(const std::string& why);
// The system's reason (no such file, permission denied) says what stopped the open.
std::string CannotOpenForReading(const std::string& path, const std::string& reason);
std::string CannotSaveInFormat();
// A load message for a document that has no maze yet: "the open maze is unchanged" would
// speak of a maze that is not there.
std::string WithoutOpenMaze(const std::string& message);
std::string NothingToSave();
} // namespace WkzMessages
