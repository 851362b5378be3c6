// Turns a manual page written in the small markup of docs/man/*.md into
// troff for man(1):
//
//   % name(section) | source       the title line
//   # HEADING                      a section
//   * TERM                         a tagged paragraph; its text follows,
//     text                         indented by two blanks
//       literal                    four blanks: a block shown as it stands
//   **bold**, *italic*             within text; a blank line ends a paragraph
//
// usage: kvrns-make-man SOURCE OUTPUT VERSION
#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Escapes troff's specials; every hyphen becomes \- so options and
// commands copied from the page are typed as they must be.
std::string escape(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

// **bold** and *italic*; a lone asterisk stays as it is.
std::string inlineMarkup(const std::string& line)
{
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        const bool strong = line.compare(i, 2, "**") == 0;
        const std::size_t open = strong ? 2 : line[i] == '*' ? 1 : 0;
        const std::size_t close = open ? line.find(strong ? "**" : "*", i + open) : std::string::npos;
        if (open && close != std::string::npos && close > i + open) {
            out += (strong ? "\\fB" : "\\fI") + escape(line.substr(i + open, close - i - open)) + "\\fR";
            i = close + open;
            continue;
        }
        const std::size_t next = line.find('*', i + 1);
        const std::size_t end = next == std::string::npos ? line.size() : next;
        out += escape(line.substr(i, end - i));
        i = end;
    }
    if (out.compare(0, 3, "\\&") != 0 && !out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

bool isPlaceholder(const std::string& token)
{
    bool upper = false;
    for (const char c : token) {
        if (std::islower(static_cast<unsigned char>(c))) return false;
        upper = upper || std::isupper(static_cast<unsigned char>(c));
    }
    return upper;
}

// A tagged paragraph's term: options and commands bold, placeholders italic.
std::string term(const std::string& text)
{
    std::istringstream words(text);
    std::string word, out;
    for (bool first = true; words >> word; first = false) {
        if (!first) out += ' ';
        if (isPlaceholder(word))
            out += "\\fI" + escape(word) + "\\fR";
        else if (first || word[0] == '-')
            out += "\\fB" + escape(word) + "\\fR";
        else
            out += escape(word);
    }
    return out;
}

std::string upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// "% kvrns-cli(1) | KVRNS" -> .TH line
bool titleLine(const std::string& line, const std::string& version, std::string& out)
{
    const auto open = line.find('(');
    const auto close = line.find(')');
    const auto bar = line.find('|');
    if (line.rfind("% ", 0) != 0 || open == std::string::npos || close < open || bar == std::string::npos) return false;
    const std::string name = line.substr(2, open - 2);
    const std::string section = line.substr(open + 1, close - open - 1);
    std::string source = line.substr(bar + 1);
    source.erase(0, source.find_first_not_of(' '));
    out += ".TH \"" + escape(upper(name)) + "\" \"" + section + "\" \"\" \"" + escape(source + " " + version) +
           "\" \"" + escape(source) + "\"\n";
    return true;
}

int convert(std::istream& in, std::ostream& out, const std::string& version, const std::string& name)
{
    std::string line, troff;
    if (!std::getline(in, line) || !titleLine(line, version, troff)) {
        std::cerr << name << ":1: expected the title line '% name(section) | source'\n";
        return 1;
    }
    bool literal = false, paragraphDue = false;
    for (int number = 2; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool literalLine = line.rfind("    ", 0) == 0;
        if (literal && !literalLine) {
            troff += ".fi\n.RE\n";
            literal = false;
        }
        if (line.empty()) {
            paragraphDue = true;
        } else if (line.rfind("# ", 0) == 0) {
            troff += ".SH " + escape(upper(line.substr(2))) + "\n";
            paragraphDue = false;
        } else if (line.rfind("* ", 0) == 0) {
            troff += ".TP\n" + term(line.substr(2)) + "\n";
            paragraphDue = false;
        } else if (literalLine) {
            if (!literal) troff += ".RS 4\n.nf\n";
            literal = true;
            troff += escape(line.substr(4)) + "\n";
        } else {
            if (line[0] == ' ' && line.rfind("  ", 0) != 0) {
                std::cerr << name << ":" << number << ": indent text by two blanks, or four for a literal block\n";
                return 1;
            }
            const std::size_t start = line.find_first_not_of(' ');
            if (paragraphDue && start == 0) troff += ".PP\n";
            paragraphDue = false;
            troff += inlineMarkup(line.substr(start)) + "\n";
        }
    }
    if (literal) troff += ".fi\n.RE\n";
    out << troff;
    return out ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: kvrns-make-man SOURCE OUTPUT VERSION\n";
        return 1;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot read it\n";
        return 1;
    }
    std::ostringstream page;
    if (const int status = convert(in, page, argv[3], argv[1])) return status;
    std::ofstream out(argv[2], std::ios::binary);
    out << page.str();
    if (!out) {
        std::cerr << argv[2] << ": cannot write it\n";
        return 1;
    }
    return 0;
}
