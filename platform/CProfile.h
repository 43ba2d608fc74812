#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The user's settings, kept where the Windows program used its registry key: an INI-style
// file with the same section and value names. Each value is typed (int, string or binary).
// Every write replaces the file atomically, so another process reads a complete file.
class CProfile {
public:
    // A profile larger than this counts as damaged and is not read.
    static constexpr std::uint64_t kMaxBytes = 1024 * 1024;

    // Loads `path` if it exists. A damaged file is set aside as `path` + ".bad" (replacing an
    // older one) and the settings start from their defaults; see TakeSetAsideNotice.
    explicit CProfile(std::string path);

    // $XDG_CONFIG_HOME/Orlimber/OrlimberSTD.ini, or ~/.config/Orlimber/OrlimberSTD.ini.
    static std::string DefaultPath();
    // The program's profile at the default path (a documented singleton).
    static CProfile& App();

    const std::string& Path() const { return path_; }

    int GetProfileInt(const std::string& section, const std::string& entry, int def) const;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def = {}) const;
    // False when the value is missing or not binary.
    bool GetProfileBinary(const std::string& section, const std::string& entry,
                          std::vector<BYTE>& out) const;

    bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value);
    bool WriteProfileBinary(const std::string& section, const std::string& entry,
                            const std::vector<BYTE>& value);

    // Re-reads the file (values written by another process).
    void Reload();

    // Where the last damaged file was kept, or empty.
    const std::string& SetAsidePath() const { return setAsidePath_; }
    // The message telling the user which file was set aside, once: later calls (and calls
    // when nothing was set aside) return an empty text. Whoever starts the program shows it.
    std::string TakeSetAsideNotice();

    // Holds back the file rewrites of a group of writes until the group ends, so applying a
    // settings page costs one atomic rewrite instead of one per value.
    class Batch {
    public:
        explicit Batch(CProfile& profile) : profile_(profile) { ++profile_.batchDepth_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        CProfile& profile_;
    };

private:
    struct Value {
        enum Type { Int, String, Binary } type = String;
        int number = 0;
        std::string text;
        std::vector<BYTE> bytes;
    };
    using Section = std::map<std::string, Value>;

    const Value* Find(const std::string& section, const std::string& entry) const;
    bool Store(const std::string& section, const std::string& entry, Value value);
    bool Save();
    bool Parse(const std::string& content, std::string& why);
    void SetAside(const std::string& why);
    // One stored value of the given type word ("int", "str" or "hex"); false when malformed.
    static bool ParseValue(const std::string& type, const std::string& raw, Value& v);
    std::string Serialize() const;

    std::string path_;
    std::map<std::string, Section> sections_;
    std::string setAsidePath_;
    std::string setAsideNotice_;
    int batchDepth_ = 0;
    bool unsaved_ = false;
};
