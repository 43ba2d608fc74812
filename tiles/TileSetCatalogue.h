#pragma once
#include <string>
#include <vector>

class CBMPTiler;

// The tile sets the program knows: the six built-in ones and the ".tle" files of the user's
// Tiler/ folder (where downloads go) and of the install folder's, and the loading of a set by
// a stored tiler id. A file name in both folders lists the user's first, so it wins a look-up. The
// view, the style page and the information pane share one catalogue, so the folder is scanned once
// until a download makes the list stale.
class TileSetCatalogue {
public:
    struct BuiltIn {
        const char* name;
        int pictureId;
        int textId;
    };
    static constexpr int kBuiltInCount = 6;
    static const BuiltIn kBuiltIns[kBuiltInCount];
    static constexpr int kDefaultPicture = 180;

    struct Entry {
        std::string path;
        std::string name;
        std::string id;
        std::string fileName;
        std::string folder; // the Tiler/ folder that holds it
    };

    // The folder holding Tiler/ (ends with a slash); marks the list stale.
    void SetInstallFolder(const std::string& folder);
    std::string TilerFolder() const { return installFolder_ + "Tiler/"; }
    // $XDG_DATA_HOME/orlimber/Tiler/ (default ~/.local/share/...): the program writes here.
    const std::string& UserTilerFolder() const { return userFolder_; }
    void SetUserTilerFolder(const std::string& folder);
    static std::string DefaultUserTilerFolder();
    void MarkStale() { stale_ = true; }

    // The scanned files, sorted by file name, scanning first when stale. `scratch` is the
    // tiler each file is read into (the catalogue's own when none is given).
    const std::vector<Entry>& Entries(CBMPTiler* scratch = nullptr);
    void Scan(CBMPTiler* scratch = nullptr);

    static std::string BuiltInId(int pictureId);
    // Loads built-in row `index` (0..5).
    static bool LoadBuiltIn(CBMPTiler& tiler, int index);
    // Loads scanned entry `index`.
    bool LoadEntry(CBMPTiler& tiler, std::size_t index);
    // Loads the set a stored id names. An unknown built-in number loads the default set and
    // leaves its message in `message`; an unknown file id leaves the tiler as it was.
    // True when `tiler` holds a set afterwards because of this call.
    bool Load(CBMPTiler& tiler, const std::string& id, std::string& message);

    // Loads list entry `index` (the built-ins, then the scanned files), falling back to the
    // first file called `name` when the entry is gone or renamed; `id` gets its tiler id.
    bool LoadSelection(CBMPTiler& tiler, int index, const std::string& name, std::string& id);

    static std::string UnknownBuiltInMessage(int number);

private:
    void ScanFolder(const std::string& folder, CBMPTiler& tiler);

    std::string installFolder_ = "./";
    std::string userFolder_ = DefaultUserTilerFolder();
    bool stale_ = true;
    std::vector<Entry> entries_;
};
