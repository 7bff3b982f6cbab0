// Prepared pictures of the configuration numbers.
#include "gfx/NumberGlyphs.h"

#include "gfx/CellRenderer.h"

#include <QPainter>

#include <array>
#include <memory>
#include <vector>

namespace {

constexpr int NumberCount = 256;
// Sets kept at most; one set serves one font, colour, cell size and style,
// and a grid uses at most one per terrain colour and its background.
constexpr std::size_t MaxSets = 64;

struct GlyphSet {
    QFont font;
    QRgb background;
    int cellSize;
    NumberStyle style;
    std::array<NumberGlyph, NumberCount> glyphs;
    std::array<bool, NumberCount> made{};
};

// The smallest rectangle holding every pixel that is not fully transparent.
QRect paintedArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] != 0)
                area |= QRect(x, y, 1, 1);
    }
    return area;
}

NumberGlyph makeGlyph(int number, const GlyphSet &set)
{
    const QString text = QString::number(number);
    const int side = set.cellSize;
    if (set.style == NumberStyle::OnCellFill) {
        QImage cell(side, side, QImage::Format_ARGB32_Premultiplied);
        cell.fill(set.background);
        QPainter painter(&cell);
        painter.setFont(set.font);
        painter.setPen(QColor::fromRgb(ConfigNumberColour));
        painter.drawText(QRect(0, 0, side, side), Qt::AlignLeft | Qt::AlignTop, text);
        return {QPoint(0, 0), cell};
    }
    // The text is laid out in a box four cells wide, as the grid does, with
    // room around it for glyphs that reach past their box; the whole-pixel
    // margin leaves the glyphs' pixels as they are at the cell.
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
    const QRect box(0, 0, side * 4, side);
    const QRect needed = QFontMetrics(set.font).boundingRect(box, flags, text).united(box);
    const int margin = 4;
    QImage work(needed.width() + 2 * margin - needed.left(), needed.height() + 2 * margin - needed.top(),
                QImage::Format_ARGB32_Premultiplied);
    work.fill(Qt::transparent);
    QPainter painter(&work);
    painter.setFont(set.font);
    painter.setPen(QColor::fromRgb(ConfigNumberColour));
    painter.setBackground(QColor::fromRgb(set.background));
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.drawText(box.translated(margin, margin), flags, text);
    painter.end();
    const QRect area = paintedArea(work);
    return {area.topLeft() - QPoint(margin, margin), work.copy(area)};
}

std::vector<std::unique_ptr<GlyphSet>> &glyphSets()
{
    static std::vector<std::unique_ptr<GlyphSet>> sets;
    return sets;
}

}  // namespace

const NumberGlyph &numberGlyph(int number, const QFont &font, QRgb background, int cellSize, NumberStyle style)
{
    std::vector<std::unique_ptr<GlyphSet>> &sets = glyphSets();
    GlyphSet *set = nullptr;
    for (const auto &candidate : sets)
        if (candidate->background == background && candidate->cellSize == cellSize && candidate->style == style
            && candidate->font == font) {
            set = candidate.get();
            break;
        }
    if (!set) {
        if (sets.size() >= MaxSets)
            sets.clear();
        sets.push_back(std::make_unique<GlyphSet>(GlyphSet{font, background, cellSize, style, {}, {}}));
        set = sets.back().get();
    }
    const auto index = std::size_t(number) % NumberCount;
    if (!set->made[index]) {
        set->glyphs[index] = makeGlyph(int(index), *set);
        set->made[index] = true;
    }
    return set->glyphs[index];
}
