#include "net/PageMarkup.h"

#include "net/WebAddress.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

namespace {

enum class Kind {
    Void,    // no content, no end tag
    Normal,  // content and an end tag
    Table,   // table structure: kept only inside a table of bounded depth
    RawSkip, // content is script or style: dropped with the element
    Title,   // text only, kept once
    Base,    // changes the address links resolve against; not kept
};

struct Rule {
    std::string_view name;
    Kind kind;
};

// What the pane's window renders; anything else loses its tags and keeps its text.
constexpr std::array kRules{
    Rule{"a", Kind::Normal},          Rule{"address", Kind::Normal}, Rule{"area", Kind::Void},
    Rule{"b", Kind::Normal},          Rule{"base", Kind::Base},      Rule{"big", Kind::Normal},
    Rule{"blockquote", Kind::Normal}, Rule{"body", Kind::Normal},    Rule{"br", Kind::Void},
    Rule{"center", Kind::Normal},     Rule{"cite", Kind::Normal},    Rule{"code", Kind::Normal},
    Rule{"dd", Kind::Normal},         Rule{"del", Kind::Normal},     Rule{"div", Kind::Normal},
    Rule{"dl", Kind::Normal},         Rule{"dt", Kind::Normal},      Rule{"em", Kind::Normal},
    Rule{"font", Kind::Normal},       Rule{"h1", Kind::Normal},      Rule{"h2", Kind::Normal},
    Rule{"h3", Kind::Normal},         Rule{"h4", Kind::Normal},      Rule{"h5", Kind::Normal},
    Rule{"h6", Kind::Normal},         Rule{"head", Kind::Normal},    Rule{"hr", Kind::Void},
    Rule{"html", Kind::Normal},       Rule{"i", Kind::Normal},       Rule{"img", Kind::Void},
    Rule{"ins", Kind::Normal},        Rule{"kbd", Kind::Normal},     Rule{"li", Kind::Normal},
    Rule{"map", Kind::Normal},        Rule{"meta", Kind::Void},      Rule{"ol", Kind::Normal},
    Rule{"p", Kind::Normal},          Rule{"pre", Kind::Normal},     Rule{"s", Kind::Normal},
    Rule{"samp", Kind::Normal},       Rule{"script", Kind::RawSkip}, Rule{"small", Kind::Normal},
    Rule{"span", Kind::Normal},       Rule{"strike", Kind::Normal},  Rule{"strong", Kind::Normal},
    Rule{"style", Kind::RawSkip},     Rule{"sub", Kind::Normal},     Rule{"sup", Kind::Normal},
    Rule{"table", Kind::Table},       Rule{"td", Kind::Table},       Rule{"th", Kind::Table},
    Rule{"title", Kind::Title},       Rule{"tr", Kind::Table},       Rule{"tt", Kind::Normal},
    Rule{"u", Kind::Normal},          Rule{"ul", Kind::Normal},      Rule{"var", Kind::Normal},
};

const Rule* FindRule(std::string_view name) {
    for (const Rule& rule : kRules)
        if (rule.name == name)
            return &rule;
    return nullptr;
}

enum class Value { Text, Url, Picture, Pixels, Small, Span, FontSize, Count };

struct AttributeRule {
    std::string_view name;
    Value value;
};

constexpr std::array kAttributes{
    AttributeRule{"align", Value::Text},
    AttributeRule{"alt", Value::Text},
    AttributeRule{"background", Value::Picture},
    AttributeRule{"bgcolor", Value::Text},
    AttributeRule{"border", Value::Small},
    AttributeRule{"cellpadding", Value::Small},
    AttributeRule{"cellspacing", Value::Small},
    AttributeRule{"charset", Value::Text},
    AttributeRule{"clear", Value::Text},
    AttributeRule{"color", Value::Text},
    AttributeRule{"colspan", Value::Span},
    AttributeRule{"content", Value::Text},
    AttributeRule{"coords", Value::Text},
    AttributeRule{"face", Value::Text},
    AttributeRule{"height", Value::Pixels},
    AttributeRule{"href", Value::Url},
    AttributeRule{"hspace", Value::Small},
    AttributeRule{"http-equiv", Value::Text},
    AttributeRule{"id", Value::Text},
    AttributeRule{"link", Value::Text},
    AttributeRule{"name", Value::Text},
    AttributeRule{"noshade", Value::Text},
    AttributeRule{"nowrap", Value::Text},
    AttributeRule{"rowspan", Value::Span},
    AttributeRule{"shape", Value::Text},
    AttributeRule{"size", Value::FontSize},
    AttributeRule{"src", Value::Picture},
    AttributeRule{"start", Value::Count},
    AttributeRule{"text", Value::Text},
    AttributeRule{"type", Value::Text},
    AttributeRule{"usemap", Value::Text},
    AttributeRule{"valign", Value::Text},
    AttributeRule{"value", Value::Count},
    AttributeRule{"vspace", Value::Small},
    AttributeRule{"width", Value::Pixels},
};

const AttributeRule* FindAttribute(std::string_view name) {
    for (const AttributeRule& rule : kAttributes)
        if (rule.name == name)
            return &rule;
    return nullptr;
}

constexpr std::size_t kMaxValue = 2048;
constexpr std::size_t kMaxTitle = 1024;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != prefix[i])
            return false;
    return true;
}

