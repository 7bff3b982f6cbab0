// The obstacle catalogue: the battlefield picture "obstacle.bmp" and the hex
// lists of "obstacle.ini", either held in memory or read from disk at every
// lookup. One per program run, owned by the main window.
#pragma once

#include "obstacles/ObstacleSection.h"
#include "obstacles/ObstacleSectionIndex.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

// The two switches of the obstacle display.
struct ObstacleCatalogueOptions {
    bool on = false;             // show obstacles at all
    bool listsInMemory = false;  // hold the list file in memory rather than read it per lookup
};

inline constexpr const char *ObstaclePictureFileName = "obstacle.bmp";
inline constexpr const char *ObstacleListFileName = "obstacle.ini";
// The largest list file read: the lists of every battlefield at every
// position take a few tens of megabytes, so anything far beyond is damaged.
inline constexpr qint64 MaxObstacleListSize = qint64(512) << 20;

class ObstacleCatalogue {
public:
    // A catalogue that is off: no picture, empty lists.
    ObstacleCatalogue() = default;

    // The catalogue of the current folder. It is on only when the options
    // switch it on and both "obstacle.bmp" and "obstacle.ini" are there and
    // readable (a picture that is not a readable BMP counts as missing), the
    // list file is not larger than MaxObstacleListSize, and memory does not
    // run out reading them. With the lists in memory the list file is read
    // whole now and its sections located, and later changes of the file do
    // not show; otherwise its absolute path is kept and the file is read at
    // every lookup, so a later change of the current folder does not matter
    // and a change of the file shows at once.
    static ObstacleCatalogue load(const ObstacleCatalogueOptions &options);

    // A catalogue that is on, from its parts.
    static ObstacleCatalogue inMemory(QImage picture, QByteArray listText);
    static ObstacleCatalogue onDisk(QImage picture, const QString &listPath);

    bool isOn() const { return !std::holds_alternative<std::monostate>(m_lists); }
    bool holdsListsInMemory() const { return std::holds_alternative<ObstacleSectionIndex>(m_lists); }
    const QImage &picture() const { return m_picture; }

    // The obstacle hexes of a battlefield at a position, in list order. Never
    // fails: a missing section or file gives an empty list.
    ObstacleHexList findObstacleHexes(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y) const;

private:
    static ObstacleCatalogue loadFromCurrentFolder(const ObstacleCatalogueOptions &options);

    QImage m_picture;
    // Off; the parsed file; or the absolute path of the file read per lookup.
    std::variant<std::monostate, ObstacleSectionIndex, QString> m_lists;
};

// The hex list of one section of the catalogue file at a path, read now;
// nothing when the file cannot be read or holds more than MaxObstacleListSize
// bytes.
std::optional<ObstacleHexList> readObstacleHexes(const QString &listPath, std::uint8_t battlefield, std::uint8_t x,
                                                 std::uint8_t y);
