// Writing the current level as a picture: the level as the grid shows it
// (tile pictures or plain colours, configuration numbers when they are on,
// unsaved edits included) at a chosen cell size, as a PNG file. The user's
// answers come through a question that tests replace.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class EditorSession;

// The words of the export, from the interface texts.
struct PictureExportTexts {
    QString title;        // the dialog's caption and the error's title
    QString cellSize;     // the label of the cell size
    QString pictureSize;  // "%1 x %2 pixels": the picture's width and height
    QString tooLarge;     // %1 the chosen cell size, %2 the largest that fits
    QString noMemory;     // %1 the chosen cell size
    QString failed;       // %1 the file, %2 the reason
    QString filter;       // the file dialog's filter, "Description|*.png"
};

// What the user chose: the file and the cell size in pixels.
struct PictureExportAnswer {
    QString fileName;
    int cellSize = 0;
};

// Asks for the cell size and the file, starting from a proposal, for a level
// of side cells; nothing when the user cancels.
using PictureExportQuestion =
    std::function<std::optional<PictureExportAnswer>(std::uint32_t side, const PictureExportAnswer &proposal)>;

struct PictureExportResult {
    enum class Outcome { Written, Cancelled, Refused };
    Outcome outcome = Outcome::Cancelled;
    QString message;  // why it was refused, for the user
    QString fileName;  // where the picture was written
};

// Why a level of side cells cannot be drawn at cellSize pixels a cell (its
// picture would break the size limits), naming the largest cell size that
// fits; empty when it fits.
QString pictureTooLargeText(const PictureExportTexts &texts, std::uint32_t side, int cellSize);

// Asks the question, proposing the grid's cell size and the map's file name
// with ".png", then draws the current level and writes it. Nothing is asked or
// written without an open map whose chosen level exists. A refused export
// leaves any earlier file of that name as it was.
PictureExportResult exportPicture(const EditorSession &session, int gridCellSize, bool showConfigNumbers,
                                  const PictureExportQuestion &question, const PictureExportTexts &texts);
