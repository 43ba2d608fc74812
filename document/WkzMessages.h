#pragma once
#include <string>

// The texts the user sees when a document file cannot be saved or loaded.
namespace WkzMessages {
inline constexpr const char* kContact = "support@orlimber.example";

std::string SaveVersionTooNew(double version);
std::string LoadVersionTooNew(double version);
std::string UpgradeRequired(double version);
std::string NotAWkzFile();
std::string Damaged(const std::string& why);
std::string CannotOpenForReading(const std::string& path);
std::string CannotOpenForWriting(const std::string& path);
std::string CannotSaveInFormat();
std::string NothingToSave();
} // namespace WkzMessages