// Where "</name" starts in `text`, any case; npos when it is not there.
std::size_t FindEndTag(std::string_view text, std::string_view name) {
    for (std::size_t at = text.find("</"); at != std::string_view::npos;
         at = text.find("</", at + 1))
        if (StartsWithNoCase(text.substr(at + 2), name))
            return at;
    return std::string_view::npos;
}

void AppendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

// The character references an address may hide its scheme or host behind.
std::string DecodeReferences(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        const std::size_t semi = text.find(';', i);
        const std::string_view name =
            semi == std::string_view::npos ? std::string_view{} : text.substr(i + 1, semi - i - 1);
        std::uint32_t code = 0;
        bool known = true;
        if (name == "amp")
            code = '&';
        else if (name == "quot")
            code = '"';
        else if (name == "apos")
            code = '\'';
        else if (name == "lt")
            code = '<';
        else if (name == "gt")
            code = '>';
        else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
            known = error == std::errc() && end == digits.data() + digits.size() && code > 0 &&
                    code < 0x80;
        } else {
            known = false;
        }
        if (!known) {
            out += text[i++];
            continue;
        }
        out += static_cast<char>(code);
        i = semi + 1;
    }
    return out;
}

std::string EncodeAmpersands(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else
            out += c;
    }
    return out;
}

// A length as the window reads it, kept within `most`; empty when it is not a number.
std::string Bounded(std::string_view text, long most, bool percentAllowed, bool signAllowed) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    std::string sign;
    if (signAllowed && !text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front();
        text.remove_prefix(1);
    }
    std::size_t digits = 0;
    while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0)
        return {};
    long value = 0;
    std::from_chars(text.data(), text.data() + digits, value);
    const bool percent = percentAllowed && text.substr(digits).find('%') == 0;
    value = std::min(value, percent ? 100L : most);
    return sign + std::to_string(value) + (percent ? "%" : "");
}

struct Open {
    std::string name;
    Kind kind;
    // For a row: the table columns its cells take so far.
    int columns = 0;
};

class Builder {
public:
    Builder(std::string_view input, std::string_view pageUrl)
        : in_(input), page_(pageUrl), base_(pageUrl) {
        out_.reserve(input.size() + 256);
    }

