// One battlefield section of the obstacle catalogue: its name, its keys and the
// hex list its values give.
#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// A battlefield's obstacle hexes in list order: at most MaxObstacleHexes numbers
// 1..255 (row = h / 17, column = h % 17 of the battlefield grid).
using ObstacleHexList = std::vector<std::uint8_t>;
inline constexpr int MaxObstacleHexes = 28;

class ObstacleSection {
public:
    // The key number of a key name: "1" .. "28" exactly as written in decimal;
    // 0 for any other name (such keys play no part in a list).
    static int keyNumber(std::string_view key);

    // A value as a hex number: the low 8 bits of the integer it holds (decimal,
    // or hexadecimal after "$", "0x" or "0X", with an optional sign); 0 for
    // anything that is not such a number.
    static std::uint8_t hexValue(std::string_view value);

    // The section name of a battlefield and position: "b.x/y" in decimal.
    static QByteArray name(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y);

    // The packed id (battlefield << 16 | x << 8 | y) of a section name written
    // exactly as name() writes it; nothing for every other name, since no
    // lookup can ask for it.
    static std::optional<std::uint32_t> idOfName(std::string_view name);

    // Records a key's value unless the key was seen before: the first value of
    // a key wins, also across repeated sections of one name.
    void take(int key, std::string_view value)
    {
        if (key < 1 || key > MaxObstacleHexes)
            return;
        const std::uint32_t bit = std::uint32_t(1) << (key - 1);
        if (m_seen & bit)
            return;
        m_seen |= bit;
        m_values[std::size_t(key - 1)] = hexValue(value);
    }

    // Values of keys 1, 2, ... up to the first key that is missing or 0.
    ObstacleHexList hexes() const;

private:
    std::uint32_t m_seen = 0;  // bit k-1 set once key k was read
    std::array<std::uint8_t, MaxObstacleHexes> m_values{};
};
