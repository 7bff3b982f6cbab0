// Loading of the obstacle catalogue and lookup in either list source.
#include "obstacles/ObstacleCatalogue.h"

#include "base/Platform.h"
#include "base/WholeFile.h"
#include "obstacles/ObstacleSectionSearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <new>

ObstacleCatalogue ObstacleCatalogue::load(const ObstacleCatalogueOptions &options)
{
    if (!options.on)
        return {};
    // A picture or a list too large for the memory at hand leaves the feature off.
    try {
        return loadFromCurrentFolder(options);
    } catch (const std::bad_alloc &) {
        return {};
    }
}

ObstacleCatalogue ObstacleCatalogue::loadFromCurrentFolder(const ObstacleCatalogueOptions &options)
{
    const QString folder = QDir::currentPath();
    bool complete = true;

    QImage picture;
    const QString picturePath = platform::findFile(folder, {QString::fromLatin1(ObstaclePictureFileName)});
    if (!QFileInfo(picturePath).isFile() || !picture.load(picturePath, "BMP"))
        complete = false;

    // The list file is looked at even without a picture, as the feature's
    // start-up always did; it cannot turn the feature on by itself.
    ObstacleCatalogue catalogue;
    const QString listPath =
        QFileInfo(platform::findFile(folder, {QString::fromLatin1(ObstacleListFileName)})).absoluteFilePath();
    if (!QFileInfo(listPath).isFile() || QFileInfo(listPath).size() > MaxObstacleListSize) {
        complete = false;
    } else if (options.listsInMemory) {
        WholeFile text = readWholeFile(listPath, MaxObstacleListSize);
        if (text.ok())
            catalogue = inMemory(std::move(picture), std::move(text.bytes));
        else
            complete = false;
    } else if (QFile file(listPath); file.open(QIODevice::ReadOnly)) {
        catalogue = onDisk(std::move(picture), listPath);
    } else {
        complete = false;
    }
    return complete ? std::move(catalogue) : ObstacleCatalogue();
}

ObstacleCatalogue ObstacleCatalogue::inMemory(QImage picture, QByteArray listText)
{
    ObstacleCatalogue catalogue;
    catalogue.m_picture = std::move(picture);
    catalogue.m_lists = ObstacleSectionIndex::parse(std::move(listText));
    return catalogue;
}

ObstacleCatalogue ObstacleCatalogue::onDisk(QImage picture, const QString &listPath)
{
    ObstacleCatalogue catalogue;
    catalogue.m_picture = std::move(picture);
    catalogue.m_lists = QFileInfo(listPath).absoluteFilePath();
    return catalogue;
}

ObstacleHexList ObstacleCatalogue::findObstacleHexes(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y) const
{
    if (const auto *index = std::get_if<ObstacleSectionIndex>(&m_lists))
        return index->hexes(battlefield, x, y);
    if (const auto *path = std::get_if<QString>(&m_lists))
        return readObstacleHexes(*path, battlefield, x, y).value_or(ObstacleHexList());
    return {};
}

std::optional<ObstacleHexList> readObstacleHexes(const QString &listPath, std::uint8_t battlefield, std::uint8_t x,
                                                 std::uint8_t y)
{
    QFile file(listPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    return findHexesInDevice(file, battlefield, x, y, ObstacleFilePieceSize, MaxObstacleListSize);
}