    PageMarkup::Prepared Run();

private:
    void Text(std::string_view text);
    // Reads the tag at `at_` (just past '<'); false when it runs off the end.
    bool Tag();
    void StartTag(const std::string& name, std::string_view attributes, bool selfClosing);
    void EndTag(const std::string& name);
    std::string Attributes(const std::string& element, std::string_view text, bool& keep);
    void Push(const std::string& name, Kind kind);
    void CloseTo(std::size_t depth);
    // Closes what a new `name` ends in a browser: an open p before a block, a li before the
    // next, a cell before the next cell or row, up to the element that bounds it.
    void ImpliedEnds(const std::string& name);
    int TableDepth() const;
    // Counts a cell's columns against its row; false when the row is full. A span that does
    // not fit is narrowed.
    bool FitColumns(std::string& attributeText);
    std::string NearestTablePart() const;
    bool Full() const;

    std::string_view in_;
    std::size_t at_ = 0;
    std::string_view page_;
    std::string base_;
    std::string out_;
    std::vector<Open> open_;
    // End tags still to swallow for elements whose start was dropped, by name.
    std::vector<std::pair<std::string, int>> dropped_;
    bool titleSeen_ = false;
    bool content_ = false;
    bool lastSpace_ = true;
    std::size_t elements_ = 0;
    std::size_t words_ = 0;
    std::size_t wordChars_ = 0;
    std::size_t text_ = 0;
    std::size_t pictures_ = 0;
    bool cut_ = false;
};

bool Builder::FitColumns(std::string& attributeText) {
    auto found = std::find_if(open_.rbegin(), open_.rend(),
                              [](const Open& o) { return o.kind == Kind::Table; });
    if (found == open_.rend() || found->name != "tr")
        return false;
    Open& row = *found;
    const std::size_t at = attributeText.find(" colspan=\"");
    int span = 1;
    if (at != std::string::npos)
        std::from_chars(attributeText.data() + at + 10, attributeText.data() + attributeText.size(),
                        span);
    const int room = PageMarkup::kMaxColumns - row.columns;
    if (room <= 0)
        return false;
    if (span > room) {
        const std::size_t end = attributeText.find('"', at + 10);
        attributeText.replace(at + 10, end - at - 10, std::to_string(room));
        span = room;
    }
    row.columns += span;
    // The window walks every grid place a cell covers, for every cell.
    const std::size_t rows = attributeText.find(" rowspan=\"");
    int rowSpan = 1;
    if (rows != std::string::npos)
        std::from_chars(attributeText.data() + rows + 10,
                        attributeText.data() + attributeText.size(), rowSpan);
    if (rowSpan * span > PageMarkup::kMaxCellArea) {
        const std::size_t end = attributeText.find('"', rows + 10);
        attributeText.replace(rows + 10, end - rows - 10,
                              std::to_string(std::max(1, PageMarkup::kMaxCellArea / span)));
    }
    return true;
}

bool Builder::Full() const {
    return elements_ >= PageMarkup::kMaxElements || words_ >= PageMarkup::kMaxWords;
}

void Builder::Text(std::string_view text) {
    // Outside preformatted text a run of blanks shows as one, so one is kept; inside, every
    // blank takes room and counts as text.
    const bool pre =
        std::any_of(open_.begin(), open_.end(), [](const Open& o) { return o.name == "pre"; });
    bool blankKept = false;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < ' ' && !IsSpace(c))
            continue;
        if (IsSpace(c)) {
            lastSpace_ = true;
            if (!pre && blankKept)
                continue;
            blankKept = true;
            if (pre) {
                if (text_ >= PageMarkup::kMaxText) {
                    cut_ = true;
                    return;
                }
                text_ += c == '\t' ? 8 : 1;
            }
        } else {
            blankKept = false;
            if (lastSpace_ || ++wordChars_ >= PageMarkup::kWordChars) {
                if (words_ >= PageMarkup::kMaxWords || text_ >= PageMarkup::kMaxText) {
                    cut_ = true;
                    return;
                }
                ++words_;
                wordChars_ = 0;
            }
            ++text_;
            lastSpace_ = false;
            content_ = true;
        }
        if (c == '<')
            out_ += "&lt;";
        else if (c == '>')
            out_ += "&gt;";
        else
            out_ += c;
    }
}

