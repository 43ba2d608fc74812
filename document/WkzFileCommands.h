#pragma once
#include <string>

class CGridloomDoc;

// The document's File Open, Save and Save As: the file dialogs, reading and writing the
// file, and the messages when that fails. Success names the document after the file and
// clears its modified flag; failure leaves both alone.
class WkzFileCommands {
public:
    static constexpr const char* kOpenFilter = "Mazes (*.wkz)|*.wkz|All Files (*.*)|*.*||";
    static constexpr const char* kSaveFilter =
        "Orlimber V2 (*.wkz)|*.wkz|Orlimber V1 (*.wkz)|*.wkz||";

    static void Open(CGridloomDoc& doc);
    // Save and Save As alike: always asks for the file and its format.
    static void Save(CGridloomDoc& doc);

    // The parts after the dialog. Loading a file that cannot be read, or saving one that
    // cannot be written completely, leaves the message and changes nothing on disk or in the
    // document.
    static bool OpenFile(CGridloomDoc& doc, const std::string& path);
    // Loads a downloaded template as the maze: the document takes its contents but not its
    // (temporary) path, so it is untitled afterwards and the recent list does not hear of it.
    static bool OpenTemplate(CGridloomDoc& doc, const std::string& path);
    static bool SaveFile(CGridloomDoc& doc, const std::string& path);

private:
    static bool Load(CGridloomDoc& doc, const std::string& path);
};
