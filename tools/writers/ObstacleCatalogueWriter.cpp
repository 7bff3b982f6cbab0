// The obstacle catalogue writers and the sample catalogue.
#include "writers/ObstacleCatalogueWriter.h"

#include <QDir>
#include <QPainter>
#include <QPolygonF>
#include <QSaveFile>

#include <algorithm>

namespace obstaclewriter {

namespace {

// One step of SplitMix64; state advances by the golden-ratio increment.
std::uint64_t nextRandom(std::uint64_t &state)
{
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

constexpr int GridColumns = 17;
constexpr int GridRows = 11;
constexpr int PictureWidth = 451;
constexpr int PictureHeight = 256;

}  // namespace

QByteArray sectionText(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y, const std::vector<std::uint8_t> &hexes)
{
    QByteArray text;
    text += '[' + QByteArray::number(battlefield) + '.' + QByteArray::number(x) + '/' + QByteArray::number(y) + "]\n";
    for (std::size_t i = 0; i < hexes.size(); ++i)
        text += QByteArray::number(qulonglong(i + 1)) + '=' + QByteArray::number(hexes[i]) + '\n';
    return text;
}

std::vector<std::uint8_t> sampleHexes(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y)
{
    std::uint64_t state = std::uint64_t(battlefield) << 16 | std::uint64_t(x) << 8 | y;
    const std::size_t count = std::size_t(nextRandom(state) % 29);
    std::vector<std::uint8_t> hexes;
    while (hexes.size() < count) {
        const auto hex = std::uint8_t(1 + nextRandom(state) % 186);
        if (std::find(hexes.begin(), hexes.end(), hex) == hexes.end())
            hexes.push_back(hex);
    }
    return hexes;
}

QByteArray sampleCatalogueText()
{
    QByteArray text;
    text.reserve(24 * 1024 * 1024);
    text += "; Sample obstacle catalogue made up by brackwen-obstaclegen, not game data.\n";
    for (int battlefield = 0; battlefield < SampleBattlefieldCount; ++battlefield)
        for (int x = 0; x < SamplePositionCount; ++x)
            for (int y = 0; y < SamplePositionCount; ++y)
                text += sectionText(std::uint8_t(battlefield), std::uint8_t(x), std::uint8_t(y),
                                    sampleHexes(std::uint8_t(battlefield), std::uint8_t(x), std::uint8_t(y)));
    return text;
}

QImage sampleBattlefieldPicture()
{
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB888);
    QPainter painter(&picture);
    QLinearGradient ground(0, 0, 0, PictureHeight);
    ground.setColorAt(0, QColor(122, 150, 84));
    ground.setColorAt(1, QColor(96, 124, 62));
    painter.fillRect(picture.rect(), ground);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(58, 80, 38), 1));
    // Pointy-topped hexes 26 pixels wide and 30 high, centred on the marks:
    // centre x 26 * column + 24 (odd rows 15 further left), centre y
    // 23 * row + 12.5.
    for (int row = 0; row < GridRows; ++row) {
        for (int column = 0; column < GridColumns; ++column) {
            const double centreX = 26 * column + (row % 2 == 0 ? 24 : 9);
            const double centreY = 23 * row + 12.5;
            const QPolygonF hexagon({{centreX, centreY - 15},
                                     {centreX + 13, centreY - 7.5},
                                     {centreX + 13, centreY + 7.5},
                                     {centreX, centreY + 15},
                                     {centreX - 13, centreY + 7.5},
                                     {centreX - 13, centreY - 7.5}});
            painter.drawPolygon(hexagon);
        }
    }
    return picture;
}

QString writeSampleCatalogue(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder %1").arg(folder);
    const QDir dir(folder);
    const QString picturePath = dir.filePath(QStringLiteral("obstacle.bmp"));
    if (!sampleBattlefieldPicture().save(picturePath, "BMP"))
        return QStringLiteral("cannot write %1").arg(picturePath);
    QSaveFile list(dir.filePath(QStringLiteral("obstacle.ini")));
    const QByteArray text = sampleCatalogueText();
    if (!list.open(QIODevice::WriteOnly) || list.write(text) != text.size() || !list.commit())
        return QStringLiteral("cannot write %1: %2").arg(list.fileName(), list.errorString());
    return {};
}

}  // namespace obstaclewriter
