// Writing the current level as a PNG picture.
#include "session/PictureExport.h"

#include "session/EditorSession.h"
#include "gfx/CellRenderer.h"
#include "gfx/PngWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace {

QString proposedFileName(const QString &mapFileName)
{
    if (mapFileName.isEmpty())
        return {};
    const QFileInfo map(mapFileName);
    return map.dir().filePath(map.completeBaseName() + ".png");
}

PictureExportResult refused(QString message)
{
    return {PictureExportResult::Outcome::Refused, std::move(message)};
}

}  // namespace

QString pictureTooLargeText(const PictureExportTexts &texts, std::uint32_t side, int cellSize)
{
    if (levelPictureFits(side, cellSize))
        return {};
    return texts.tooLarge.arg(cellSize).arg(largestFittingCellSize(side));
}

PictureExportResult exportPicture(const EditorSession &session, int gridCellSize, bool showConfigNumbers,
                                  const PictureExportQuestion &question, const PictureExportTexts &texts)
{
    const MapDocument &document = session.document();
    // Level 1 of a one-level map: the grid shows nothing, so there is nothing to draw.
    if (!session.levelShown())
        return {};
    const std::optional<PictureExportAnswer> answer =
        question(document.mapSize, {proposedFileName(session.fileName()), gridCellSize});
    if (!answer || answer->fileName.isEmpty())
        return {};
    if (QString tooLarge = pictureTooLargeText(texts, document.mapSize, answer->cellSize); !tooLarge.isEmpty())
        return refused(std::move(tooLarge));

    const QImage picture = renderMapLevel(document, answer->cellSize, showConfigNumbers, session.sprites(), session.layerLevel());
    if (picture.isNull())
        return refused(texts.noMemory.arg(answer->cellSize));
    // Written aside and renamed over the target only when whole.
    QSaveFile file(answer->fileName);
    if (!file.open(QIODevice::WriteOnly) || !writeFastPng(picture, file) || !file.commit())
        return refused(texts.failed.arg(QDir::toNativeSeparators(answer->fileName), file.errorString()));
    return {PictureExportResult::Outcome::Written, {}, answer->fileName};
}
