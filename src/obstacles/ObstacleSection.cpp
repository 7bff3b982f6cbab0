// Names, keys and values of the catalogue's battlefield sections.
#include "obstacles/ObstacleSection.h"

#include "app/IniFile.h"

#include <QVarLengthArray>

namespace {

// A decimal number 0..255 written without leading zeros; nothing otherwise.
std::optional<std::uint32_t> canonicalByte(std::string_view digits)
{
    if (digits.empty() || digits.size() > 3 || (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + std::uint32_t(c - '0');
    }
    if (value > 255)
        return std::nullopt;
    return value;
}

}  // namespace

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
    const auto dot = name.find('.');
    const auto slash = name.find('/');
    if (dot == std::string_view::npos || slash == std::string_view::npos || slash < dot)
        return std::nullopt;
    const auto battlefield = canonicalByte(name.substr(0, dot));
    const auto x = canonicalByte(name.substr(dot + 1, slash - dot - 1));
    const auto y = canonicalByte(name.substr(slash + 1));
    if (!battlefield || !x || !y)
        return std::nullopt;
    return *battlefield << 16 | *x << 8 | *y;
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