int Builder::TableDepth() const {
    return static_cast<int>(
        std::count_if(open_.begin(), open_.end(), [](const Open& o) { return o.name == "table"; }));
}

std::string Builder::NearestTablePart() const {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it)
        if (it->kind == Kind::Table)
            return it->name;
    return {};
}

void Builder::Push(const std::string& name, Kind kind) {
    out_ += "<" + name;
    open_.push_back({name, kind});
    ++elements_;
}

void Builder::CloseTo(std::size_t depth) {
    while (open_.size() > depth) {
        out_ += "</" + open_.back().name + ">";
        open_.pop_back();
    }
}

void Builder::ImpliedEnds(const std::string& name) {
    struct Implied {
        std::string_view opens;
        std::string_view closes;   // names, each between blanks
        std::string_view barriers; // names, each between blanks
    };
    static constexpr std::array kImplied{
        Implied{"p", " p ", " table td th tr li dd dt div blockquote center body html "},
        Implied{"div", " p ", " table td th tr li dd dt div blockquote center body html "},
        Implied{"table", " p ", " table td th tr li dd dt div blockquote center body html "},
        Implied{"ul", " p ", " table td th tr li dd dt div blockquote center body html "},
        Implied{"ol", " p ", " table td th tr li dd dt div blockquote center body html "},
        Implied{"li", " li ", " ul ol table td th "},
        Implied{"dt", " dt dd ", " dl table td th "},
        Implied{"dd", " dt dd ", " dl table td th "},
        Implied{"tr", " tr ", " table "},
        Implied{"td", " td th ", " tr table "},
        Implied{"th", " td th ", " tr table "},
        Implied{"a", " a ", " table td th "},
    };
    for (const Implied& rule : kImplied) {
        if (rule.opens != name)
            continue;
        for (std::size_t depth = open_.size(); depth-- > 0;) {
            const std::string key = " " + open_[depth].name + " ";
            if (rule.closes.find(key) != std::string_view::npos) {
                CloseTo(depth);
                return;
            }
            if (rule.barriers.find(key) != std::string_view::npos)
                return;
        }
    }
}

std::string Builder::Attributes(const std::string& element, std::string_view text, bool& keep) {
    std::string out;
    bool hasSource = false;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (IsSpace(text[i]) || text[i] == '/'))
            ++i;
        const std::size_t nameStart = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '=' && text[i] != '/')
            ++i;
        std::string name;
        for (char c : text.substr(nameStart, i - nameStart))
            name += Lower(c);
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        std::string_view value;
        bool hasValue = false;
        if (i < text.size() && text[i] == '=') {
            ++i;
            while (i < text.size() && IsSpace(text[i]))
                ++i;
            hasValue = true;
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const char quote = text[i++];
                const std::size_t end = std::min(text.find(quote, i), text.size());
                value = text.substr(i, end - i);
                i = end + 1;
            } else {
                const std::size_t start = i;
                while (i < text.size() && !IsSpace(text[i]))
                    ++i;
                value = text.substr(start, i - start);
            }
        }
        if (name.empty())
            continue;
        const AttributeRule* rule = FindAttribute(name);
        if (!rule || out.find(" " + name + "=") != std::string::npos || value.size() > kMaxValue)
            continue;
        std::string kept;
        switch (rule->value) {
        case Value::Text:
            kept = hasValue ? std::string(value) : name;
            break;
        case Value::Url: {
            const std::string decoded = DecodeReferences(value);
            if (!decoded.empty() && decoded.front() == '#')
                kept = EncodeAmpersands(decoded);
            else
                kept = EncodeAmpersands(WebAddress::Resolve(base_, decoded));
            break;
        }
        case Value::Picture: {
            const std::string url = WebAddress::Resolve(page_, DecodeReferences(value));
            if (WebAddress::SameOrigin(url, page_)) {
                kept = EncodeAmpersands(url);
                hasSource = hasSource || name == "src";
            }
            break;
        }
        case Value::Pixels:
            kept = Bounded(value, 4000, true, false);
            break;
        case Value::Small:
            kept = Bounded(value, 64, false, false);
            break;
        case Value::Span:
            kept = Bounded(value, 64, false, false);
            if (kept == "0")
                kept = "1";
            break;
        case Value::FontSize:
            kept = Bounded(value, 7, false, true);
            break;
        case Value::Count:
            kept = Bounded(value, 100000, false, false);
            break;
        }
        if (kept.empty())
            continue;
        out += " " + name + "=\"";
        AppendEscaped(out, kept);
        out += "\"";
    }
    if (element == "img" && (!hasSource || pictures_ >= PageMarkup::kMaxPictures))
        keep = false;
    return out;
}

