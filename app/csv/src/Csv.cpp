#include "csv/Csv.h"

#include "status/ProgramError.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

[[noreturn]] void Malformed(int line, const std::string &why) {
    throw ProgramError(kProgramErrorNumber, "Csv", "Line " + std::to_string(line) + ": " + why);
}

bool Between(std::string_view text, std::size_t at, unsigned char low, unsigned char high) {
    if (at >= text.size()) return false;
    const auto c = static_cast<unsigned char>(text[at]);
    return c >= low && c <= high;
}

// The length of the UTF-8 sequence that begins at text[at]; 0 when none does (a stray
// continuation byte, a cut sequence, an overlong form, a surrogate, or past U+10FFFF).
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return Between(text, at + 1, 0x80, 0xBF) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return Between(text, at + 1, low, high) && Between(text, at + 2, 0x80, 0xBF) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return Between(text, at + 1, low, high) && Between(text, at + 2, 0x80, 0xBF) &&
                       Between(text, at + 3, 0x80, 0xBF)
                   ? 4
                   : 0;
    }
    return 0;
}

// Walks the text once, record by record; line counts the line breaks passed, inside quoted
// fields too, so that every complaint names the line a text editor shows.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::vector<CsvRecord> Records() {
        std::vector<CsvRecord> records;
        while (!AtEnd()) records.push_back(Record());
        return records;
    }

private:
    bool AtEnd() const { return at_ >= text_.size(); }

    // The length of the line break at the position: CR LF, LF or a lone CR; 0 for none.
    std::size_t LineBreakAt(std::size_t at) const {
        if (at >= text_.size()) return 0;
        if (text_[at] == '\n') return 1;
        if (text_[at] != '\r') return 0;
        return at + 1 < text_.size() && text_[at + 1] == '\n' ? 2 : 1;
    }

    CsvRecord Record() {
        CsvRecord record{line_, {}};
        for (;;) {
            record.fields.push_back(text_[at_] == '"' ? Quoted() : Plain());
            if (AtEnd()) return record;
            if (text_[at_] != ',') {  // the field ended at a line break
                at_ += LineBreakAt(at_);
                ++line_;
                return record;
            }
            ++at_;
        }
    }

    std::string Plain() {
        std::string field;
        while (!AtEnd() && text_[at_] != ',' && LineBreakAt(at_) == 0) {
            if (text_[at_] == '"') Malformed(line_, "a quote in a field that does not begin with one");
            Take(field, 1);
        }
        return field;
    }

    std::string Quoted() {
        const int opened = line_;
        ++at_;
        std::string field;
        for (;;) {
            if (AtEnd()) Malformed(opened, "a quoted field has no closing quote");
            if (text_[at_] == '"') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
                    field += '"';
                    at_ += 2;
                    continue;
                }
                ++at_;
                if (!AtEnd() && text_[at_] != ',' && LineBreakAt(at_) == 0) {
                    Malformed(line_, "text follows the closing quote of a field");
                }
                return field;
            }
            if (const std::size_t lineBreak = LineBreakAt(at_)) {
                Take(field, lineBreak);
                ++line_;
            } else {
                Take(field, 1);
            }
        }
    }

    // Moves count bytes (one character, or one line break) into the field, checking that a
    // character is UTF-8 and not NUL, which no account text can hold.
    void Take(std::string &field, std::size_t count) {
        if (text_[at_] == '\0') Malformed(line_, "a NUL character");
        if (count == 1) count = Utf8Length(text_, at_);
        if (count == 0) Malformed(line_, "text that is not UTF-8");
        field.append(text_.substr(at_, count));
        at_ += count;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

std::vector<CsvRecord> ReadCsv(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    return Reader(text).Records();
}

std::string CsvRecordText(std::span<const std::string> fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text += ',';
        if (!NeedsQuotes(fields[i])) {
            text += fields[i];
            continue;
        }
        text += '"';
        for (const char c : fields[i]) {
            if (c == '"') text += '"';  // a quote inside is doubled
            text += c;
        }
        text += '"';
    }
    return text + "\r\n";
}
