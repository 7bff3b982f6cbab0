// The line syntax of "obstacle.ini", shared by the in-memory index and the
// on-demand lookup so that both read a file the same way. It follows the
// settings reader's INI rules: lines end at '\n'; white space around a line,
// a section name, a key and a value is ignored; a line whose first character
// is ';' or '#' is a comment; "[name]" opens a section (text after the first
// ']' is ignored, a '[' line without ']' is ignored); "key=value" or
// "key:value" (the first '=' or ':' splits) gives an entry; other lines are
// ignored.
#pragma once

#include <cstring>
#include <string_view>

namespace obstacleini {

// White space as the INI reader trims it; a line never holds '\n'.
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

// Walks the lines from begin (the start of a line) to end, calling
// onHeader(name) for every section header and onEntry(key, value) for every
// entry, in order. When either returns false the walk stops and the start of
// that line is returned; otherwise end.
template <class OnHeader, class OnEntry>
const char *scanLines(const char *begin, const char *end, OnHeader &&onHeader, OnEntry &&onEntry)
{
    const char *line = begin;
    while (line < end) {
        const char *newline = static_cast<const char *>(std::memchr(line, '\n', std::size_t(end - line)));
        const char *lineEnd = newline ? newline : end;
        const std::string_view text = trimmed(line, lineEnd);
        if (!text.empty() && text.front() == '[') {
            const auto close = text.find(']');
            if (close != std::string_view::npos) {
                const std::string_view name = trimmed(text.data() + 1, text.data() + close);
                if (!onHeader(name))
                    return line;
            }
        } else if (!text.empty() && text.front() != ';' && text.front() != '#') {
            const auto delimiter = text.find_first_of("=:");
            if (delimiter != std::string_view::npos) {
                const std::string_view key = trimmed(text.data(), text.data() + delimiter);
                const std::string_view value = trimmed(text.data() + delimiter + 1, text.data() + text.size());
                if (!onEntry(key, value))
                    return line;
            }
        }
        line = newline ? newline + 1 : end;
    }
    return end;
}

}  // namespace obstacleini
