#pragma once
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// A folder of its own under the temporary folder, made fresh and removed with everything in
// it when the scope ends, also when the test fails. Unique per call, so parallel runs and
// parametrised tests never share or collide.
class TempFolder {
public:
    explicit TempFolder(std::string_view tag = "test") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("orlimber-" + std::string(tag) + "-XXXXXX"))
                .string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::filesystem::filesystem_error(
                "cannot make a temporary folder", pattern,
                std::error_code(errno, std::generic_category()));
        path_ = pattern;
    }
    ~TempFolder() {
        // Toolkit services may still be writing into a settings folder while it is removed;
        // a second pass takes what they added.
        for (int attempt = 0; attempt < 5; ++attempt) {
            std::error_code error;
            std::filesystem::remove_all(path_, error);
            if (!std::filesystem::exists(path_, error))
                break;
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A path for `name` inside the folder.
    std::string File(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};
