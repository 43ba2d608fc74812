#include "dialogs/RtfReader.h"

#include "platform/TextFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

namespace {

constexpr std::size_t kMaxDepth = 200;
constexpr std::size_t kMaxTableEntries = 4096;
constexpr std::size_t kMaxFaceLength = 256;

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

enum class Destination { Text, FontTable, ColourTable, Skip };

struct GroupState {
    Destination dest = Destination::Text;
    RtfCharStyle style;
    RichAlign align = RichAlign::Left;
    int fontNumber = -1;
    int unicodeSkip = 1;
};

struct ControlWord {
    std::string word;
    std::optional<std::int64_t> param;
};

bool IsSkippedDestination(const std::string& word) {
    static const std::array<std::string_view, 16> skipped = {
        "stylesheet", "info",    "pict",    "object",   "header",    "footer",
        "headerl",    "headerr", "footerl", "footerr",  "listtable", "listoverridetable",
        "filetbl",    "revtbl",  "rsidtbl", "themedata"};
    return std::find(skipped.begin(), skipped.end(), word) != skipped.end();
}

class Parser {
public:
    explicit Parser(std::string_view in) : in_(in) { doc_.paragraphs.emplace_back(); }

    RtfDocument Run() {
        while (pos_ < in_.size() && !done_)
            Step();
        FinishParagraph();
        if (doc_.paragraphs.size() > 1 && doc_.paragraphs.back().runs.empty())
            doc_.paragraphs.pop_back();
        return std::move(doc_);
    }

private:
    GroupState& State() { return stack_.back(); }

    void Step() {
        const char c = in_[pos_++];
        if (c == '{') {
            OpenGroup();
        } else if (c == '}') {
            CloseGroup();
        } else if (c == '\\') {
            Escape();
        } else if (c != '\r' && c != '\n' && c != '\0') {
            Char(Cp1252CodePoint(static_cast<unsigned char>(c)));
        }
    }

    void OpenGroup() {
        if (stack_.size() >= kMaxDepth) {
            done_ = true; // deeper than any real document: stop rather than grow
            return;
        }
        stack_.push_back(stack_.back());
        firstInGroup_ = true;
        if (pos_ + 1 < in_.size() && in_[pos_] == '\\' && in_[pos_ + 1] == '*') {
            pos_ += 2;
            State().dest = Destination::Skip;
        }
    }

    void CloseGroup() {
        firstInGroup_ = false;
        if (State().dest == Destination::FontTable)
            CommitFace();
        if (stack_.size() <= 1) {
            done_ = true;
            return;
        }
        stack_.pop_back();
    }

