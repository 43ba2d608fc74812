#include "tests/support/TempFolder.h"
#include "tiles/CBMPTiler.h"
#include "tiles/TileSetCatalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

// A tile set called `name` with a 2 x 2 red sheet, written into `folder`.
void WriteSet(const std::filesystem::path& folder, const std::string& file,
              const std::string& name) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / file, std::ios::binary)
        << "NAME:" << name << "\r\nUNIQUEID:" << file << "\r\nBMPFILE: sheet.gif\r\n"
        << "PIXELSWIDE: 2\r\nPIXELSHIGH: 2\r\nTILE: 0,1,1\r\n";
    ASSERT_EQ(std::system(("convert -size 2x2 xc:red " + (folder / "sheet.gif").string()).c_str()),
              0);
}

} // namespace

TEST(TileSetFolders, TheUsersSetsAreListedWithTheInstalledAndWinANameClash) {
    const TempFolder install("tiles-install");
    const TempFolder user("tiles-user");
    WriteSet(install.Path() / "Tiler", "a.tle", "Installed A");
    WriteSet(install.Path() / "Tiler", "c.tle", "Installed C");
    WriteSet(user.Path(), "a.tle", "Mine A");
    WriteSet(user.Path(), "b.tle", "Mine B");

    TileSetCatalogue catalogue;
    catalogue.SetInstallFolder(install.Path().string());
    catalogue.SetUserTilerFolder(user.Path().string());
    std::vector<std::string> names;
    for (const auto& entry : catalogue.Entries())
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Mine A", "Installed A", "Mine B", "Installed C"}));

    // The stored id of the clashing file loads the user's set, its sheet from the user's folder.
    CBMPTiler tiler;
    std::string message;
    ASSERT_TRUE(catalogue.Load(tiler, "a.tle", message));
    EXPECT_EQ(tiler.name, "Mine A");
    ASSERT_TRUE(catalogue.LoadEntry(tiler, 3));
    EXPECT_EQ(tiler.name, "Installed C");
    EXPECT_EQ(tiler.Sheet().GetWidth(), 2u);
}
