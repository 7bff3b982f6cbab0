// Finding one section in a catalogue text by jumping from '[' to '[' and
// comparing the header there; the lines in between are never parsed.
#include "obstacles/ObstacleTextSearch.h"

#include "obstacles/ObstacleIniScanner.h"

#include <cstring>

namespace {

bool isBlankOnLine(char c)
{
    return c != '\n' && obstacleini::isBlank(c);
}

// True when the '[' at `open` begins a header line whose name is `name`: only
// blanks between the line start and '[', around the name, and before ']'.
bool opensHeader(const char *begin, const char *end, const char *open, std::string_view name)
{
    const char *before = open;
    while (before > begin && isBlankOnLine(before[-1]))
        --before;
    if (before != begin && before[-1] != '\n')
        return false;
    const char *at = open + 1;
    while (at < end && isBlankOnLine(*at))
        ++at;
    if (std::size_t(end - at) < name.size() || std::memcmp(at, name.data(), name.size()) != 0)
        return false;
    at += name.size();
    while (at < end && isBlankOnLine(*at))
        ++at;
    return at < end && *at == ']';
}

}  // namespace

ObstacleHexList findHexesInText(QByteArrayView text, std::uint8_t battlefield, std::uint8_t x, std::uint8_t y)
{
    const QByteArray nameBytes = ObstacleSection::name(battlefield, x, y);
    const std::string_view name(nameBytes.constData(), std::size_t(nameBytes.size()));
    // The byte order mark belongs to no line, so the first line starts behind it.
    const char *end = text.data() + text.size();
    const char *begin = obstacleini::afterByteOrderMark(text.data(), end);
    ObstacleSection section;
    const char *from = begin;
    while (from < end) {
        const auto *open = static_cast<const char *>(std::memchr(from, '[', std::size_t(end - from)));
        if (!open)
            break;
        from = open + 1;
        if (!opensHeader(begin, end, open, name))
            continue;
        const char *newline = static_cast<const char *>(std::memchr(open, '\n', std::size_t(end - open)));
        if (!newline)
            break;
        // The section's entries run up to the next header of any name; a
        // later header of the same name adds the keys this one lacks.
        from = obstacleini::scanLines(
            newline + 1, end, [](std::string_view) { return false; },
            [&section](std::string_view key, std::string_view value) {
                section.take(ObstacleSection::keyNumber(key), value);
                return true;
            });
    }
    return section.hexes();
}