    void Escape() {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            Word(ReadWord());
            return;
        }
        ++pos_;
        firstInGroup_ = false;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Char(char32_t(c));
            break;
        case '~':
            Char(0xA0);
            break;
        case '\'':
            HexChar();
            break;
        case '*':
            State().dest = Destination::Skip;
            break;
        case '\r':
        case '\n':
            Paragraph();
            break;
        default:
            break; // optional hyphens and the like carry no text
        }
    }

    ControlWord ReadWord() {
        ControlWord cw;
        while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])) &&
               cw.word.size() < 32)
            cw.word += in_[pos_++];
        while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])))
            ++pos_;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        std::int64_t value = 0;
        bool any = false;
        while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
            value = std::min<std::int64_t>(value * 10 + (in_[pos_++] - '0'), 1'000'000'000);
            any = true;
        }
        if (any)
            cw.param = negative ? -value : value;
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        return cw;
    }

    void HexChar() {
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            const int d = pos_ < in_.size() ? HexDigit(in_[pos_]) : -1;
            if (d < 0)
                return;
            value = value * 16 + d;
            ++pos_;
        }
        Char(Cp1252CodePoint(static_cast<unsigned char>(value)));
    }

    void Word(const ControlWord& cw) {
        const bool first = firstInGroup_;
        firstInGroup_ = false;
        GroupState& s = State();
        const std::string& w = cw.word;
        const bool on = !cw.param || *cw.param != 0;
        if (first && (w == "fonttbl"))
            s.dest = Destination::FontTable;
        else if (first && w == "colortbl")
            s.dest = Destination::ColourTable;
        else if (first && IsSkippedDestination(w))
            s.dest = Destination::Skip;
        else if (s.dest == Destination::Skip)
            return;
        else if (s.dest == Destination::FontTable)
            FontTableWord(cw);
        else if (s.dest == Destination::ColourTable)
            ColourTableWord(cw);
        else if (w == "par")
            Paragraph();
        else if (w == "b")
            s.style.bold = on;
        else if (w == "i")
            s.style.italic = on;
        else if (w == "ul")
            s.style.underline = on;
        else if (w == "ulnone")
            s.style.underline = false;
        else if (w == "plain")
            s.style = RtfCharStyle{};
        else if (w == "pard")
            s.align = RichAlign::Left;
        else if (w == "ql")
            s.align = RichAlign::Left;
        else if (w == "qr")
            s.align = RichAlign::Right;
        else if (w == "qc")
            s.align = RichAlign::Centre;
        else if (w == "fs" && cw.param && *cw.param > 0)
            s.style.halfPoints = int(std::min<std::int64_t>(*cw.param, 3276));
        else if (w == "cf" && cw.param)
            s.style.colour = ColourAt(*cw.param);
        else if (w == "f" && cw.param)
            s.style.face = FaceOf(*cw.param);
        else if (w == "uc" && cw.param)
            s.unicodeSkip = int(std::clamp<std::int64_t>(*cw.param, 0, 16));
        else if (w == "u" && cw.param)
            Unicode(*cw.param);
        else if (w == "tab")
            Char('\t');
    }

    void Unicode(std::int64_t value) {
        if (value < 0)
            value += 65536;
        Char(value >= 0 && value <= 0x10FFFF ? char32_t(value) : 0xFFFD);
        SkipFallback(State().unicodeSkip);
    }

    // The plain-text stand-ins after \u: characters, \'hh or control words each count once.
    void SkipFallback(int count) {
        while (count > 0 && pos_ < in_.size()) {
            const char c = in_[pos_];
            if (c == '{' || c == '}')
                return;
            ++pos_;
            if (c == '\\' && pos_ < in_.size()) {
                if (in_[pos_] == '\'') {
                    pos_ = std::min(pos_ + 3, in_.size());
                } else if (std::isalpha(static_cast<unsigned char>(in_[pos_]))) {
                    ReadWord();
                } else {
                    ++pos_;
                }
            }
            --count;
        }
    }

    void FontTableWord(const ControlWord& cw) {
        if (cw.word == "f" && cw.param) {
            CommitFace();
            State().fontNumber = int(std::clamp<std::int64_t>(*cw.param, -1, 1'000'000));
        }
    }

    void ColourTableWord(const ControlWord& cw) {
        if (!cw.param)
            return;
        const auto level = std::uint32_t(std::clamp<std::int64_t>(*cw.param, 0, 255));
        if (cw.word == "red")
            pendingColour_ = (pendingColour_.value_or(0) & 0x00FFFF) | level << 16;
        else if (cw.word == "green")
            pendingColour_ = (pendingColour_.value_or(0) & 0xFF00FF) | level << 8;
        else if (cw.word == "blue")
            pendingColour_ = (pendingColour_.value_or(0) & 0xFFFF00) | level;
    }

    void Char(char32_t c) {
        GroupState& s = State();
        switch (s.dest) {
        case Destination::Skip:
            return;
        case Destination::FontTable:
            if (c == ';')
                CommitFace();
            else if (pendingFace_.size() < kMaxFaceLength)
                AppendUtf8(pendingFace_, c);
            return;
        case Destination::ColourTable:
            if (c == ';' && colours_.size() < kMaxTableEntries) {
                colours_.push_back(pendingColour_);
                pendingColour_.reset();
            }
            return;
        case Destination::Text:
            break;
        }
        std::vector<RtfRun>& runs = doc_.paragraphs.back().runs;
        if (runs.empty() || !(runs.back().style == s.style))
            runs.push_back({{}, s.style});
        AppendUtf8(runs.back().text, c);
    }

    void CommitFace() {
        const int number = State().fontNumber;
        std::string face = pendingFace_;
        pendingFace_.clear();
        const auto first = face.find_first_not_of(' ');
        face = first == std::string::npos ? std::string{} : face.substr(first);
        if (number < 0 || face.empty())
            return;
        if (faces_.size() < kMaxTableEntries || faces_.contains(number))
            faces_[number] = face;
        State().fontNumber = -1;
    }

    std::optional<std::uint32_t> ColourAt(std::int64_t index) const {
        if (index < 0 || std::uint64_t(index) >= colours_.size())
            return std::nullopt;
        return colours_[std::size_t(index)];
    }

    std::string FaceOf(std::int64_t number) const {
        const auto it = faces_.find(int(std::clamp<std::int64_t>(number, -1, 1'000'000)));
        return it == faces_.end() ? std::string{} : it->second;
    }

    void Paragraph() {
        if (State().dest != Destination::Text)
            return;
        FinishParagraph();
        doc_.paragraphs.emplace_back();
    }

    void FinishParagraph() { doc_.paragraphs.back().align = State().align; }

    std::string_view in_;
    std::size_t pos_ = 0;
    bool done_ = false;
    bool firstInGroup_ = false;
    std::vector<GroupState> stack_{GroupState{}};
    RtfDocument doc_;
    std::vector<std::optional<std::uint32_t>> colours_;
    std::optional<std::uint32_t> pendingColour_;
    std::map<int, std::string> faces_;
    std::string pendingFace_;
};

} // namespace

std::string RtfParagraph::PlainText() const {
    std::string out;
    for (const RtfRun& run : runs)
        out += run.text;
    return out;
}

std::string RtfDocument::PlainText() const {
    std::string out;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            out += '\n';
        out += paragraphs[i].PlainText();
    }
    return out;
}

RtfDocument RtfReader::Read(std::string_view bytes) {
    if (bytes.empty() || bytes.front() != '{')
        return Parser(bytes).Run(); // plain text is still shown as text
    Parser parser(bytes.substr(1));
    return parser.Run();
}
