#include "platform/CProfile.h"

#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"
#include "platform/TextFormat.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <utility>

namespace {

// Values are written on one line; these escapes keep line breaks and backslashes intact.
std::string Escape(const std::string& s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool Unescape(const std::string& s, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i >= s.size())
            return false;
        switch (s[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

CProfile::CProfile(std::string path) : path_(std::move(path)) {
    Reload();
}

std::string CProfile::DefaultPath() {
    // Built by appending to one string: at -O3 GCC 12 reports a false overlap (-Wrestrict)
    // inside operator+ on a string made from a C string.
    std::string path;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        path.append(xdg);
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        path.append(home);
        path.append("/.config");
    } else {
        path.append(".");
    }
    path.append("/Orlimber/OrlimberSTD.ini");
    return path;
}

CProfile& CProfile::App() {
    static CProfile profile(DefaultPath());
    return profile;
}

void CProfile::Reload() {
    sections_.clear();
    RegularFile file = RegularFile::Read(path_, kMaxBytes);
    switch (file.status) {
    case RegularFile::Status::ok:
        break;
    case RegularFile::Status::cannotOpen:
        return; // no profile yet: the defaults
    case RegularFile::Status::tooLarge:
        SetAside(file.reason);
        return;
    case RegularFile::Status::notRegular:
    case RegularFile::Status::readError:
        // Not a damaged profile but one that can't be read now: leave it where it is.
        std::cerr << "Orlimber: could not read the settings file " << path_ << " (" << file.reason
                  << "); starting from the default settings.\n";
        return;
    }
    std::string why;
    if (!Parse(std::string(file.bytes.begin(), file.bytes.end()), why)) {
        sections_.clear();
        SetAside(why);
    }
}

void CProfile::SetAside(const std::string& why) {
    // Kept for the user (or support) to look at; the next write would otherwise overwrite
    // it with the defaults.
    const std::string kept = path_ + ".bad";
    std::string where;
    if (std::rename(path_.c_str(), kept.c_str()) == 0) {
        setAsidePath_ = kept;
        where = "it has been kept as " + kept;
    } else {
        setAsidePath_.clear();
        where = std::string("it could not be kept aside: ") + std::strerror(errno);
    }
    setAsideNotice_ = "The settings file " + path_ + " is damaged (" + why + "); " + where +
                      ".  Orlimber starts from the default settings.";
    std::cerr << "Orlimber: " << setAsideNotice_ << '\n';
}

std::string CProfile::TakeSetAsideNotice() {
    return std::exchange(setAsideNotice_, {});
}

bool CProfile::ParseValue(const std::string& type, const std::string& raw, Value& v) {
    if (type == "int") {
        v.type = Value::Int;
        return ParseInt(raw, v.number);
    }
    if (type == "str") {
        v.type = Value::String;
        return Unescape(raw, v.text);
    }
    if (type != "hex" || raw.size() % 2 != 0)
        return false;
    v.type = Value::Binary;
    for (std::size_t i = 0; i < raw.size(); i += 2) {
        const int hi = HexDigit(raw[i]), lo = HexDigit(raw[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        v.bytes.push_back(static_cast<BYTE>(hi * 16 + lo));
    }
    return true;
}

bool CProfile::Parse(const std::string& content, std::string& why) {
    std::istringstream lines(content);
    std::string line;
    Section* current = nullptr;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                why = "bad section header on line " + std::to_string(number);
                return false;
            }
            current = &sections_[line.substr(1, line.size() - 2)];
            continue;
        }
        const auto eq = line.find('=');
        const auto colon = line.find(':', eq == std::string::npos ? 0 : eq);
        if (!current || eq == std::string::npos || eq == 0 || colon == std::string::npos) {
            why = "bad value on line " + std::to_string(number);
            return false;
        }
        std::string entry;
        if (!Unescape(line.substr(0, eq), entry)) {
            why = "bad name on line " + std::to_string(number);
            return false;
        }
        const std::string type = line.substr(eq + 1, colon - eq - 1);
        const std::string raw = line.substr(colon + 1);
        Value v;
        if (!ParseValue(type, raw, v)) {
            why = "bad " + type + " value on line " + std::to_string(number);
            return false;
        }
        (*current)[entry] = std::move(v);
    }
    return true;
}

std::string CProfile::Serialize() const {
    std::ostringstream out;
    static const char hex[] = "0123456789abcdef";
    for (const auto& [name, section] : sections_) {
        out << '[' << name << "]\n";
        for (const auto& [entry, v] : section) {
            out << Escape(entry) << '=';
            switch (v.type) {
            case Value::Int:
                out << "int:" << v.number;
                break;
            case Value::String:
                out << "str:" << Escape(v.text);
                break;
            case Value::Binary:
                out << "hex:";
                for (const BYTE b : v.bytes)
                    out << hex[b >> 4] << hex[b & 15];
                break;
            }
            out << '\n';
        }
        out << '\n';
    }
    return out.str();
}

const CProfile::Value* CProfile::Find(const std::string& section, const std::string& entry) const {
    const auto s = sections_.find(section);
    if (s == sections_.end())
        return nullptr;
    const auto e = s->second.find(entry);
    return e == s->second.end() ? nullptr : &e->second;
}

int CProfile::GetProfileInt(const std::string& section, const std::string& entry, int def) const {
    const Value* v = Find(section, entry);
    if (!v)
        return def;
    if (v->type == Value::Int)
        return v->number;
    // The registry API reads a number stored as text too.
    int n = def;
    if (v->type == Value::String && ParseInt(v->text, n))
        return n;
    return def;
}

std::string CProfile::GetProfileString(const std::string& section, const std::string& entry,
                                       const std::string& def) const {
    const Value* v = Find(section, entry);
    if (!v || v->type == Value::Binary)
        return def;
    return v->type == Value::Int ? std::to_string(v->number) : v->text;
}

bool CProfile::GetProfileBinary(const std::string& section, const std::string& entry,
                                std::vector<BYTE>& out) const {
    const Value* v = Find(section, entry);
    if (!v || v->type != Value::Binary)
        return false;
    out = v->bytes;
    return true;
}

bool CProfile::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    Value v;
    v.type = Value::Int;
    v.number = value;
    return Store(section, entry, std::move(v));
}

bool CProfile::WriteProfileString(const std::string& section, const std::string& entry,
                                  const std::string& value) {
    Value v;
    v.type = Value::String;
    v.text = value;
    return Store(section, entry, std::move(v));
}

bool CProfile::WriteProfileBinary(const std::string& section, const std::string& entry,
                                  const std::vector<BYTE>& value) {
    Value v;
    v.type = Value::Binary;
    v.bytes = value;
    return Store(section, entry, std::move(v));
}

bool CProfile::Store(const std::string& section, const std::string& entry, Value value) {
    if (section.empty() || section.find_first_of("[]\n\r") != std::string::npos || entry.empty())
        return false;
    sections_[section][entry] = std::move(value);
    if (batchDepth_ > 0) {
        unsaved_ = true;
        return true;
    }
    return Save();
}

CProfile::Batch::~Batch() {
    if (--profile_.batchDepth_ == 0 && profile_.unsaved_) {
        profile_.unsaved_ = false;
        profile_.Save();
    }
}

bool CProfile::Save() {
    std::error_code ec;
    const auto folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    std::string error;
    if (!AtomicFile::Write(path_, Serialize(), error)) {
        std::cerr << "Orlimber: " << error << '\n';
        return false;
    }
    return true;
}
