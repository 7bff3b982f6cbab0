// Fuzz target of the obstacle catalogue readers. The first three bytes name a
// battlefield, x and y; the rest is an "obstacle.ini" text. Both list sources
// (and the on-demand one reading in small pieces) must read the same list for
// it, with at most 28 hexes and no hex 0.
// With --write-seeds=FOLDER it writes a seed corpus there and exits.
#include "FuzzSeeds.h"

#include "obstacles/ObstacleSectionIndex.h"
#include "obstacles/ObstacleSectionSearch.h"
#include "writers/ObstacleCatalogueWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>

namespace {

void writeSeed(const QDir &folder, const QString &name, std::uint8_t battlefield, std::uint8_t x, std::uint8_t y,
               const QByteArray &text)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write(QByteArray(1, char(battlefield)) + char(x) + char(y) + text);
}

void writeSeeds(const QString &path)
{
    QDir().mkpath(path);
    const QDir folder(path);
    QByteArray sample;
    for (int y = 0; y < 4; ++y)
        sample += obstaclewriter::sectionText(3, 7, std::uint8_t(y), obstaclewriter::sampleHexes(3, 7, std::uint8_t(y)));
    writeSeed(folder, QStringLiteral("sample"), 3, 7, 2, sample);
    writeSeed(folder, QStringLiteral("forms"), 2, 17, 5,
              "\xEF\xBB\xBF; comment\n  [ 2.17/5 ] tail\r\n1 = 0x11\n2=$1F\n2:7\n3=-1\n1=9\n[x]\n4=4\n[2.17/5]\n4=273\n");
    writeSeed(folder, QStringLiteral("stray"), 0, 0, 0, "[0.0/0\n1=5\n[0.0/0]\n#2=3\nno delimiter\n1=256\n");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    return writeSeedsIfAsked(argc, argv, writeSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint8_t battlefield = data[0];
    const std::uint8_t x = data[1];
    const std::uint8_t y = data[2];
    const QByteArray text(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));
    const ObstacleHexList searched = findHexesInText(text, battlefield, x, y);
    const ObstacleHexList indexed = ObstacleSectionIndex::parse(text).hexes(battlefield, x, y);
    QBuffer device;
    device.setData(text);
    device.open(QIODevice::ReadOnly);
    const std::optional<ObstacleHexList> readInPieces = findHexesInDevice(device, battlefield, x, y, 7);
    if (searched != indexed || readInPieces != searched || searched.size() > std::size_t(MaxObstacleHexes))
        std::abort();
    for (const std::uint8_t hex : searched)
        if (hex == 0)
            std::abort();
    return 0;
}
