#include "tests/view/ViewTestSupport.h"

#include "document/WkzFileCommands.h"
#include "maze/TemplateKind.h"
#include "platform/SaveRefusal.h"
#include "view/MetafileExport.h"
#include "view/PictureExport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace fs = std::filesystem;

namespace {

// The places a save must not replace, each made under a given name.
struct Place {
    std::string what;
    std::function<void(const fs::path&)> make;
    // The reason every save path gives, for a save aimed at `name`.
    std::function<std::string(const fs::path& name)> reason;
    std::function<bool(const fs::path&)> intact;
};

std::vector<Place> Places() {
    return {
        {"a FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         [](const fs::path&) { return std::string("it is a FIFO, not a regular file"); },
         [](const fs::path& p) { return fs::is_fifo(p); }},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); },
         [](const fs::path&) { return std::string("it is a folder"); },
         [](const fs::path& p) { return fs::is_directory(p) && fs::is_empty(p); }},
        {"a device", [](const fs::path& p) { fs::create_symlink("/dev/null", p); },
         [](const fs::path&) { return std::string("it is a device, not a regular file"); },
         [](const fs::path&) { return fs::is_character_file("/dev/null"); }},
        {"a loop of links",
         [](const fs::path& p) {
             fs::create_symlink(p.filename().string() + ".other", p);
             fs::create_symlink(p.filename(), p.string() + ".other");
         },
         [](const fs::path&) { return SaveRefusal::LinkLoop(); },
         [](const fs::path& p) { return fs::is_symlink(fs::symlink_status(p)); }},
        {"a missing folder", [](const fs::path&) {},
         [](const fs::path& p) {
             return "the folder '" + p.parent_path().string() + "' does not exist";
         },
         [](const fs::path& p) { return !fs::exists(p.parent_path()); }},
    };
}

class SaveRefusalTest : public ViewTest {};

} // namespace

// A save refused by where it was aimed reads the same from every save path: the maze document,
// the exported pictures and the metafile each name the file and the reason, and leave the
// place as it was.
TEST_F(SaveRefusalTest, EverySavePathNamesTheReasonInTheSameWords) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    doc.OnGenerateMaze();
    int n = 0;
    for (const Place& place : Places()) {
        const fs::path base = place.what == "a missing folder" ? dir_ / "missing" : dir_;
        std::string stem = "p";
        stem += std::to_string(n++);
        // What each path is asked to write, the file it then writes, and the message.
        struct Save {
            std::string asked;
            fs::path written;
            std::function<std::string(const std::string&)> run;
        };
        const Save saves[] = {
            {(base / (stem + ".wkz")).string(), base / (stem + ".wkz"),
             [&doc](const std::string& path) {
                 doc.pendingMessage.clear();
                 EXPECT_FALSE(WkzFileCommands::SaveFile(doc, path));
                 return doc.pendingMessage;
             }},
            {(base / (stem + ".gif")).string(), base / (stem + "_000.gif"),
             [&view](const std::string& path) {
                 return PictureExport::Write(view, path, 2, 64, 48);
             }},
            {(base / (stem + ".emf")).string(), base / (stem + ".emf"),
             [&view](const std::string& path) { return MetafileExport::Write(view, path); }},
        };
        for (const Save& save : saves) {
            place.make(save.written);
            const std::string message = save.run(save.asked);
            const std::string expected =
                SaveRefusal::Text(save.written.string(), place.reason(save.written));
            EXPECT_NE(message.find(expected), std::string::npos)
                << place.what << ", " << save.written << ":\n"
                << message << "\nexpected:\n"
                << expected;
            EXPECT_EQ(message.find("rights"), std::string::npos) << message;
            EXPECT_TRUE(place.intact(save.written)) << place.what << ", " << save.written;
        }
    }
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    EXPECT_TRUE(view.ScreenFlag());
}
