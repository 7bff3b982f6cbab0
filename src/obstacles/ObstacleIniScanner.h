// The line syntax of "obstacle.ini", shared by the in-memory index and the
// on-demand lookup so that both read a file the same way. It follows the
// settings reader's INI rules: lines end at '\n'; white space around a line,
// a section name, a key and a value is ignored; a line whose first character
// is ';' or '#' is a comment; "[name]" opens a section (text after the first
// ']' is ignored, a '[' line without ']' is ignored); "key=value" (the first
// '=' splits; ':' is an ordinary character of keys and values) gives an
// entry; other lines are ignored.
#pragma once

#include "obstacles/ObstacleSection.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace obstacleini {

// White space as the INI reader trims it.
constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n';
}

inline std::string_view trimmed(const char *first, const char *last)
{
    while (first < last && isBlank(*first))
        ++first;
    while (last > first && isBlank(last[-1]))
        --last;
    return {first, std::size_t(last - first)};
}

// The UTF-8 byte order mark a text may begin with; it is not part of the first line.
inline const char *afterByteOrderMark(const char *begin, const char *end)
{
    return end - begin >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0 ? begin + 3 : begin;
}

// The start of the line after the one holding `at`, or end.
inline const char *nextLine(const char *at, const char *end)
{
    const auto *newline = static_cast<const char *>(std::memchr(at, '\n', std::size_t(end - at)));
    return newline ? newline + 1 : end;
}

// When the '[' at `open` begins a header line (only blanks between the line
// start and it, and a ']' further on the line), the header's name: the text
// up to the first ']', blanks around it removed.
inline std::optional<std::string_view> headerNameAt(const char *begin, const char *end, const char *open)
{
    const char *lineStart = open;
    while (lineStart > begin && lineStart[-1] != '\n' && isBlank(lineStart[-1]))
        --lineStart;
    if (lineStart != begin && lineStart[-1] != '\n')
        return std::nullopt;
    const char *close = open + 1;
    while (close < end && *close != ']' && *close != '\n')
        ++close;
    if (close == end || *close != ']')
        return std::nullopt;
    return trimmed(open + 1, close);
}

// Takes the entries of a section's body, which starts at `line` (the line
// after its header) and runs up to the next header line. Returns the start
// of that header line, or end.
inline const char *readSectionBody(const char *line, const char *end, ObstacleSection &section)
{
    while (line < end) {
        const char *next = nextLine(line, end);
        const std::string_view text = trimmed(line, next);
        if (!text.empty() && text.front() == '[') {
            if (text.find(']') != std::string_view::npos)
                return line;
        } else if (!text.empty() && text.front() != ';' && text.front() != '#') {
            const auto delimiter = text.find('=');
            if (delimiter != std::string_view::npos) {
                const int key = ObstacleSection::keyNumber(trimmed(text.data(), text.data() + delimiter));
                section.take(key, trimmed(text.data() + delimiter + 1, text.data() + text.size()));
            }
        }
        line = next;
    }
    return end;
}

}  // namespace obstacleini
