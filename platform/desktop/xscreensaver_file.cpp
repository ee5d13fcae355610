#include "platform/desktop/xscreensaver_file.h"

#include <optional>
#include <vector>

namespace platform::xscreensaver {
namespace {

using Lines = std::vector<std::string>;

// Each line with its line break, so that joining them gives the text back.
Lines Split(const std::string& text) {
    Lines lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::string Join(const Lines& lines, std::size_t first, std::size_t end) {
    std::string text;
    for (std::size_t i = first; i < end; ++i) text += lines[i];
    return text;
}

std::string Body(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

// A line ending in an odd number of backslashes goes on in the next one.
bool Continues(const std::string& line) {
    std::string body = Body(line);
    std::size_t backslashes = 0;
    while (backslashes < body.size() && body[body.size() - 1 - backslashes] == '\\') ++backslashes;
    return backslashes % 2 == 1;
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

// Trimmed, with runs of blanks as one space.
std::string Squeezed(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (Blank(c)) {
            if (!result.empty() && result.back() != ' ') result += ' ';
        } else {
            result += c;
        }
    }
    if (!result.empty() && result.back() == ' ') result.pop_back();
    return result;
}

// The resource a line starts ("programs" of "*programs:" or
// "xscreensaver.programs:"); empty for comments and other lines.
std::string ResourceName(const std::string& line) {
    std::size_t start = 0;
    while (start < line.size() && Blank(line[start])) ++start;
    if (start == line.size() || line[start] == '!' || line[start] == '#') return {};
    std::size_t colon = line.find(':', start);
    if (colon == std::string::npos) return {};
    std::string name = Squeezed(line.substr(start, colon - start));
    std::size_t separator = name.find_last_of(".*");
    return separator == std::string::npos ? name : name.substr(separator + 1);
}

struct Span {
    std::size_t first;
    std::size_t last;  // the line that does not go on
};

std::optional<Span> Find(const Lines& lines, const std::string& name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::size_t last = i;
        while (Continues(lines[last]) && last + 1 < lines.size()) ++last;
        if (ResourceName(lines[i]) == name) return Span{i, last};
        i = last;
    }
    return std::nullopt;
}

// A value line without its continuation and entry end, squeezed: what tells
// one entry from another however the file is laid out.
std::string EntryText(const std::string& line) {
    std::string body = Body(line);
    if (Continues(line)) body.pop_back();
    std::string squeezed = Squeezed(body);
    if (squeezed.size() >= 2 && squeezed.compare(squeezed.size() - 2, 2, "\\n") == 0) squeezed.resize(squeezed.size() - 2);
    return Squeezed(squeezed);
}

// The entries of the programs value on lines [first, end): the pieces between
// "\n" ends that hold more than blanks.
int CountEntries(const Lines& lines, std::size_t first, std::size_t end) {
    std::string value;
    for (std::size_t i = first; i < end; ++i) {
        std::string body = Body(lines[i]);
        if (i == first) body = body.substr(body.find(':') + 1);
        if (Continues(lines[i])) body.pop_back();
        value += body;
    }
    int count = 0;
    for (std::size_t start = 0;;) {
        std::size_t stop = value.find("\\n", start);
        if (!Squeezed(value.substr(start, stop == std::string::npos ? std::string::npos : stop - start)).empty())
            ++count;
        if (stop == std::string::npos) return count;
        start = stop + 2;
    }
}

// The resource's lines replaced by `line` (its old lines into `before`), or
// `line` added at the end when it is missing.
void Replace(Lines& lines, const std::string& name, const std::string& line, std::string& before) {
    std::optional<Span> span = Find(lines, name);
    if (!span) {
        before.clear();
        if (!lines.empty() && lines.back().back() != '\n') lines.back() += '\n';
        lines.push_back(line);
        return;
    }
    before = Join(lines, span->first, span->last + 1);
    lines.erase(lines.begin() + static_cast<long>(span->first), lines.begin() + static_cast<long>(span->last) + 1);
    lines.insert(lines.begin() + static_cast<long>(span->first), line);
}

// The resource's lines back to `before` when they still read `ours`.
void Restore(Lines& lines, const std::string& name, const std::string& ours, const std::string& before) {
    std::optional<Span> span = Find(lines, name);
    if (!span || Squeezed(Body(Join(lines, span->first, span->last + 1))) != Squeezed(Body(ours))) return;
    lines.erase(lines.begin() + static_cast<long>(span->first), lines.begin() + static_cast<long>(span->last) + 1);
    Lines previous = Split(before);
    lines.insert(lines.begin() + static_cast<long>(span->first), previous.begin(), previous.end());
}

// An entry without the marks it may start with ("-" for a disabled one, a
// visual such as "GL:"), squeezed, its "\n" end gone.
std::string Unmarked(const std::string& entry) {
    std::string rest = Squeezed(entry);
    if (rest.ends_with("\\n")) rest = Squeezed(rest.substr(0, rest.size() - 2));
    if (rest.starts_with("-")) rest = Squeezed(rest.substr(1));
    return rest;
}

// The first word of a command, a quoted one up to its closing quote; a
// visual before it ("GL:") is passed over.
std::string ProgramWord(std::string command) {
    std::size_t word = command.find(' ');
    if (word != std::string::npos && !command.starts_with("\"") && command[word - 1] == ':')
        command = command.substr(word + 1);
    if (command.starts_with("\"")) {
        for (std::size_t i = 1; i < command.size(); ++i) {
            if (command[i] == '\\') ++i;
            else if (command[i] == '"') return command.substr(0, i + 1);
        }
        return command;
    }
    return command.substr(0, command.find(' '));
}

// The entry runs `program`.  The user, or xscreensaver's settings, may
// rename an entry (or drop its name), give it other arguments and wrap it
// over lines; its program stays.
bool RunsProgram(const std::string& entry, const std::string& program) {
    const std::string rest = Unmarked(entry);
    if (!rest.starts_with("\"")) return ProgramWord(rest) == program;
    // A name in quotes, or a quoted program whose name was dropped.
    const std::size_t close = rest.find('"', 1);
    if (close != std::string::npos && ProgramWord(Squeezed(rest.substr(close + 1))) == program) return true;
    return ProgramWord(rest) == program;
}

constexpr char OurMode[] = "mode:\t\tone\n";

bool HeaderOnly(const std::string& line) { return Squeezed(Body(line).substr(Body(line).find(':') + 1)) == "\\"; }

}  // namespace

bool AddProgram(std::string& text, const std::string& entry, ProgramEdit& edit) {
    Lines lines = Split(text);
    edit = ProgramEdit{};
    edit.entry = entry;
    const std::string line = "  " + entry + "\t\\n\\\n";
    int index = 0;
    if (std::optional<Span> span = Find(lines, "programs")) {
        // The new line goes before the one that ends the value, which must
        // follow a whole entry.
        if (span->first == span->last) return false;
        const std::string& previous = lines[span->last - 1];
        std::string body = Squeezed(Body(previous));
        if (!(span->last - 1 == span->first ? HeaderOnly(previous)
                                            : body.size() >= 3 && body.compare(body.size() - 3, 3, "\\n\\") == 0))
            return false;
        index = CountEntries(lines, span->first, span->last);
        lines.insert(lines.begin() + static_cast<long>(span->last), line);
    } else {
        if (!lines.empty() && lines.back().back() != '\n') lines.back() += '\n';
        lines.insert(lines.end(), {"programs:\t\\\n", line, "\n"});
        edit.addedList = true;
    }
    Replace(lines, "mode", OurMode, edit.modeBefore);
    edit.selectedOurs = "selected:\t" + std::to_string(index) + "\n";
    Replace(lines, "selected", edit.selectedOurs, edit.selectedBefore);
    text = Join(lines, 0, lines.size());
    return true;
}

// The lines [first, last] of the first entry of the programs value that
// `matches`; an entry runs over the lines up to the one that ends in "\n".
template <typename Match>
std::optional<Span> FindEntry(const Lines& lines, const Span& list, Match matches) {
    for (std::size_t first = list.first + 1, i = first; i <= list.last; ++i) {
        const std::string body = Squeezed(Body(lines[i]));
        if (!body.ends_with("\\n\\") && !body.ends_with("\\n") && i != list.last) continue;
        std::string entry;
        for (std::size_t j = first; j <= i; ++j) entry += EntryText(lines[j]) + " ";
        if (matches(Squeezed(entry))) return Span{first, i};
        first = i + 1;
    }
    return std::nullopt;
}

void RemoveProgram(std::string& text, const ProgramEdit& edit) {
    Lines lines = Split(text);
    // Our entry has its name: what follows is the program.
    const std::string named = Unmarked(edit.entry);
    const std::size_t close = named.find('"', 1);
    const std::string ours = close == std::string::npos ? "" : ProgramWord(Squeezed(named.substr(close + 1)));
    if (std::optional<Span> list = Find(lines, "programs"); list && !ours.empty()) {
        // The entry as written, else the first that runs our program.
        std::optional<Span> entry =
            FindEntry(lines, *list, [&](const std::string& e) { return e == Squeezed(edit.entry); });
        if (!entry) entry = FindEntry(lines, *list, [&](const std::string& e) { return RunsProgram(e, ours); });
        if (entry)
            lines.erase(lines.begin() + static_cast<long>(entry->first), lines.begin() + static_cast<long>(entry->last) + 1);
    }
    if (std::optional<Span> span = Find(lines, "programs");
        span && edit.addedList && HeaderOnly(lines[span->first]) && CountEntries(lines, span->first, span->last + 1) == 0)
        lines.erase(lines.begin() + static_cast<long>(span->first), lines.begin() + static_cast<long>(span->last) + 1);
    Restore(lines, "mode", OurMode, edit.modeBefore);
    if (!edit.selectedOurs.empty()) Restore(lines, "selected", edit.selectedOurs, edit.selectedBefore);
    text = Join(lines, 0, lines.size());
}

std::string ProgramEntry(const std::string& name, const std::string& program, const std::string& arguments) {
    if (program.find_first_of("\n\r") != std::string::npos) return {};
    // Plain when the shell would take it as it is: xscreensaver's settings
    // look for the program under the command's first word, quotes and all,
    // and show a quoted one as not installed.
    std::string quoted = program;
    if (program.find_first_of(" \t\"'\\$`&|;<>()*?[]#~!{}") != std::string::npos) {
        quoted = "\"";
        for (char c : program) {
            if (c == '"' || c == '\\' || c == '$' || c == '`') quoted += '\\';
            quoted += c;
        }
        quoted += '"';
    }
    std::string escaped;
    for (char c : quoted) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "\"" + name + "\" " + escaped + (arguments.empty() ? "" : " " + arguments);
}

}  // namespace platform::xscreensaver