void Builder::StartTag(const std::string& name, std::string_view attributes, bool selfClosing) {
    const Rule* rule = FindRule(name);
    if (rule && rule->kind == Kind::RawSkip) {
        if (selfClosing)
            return;
        const std::size_t end = FindEndTag(in_.substr(at_), name);
        if (end == std::string_view::npos) {
            at_ = in_.size();
            return;
        }
        at_ += end;
        return;
    }
    if (rule && rule->kind == Kind::Title) {
        const std::size_t end = FindEndTag(in_.substr(at_), name);
        const std::string_view text =
            in_.substr(at_, end == std::string_view::npos ? std::string_view::npos : end);
        at_ = end == std::string_view::npos ? in_.size() : at_ + end;
        if (titleSeen_)
            return;
        titleSeen_ = true;
        std::string title;
        for (char c : text.substr(0, kMaxTitle))
            if (static_cast<unsigned char>(c) >= ' ' || c == '\t')
                title += c;
        if (title.find_first_not_of(" \t") == std::string::npos)
            return;
        content_ = true;
        std::string markup = "<title>";
        AppendEscaped(markup, title);
        markup += "</title>";
        // At the depth limit the title still steers the pane: it goes first instead.
        if (open_.size() < static_cast<std::size_t>(PageMarkup::kMaxDepth))
            out_ += markup;
        else
            out_.insert(0, markup);
        return;
    }
    if (rule && rule->kind == Kind::Base) {
        bool unused = true;
        const std::string kept = Attributes("base", attributes, unused);
        const std::size_t href = kept.find(" href=\"");
        if (href != std::string::npos) {
            const std::size_t start = href + 7;
            base_ = DecodeReferences(kept.substr(start, kept.find('"', start) - start));
            base_ = WebAddress::Resolve(page_, base_);
        }
        return;
    }
    if (rule && rule->kind != Kind::Void)
        ImpliedEnds(name);
    bool keep = rule != nullptr && open_.size() < static_cast<std::size_t>(PageMarkup::kMaxDepth);
    if (keep && rule->kind == Kind::Table) {
        const std::string part = NearestTablePart();
        if (name == "table")
            keep = TableDepth() < PageMarkup::kMaxTableDepth;
        else if (name == "tr")
            keep = part == "table";
        else if (part == "table") {
            // A cell straight inside a table starts its row, as browsers do.
            if (open_.size() + 1 < static_cast<std::size_t>(PageMarkup::kMaxDepth)) {
                Push("tr", Kind::Table);
                out_ += ">";
            } else {
                keep = false;
            }
        } else {
            keep = part == "tr";
        }
    }
    std::string attributeText;
    if (keep)
        attributeText = Attributes(name, attributes, keep);
    if (keep && (name == "td" || name == "th"))
        keep = FitColumns(attributeText);
    if (!keep) {
        if (rule && rule->kind != Kind::Void && !selfClosing) {
            auto found = std::find_if(dropped_.begin(), dropped_.end(),
                                      [&](const auto& d) { return d.first == name; });
            if (found == dropped_.end())
                dropped_.push_back({name, 1});
            else
                ++found->second;
        }
        return;
    }
    if (name == "img")
        ++pictures_;
    if (name == "img" || name == "hr")
        content_ = true;
    Push(name, rule->kind);
    out_ += attributeText;
    out_ += ">";
    if (rule->kind == Kind::Void)
        open_.pop_back();
    else if (selfClosing)
        CloseTo(open_.size() - 1);
    if (rule->kind != Kind::Void && name != "a" && name != "font" && name != "b" && name != "i")
        lastSpace_ = true;
}

