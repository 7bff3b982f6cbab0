// Finding one section in a catalogue text by jumping from '[' to '[' and
// comparing the header there; the lines in between are never parsed.
#include "obstacles/ObstacleTextSearch.h"

#include "obstacles/ObstacleIniScanner.h"

#include <cstring>

ObstacleHexList findHexesInText(QByteArrayView text, std::uint8_t battlefield, std::uint8_t x, std::uint8_t y)
{
    const QByteArray wanted = ObstacleSection::name(battlefield, x, y);
    const std::string_view name(wanted.constData(), std::size_t(wanted.size()));
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
        if (obstacleini::headerNameAt(begin, end, open) != name)
            continue;
        // A later header of the same name adds the keys this one lacks.
        from = obstacleini::readSectionBody(obstacleini::nextLine(open, end), end, section);
    }
    return section.hexes();
}
