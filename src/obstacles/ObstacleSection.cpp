// Names, keys and values of the catalogue's battlefield sections.
#include "obstacles/ObstacleSection.h"

#include "base/IniFile.h"

#include <QVarLengthArray>


int ObstacleSection::keyNumber(std::string_view key)
{
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '9')
        return key[0] - '0';
    if (key.size() == 2 && key[0] >= '1' && key[0] <= '2' && key[1] >= '0' && key[1] <= '9') {
        const int number = (key[0] - '0') * 10 + (key[1] - '0');
        return number <= MaxObstacleHexes ? number : 0;
    }
    return 0;
}

std::uint8_t ObstacleSection::hexValue(std::string_view value)
{
    // Plain decimal numbers of up to nine digits, by far the common case, are
    // read here; every other form goes through the general integer rule.
    if (!value.empty() && value.size() <= 9) {
        std::uint32_t number = 0;
        bool plain = true;
        for (const char c : value) {
            if (c < '0' || c > '9') {
                plain = false;
                break;
            }
            number = number * 10 + std::uint32_t(c - '0');
        }
        if (plain)
            return std::uint8_t(number & 0xFF);
    }
    // Bytes widen one to one: any byte above 127 is no digit, so the value is
    // then no number, whatever its encoding.
    QVarLengthArray<char16_t, 64> wide(qsizetype(value.size()));
    for (std::size_t i = 0; i < value.size(); ++i)
        wide[qsizetype(i)] = char16_t(static_cast<unsigned char>(value[i]));
    const std::optional<int> number = parseIniInteger(QStringView(wide.constData(), wide.size()));
    return std::uint8_t(static_cast<std::uint32_t>(number.value_or(0)) & 0xFF);
}

QByteArray ObstacleSection::name(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y)
{
    return QByteArray::number(battlefield) + '.' + QByteArray::number(x) + '/' + QByteArray::number(y);
}

std::optional<std::uint32_t> ObstacleSection::idOfName(std::string_view name)
{
    // Three decimal numbers 0..255 without leading zeros, split by '.' and '/'.
    std::uint32_t id = 0;
    std::size_t at = 0;
    for (const char separator : {'.', '/', '\0'}) {
        const std::size_t first = at;
        std::uint32_t number = 0;
        while (at < name.size() && name[at] >= '0' && name[at] <= '9' && at - first < 3)
            number = number * 10 + std::uint32_t(name[at++] - '0');
        const std::size_t digits = at - first;
        if (digits == 0 || (digits > 1 && name[first] == '0') || number > 255)
            return std::nullopt;
        id = id << 8 | number;
        if (separator == '\0')
            return at == name.size() ? std::optional<std::uint32_t>(id) : std::nullopt;
        if (at == name.size() || name[at] != separator)
            return std::nullopt;
        ++at;
    }
    return std::nullopt;
}

ObstacleHexList ObstacleSection::hexes() const
{
    ObstacleHexList list;
    for (int key = 1; key <= MaxObstacleHexes; ++key) {
        const std::uint8_t hex = m_values[std::size_t(key - 1)];
        if (!(m_seen & (std::uint32_t(1) << (key - 1))) || hex == 0)
            break;
        list.push_back(hex);
    }
    return list;
}