void Builder::EndTag(const std::string& name) {
    auto dropped = std::find_if(dropped_.begin(), dropped_.end(),
                                [&](const auto& d) { return d.first == name; });
    if (dropped != dropped_.end() && dropped->second > 0) {
        --dropped->second;
        return;
    }
    for (std::size_t depth = open_.size(); depth-- > 0;)
        if (open_[depth].name == name) {
            CloseTo(depth);
            return;
        }
}

bool Builder::Tag() {
    const std::string_view rest = in_.substr(at_);
    if (rest.substr(0, 4) == "<!--") {
        const std::size_t end = rest.find("-->", 4);
        at_ = end == std::string_view::npos ? in_.size() : at_ + end + 3;
        return true;
    }
    if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?')) {
        const std::size_t end = rest.find('>');
        at_ = end == std::string_view::npos ? in_.size() : at_ + end + 1;
        return true;
    }
    const bool end = rest.size() > 1 && rest[1] == '/';
    const std::size_t nameStart = end ? 2 : 1;
    if (nameStart >= rest.size() || !IsLetter(rest[nameStart])) {
        Text(rest.substr(0, 1));
        ++at_;
        return true;
    }
    // The tag ends at the first '>' outside quotes.
    std::size_t i = nameStart;
    std::string name;
    while (i < rest.size() && !IsSpace(rest[i]) && rest[i] != '>' && rest[i] != '/') {
        if (name.size() < 16)
            name += Lower(rest[i]);
        ++i;
    }
    const std::size_t attributesStart = i;
    char quote = 0;
    while (i < rest.size() && (quote || rest[i] != '>')) {
        if (quote && rest[i] == quote)
            quote = 0;
        else if (!quote && (rest[i] == '"' || rest[i] == '\'') && i > 0 &&
                 (rest[i - 1] == '=' || IsSpace(rest[i - 1])))
            quote = rest[i];
        ++i;
    }
    if (i >= rest.size())
        return false;
    std::string_view attributes = rest.substr(attributesStart, i - attributesStart);
    const bool selfClosing = !attributes.empty() && attributes.back() == '/';
    at_ += i + 1;
    if (end)
        EndTag(name);
    else
        StartTag(name, attributes, selfClosing);
    return true;
}

PageMarkup::Prepared Builder::Run() {
    PageMarkup::Prepared prepared;
    while (at_ < in_.size()) {
        if (Full()) {
            cut_ = true;
            break;
        }
        const std::size_t lt = in_.find('<', at_);
        const std::size_t stop = lt == std::string_view::npos ? in_.size() : lt;
        Text(in_.substr(at_, stop - at_));
        at_ = stop;
        if (cut_)
            break;
        if (at_ < in_.size() && !Tag())
            break;
    }
    CloseTo(0);
    if (!content_) {
        prepared.note = "the page shows nothing";
        return prepared;
    }
    prepared.usable = true;
    prepared.html = std::move(out_);
    if (cut_)
        prepared.note = "the page was cut short: it holds more than the pane shows";
    return prepared;
}

} // namespace

PageMarkup::Prepared PageMarkup::Prepare(std::string_view bytes, std::string_view pageUrl) {
    Prepared prepared;
    if (bytes.empty()) {
        prepared.note = "the page is empty";
        return prepared;
    }
    if (bytes.size() > kMaxBytes) {
        prepared.note = "the page is larger than " + std::to_string(kMaxBytes / 1024) + " KiB";
        return prepared;
    }
    if (bytes.find('\0') != std::string_view::npos) {
        prepared.note = "the page is not text";
        return prepared;
    }
    return Builder(bytes, pageUrl).Run();
}
