#include "tiles/TileSetCatalogue.h"

#include "platform/TextFormat.h"
#include "tiles/CBMPTiler.h"
#include "tiles/TleNumbers.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kIdPrefix = ":ID:#";

bool HasTleExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".tle";
}

} // namespace

const TileSetCatalogue::BuiltIn TileSetCatalogue::kBuiltIns[kBuiltInCount] = {
    {"Std Black Line 200x200", 180, 192}, {"Thin Red Brick 200x200", 181, 192},
    {"Full Red Brick 200x200", 189, 192}, {"Red Brick with boarder 200x200", 187, 192},
    {"Brick Walk 200x200", 188, 192},     {"Brick Walk 50x50", 206, 190}};

void TileSetCatalogue::SetInstallFolder(const std::string& folder) {
    installFolder_ = folder.empty() ? "./" : folder;
    if (installFolder_.back() != '/')
        installFolder_ += '/';
    stale_ = true;
}

const std::vector<TileSetCatalogue::Entry>& TileSetCatalogue::Entries(CBMPTiler* scratch) {
    if (stale_)
        Scan(scratch);
    return entries_;
}

std::string TileSetCatalogue::DefaultUserTilerFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string base = data && *data ? data : std::string(home ? home : ".") + "/.local/share";
    if (base.back() != '/')
        base += '/';
    return base + "orlimber/Tiler/";
}

void TileSetCatalogue::SetUserTilerFolder(const std::string& folder) {
    userFolder_ = folder;
    if (userFolder_.empty() || userFolder_.back() != '/')
        userFolder_ += '/';
    stale_ = true;
}

void TileSetCatalogue::Scan(CBMPTiler* scratch) {
    entries_.clear();
    stale_ = false;
    CBMPTiler own;
    CBMPTiler& tiler = scratch ? *scratch : own;
    ScanFolder(userFolder_, tiler);
    if (TilerFolder() != userFolder_)
        ScanFolder(TilerFolder(), tiler);
    // Names give the list a stable order; the user's file comes first on a clash.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.fileName < b.fileName; });
}

void TileSetCatalogue::ScanFolder(const std::string& folder, CBMPTiler& tiler) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (HasTleExtension(it->path()) && it->is_regular_file(error))
            files.push_back(it->path());
    // Listing reads the text alone: no sheet is decoded until a set is shown.
    for (const fs::path& file : files) {
        if (!tiler.LoadFromFile(file.string(), folder, CBMPTiler::Pictures::Skip))
            continue;
        Entry e;
        e.fileName = file.filename().string();
        e.path = folder + e.fileName;
        e.folder = folder;
        e.name = tiler.name;
        e.id = tiler.uniqueId.empty() ? tiler.name + " Filename: " + e.fileName : tiler.uniqueId;
        entries_.push_back(std::move(e));
    }
}

std::string TileSetCatalogue::BuiltInId(int pictureId) {
    return Format(":ID:#%d", pictureId);
}

bool TileSetCatalogue::LoadBuiltIn(CBMPTiler& tiler, int index) {
    if (index < 0 || index >= kBuiltInCount)
        return false;
    tiler.Parse("", kBuiltIns[index].textId, kBuiltIns[index].pictureId);
    return true;
}

bool TileSetCatalogue::LoadEntry(CBMPTiler& tiler, std::size_t index) {
    const auto& entries = Entries();
    if (index >= entries.size())
        return false;
    return tiler.LoadFromFile(entries[index].path, entries[index].folder);
}

bool TileSetCatalogue::Load(CBMPTiler& tiler, const std::string& id, std::string& message) {
    if (id.rfind(kIdPrefix, 0) == 0) {
        const int number = TleNumbers::Int(std::string_view(id).substr(kIdPrefix.size()));
        for (int i = 0; i < kBuiltInCount; ++i)
            if (kBuiltIns[i].pictureId == number)
                return LoadBuiltIn(tiler, i);
        message = UnknownBuiltInMessage(number);
        return LoadBuiltIn(tiler, 0);
    }
    const auto& entries = Entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].id == id)
            return LoadEntry(tiler, i);
    return false;
}

bool TileSetCatalogue::LoadSelection(CBMPTiler& tiler, int index, const std::string& name,
                                     std::string& id) {
    if (index >= 0 && index < kBuiltInCount) {
        id = BuiltInId(kBuiltIns[index].pictureId);
        return LoadBuiltIn(tiler, index);
    }
    const auto& entries = Entries();
    std::size_t chosen = entries.size();
    if (index >= kBuiltInCount && std::size_t(index - kBuiltInCount) < entries.size() &&
        (name.empty() || entries[std::size_t(index - kBuiltInCount)].name == name))
        chosen = std::size_t(index - kBuiltInCount);
    for (std::size_t i = 0; chosen == entries.size() && i < entries.size(); ++i)
        if (entries[i].name == name)
            chosen = i;
    if (chosen == entries.size())
        return false;
    id = entries[chosen].id;
    return LoadEntry(tiler, chosen);
}

std::string TileSetCatalogue::UnknownBuiltInMessage(int number) {
    return Format("ERROR, Orlimber Internal Maze Tiler with ID=%d could not be located in this "
                  "version of the program.  The default Tiler is being loaded.  You may need to "
                  "upgrade to a newer/different version of Orlimber.",
                  number);
}
