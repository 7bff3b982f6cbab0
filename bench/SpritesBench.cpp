// Benchmarks of the tile graphics: loading the 17 sample sprite files from the
// archive (extracting, decoding every frame, preparing the drawing variants),
// repainting a 1920 x 1080 viewport in sprite mode (at each cell size of the
// grid, with and without configuration numbers), drawing a whole 144 x 144
// level as "brackwen-cli render" does, and, as the floor of both, drawing the
// same number of prepared 32 x 32 images with nothing else.
#include "SampleSprites.h"

#include "gfx/CellRenderer.h"
#include "gfx/FileHelpers.h"
#include "gfx/TileDrawing.h"
#include "gfx/TileSprites.h"
#include "map/MapDocument.h"
#include "map/TerrainCell.h"
#include "writers/LoadedMap.h"
#include "writers/SampleMap.h"

#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int ViewColumns = 60;  // 1920 / 32
constexpr int ViewRows = 34;     // 1080 / 32, the last row partly visible

struct SampleGame {
    QTemporaryDir dir;
    TileSpriteSource settings;
    SampleGame()
    {
        SaveBytesToFile(dir.filePath("game/data/vdsprite.lod"), sampleSpriteArchive());
        settings.graphics = 0;
        settings.gameFolder = dir.filePath("game") + '/';
    }
};

SampleGame &sampleGame()
{
    static SampleGame game;
    return game;
}

const TileSprites &loadedSprites()
{
    static const TileSprites sprites = [] {
        TileSprites loaded;
        TileSpriteSource settings = sampleGame().settings;
        loaded.LoadTileSprites(settings);
        return loaded;
    }();
    return sprites;
}

// Every cell has terrain, river and road, with varied pictures and mirror bits.
std::vector<TerrainCell> viewportCells()
{
    std::vector<TerrainCell> cells;
    for (int i = 0; i < ViewColumns * ViewRows; ++i)
        cells.push_back({std::uint8_t(i % 10), std::uint8_t(i % 79), std::uint8_t(1 + i % 4), std::uint8_t(i % 13),
                         std::uint8_t(1 + i % 3), std::uint8_t(i % 17), std::uint8_t(i % 64)});
    return cells;
}

void BM_LoadSampleSprites(benchmark::State &state)
{
    SampleGame &game = sampleGame();
    for (auto _ : state) {
        TileSprites sprites;
        TileSpriteSource settings = game.settings;
        benchmark::DoNotOptimize(sprites.LoadTileSprites(settings));
        if (!sprites.spritesLoaded())
            state.SkipWithError("the sample sprites did not load");
    }
}
BENCHMARK(BM_LoadSampleSprites)->Unit(benchmark::kMillisecond);

void BM_RepaintViewport(benchmark::State &state)
{
    const TileSprites &sprites = loadedSprites();
    const std::vector<TerrainCell> cells = viewportCells();
    QImage canvas(ViewColumns * 32, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&canvas);
        for (int row = 0; row < ViewRows; ++row)
            for (int column = 0; column < ViewColumns; ++column)
                drawSpriteCell(painter, QPoint(column * 32, row * 32), cells[size_t(row * ViewColumns + column)], sprites);
    }
    state.counters["cells"] = ViewColumns * ViewRows;
}
BENCHMARK(BM_RepaintViewport)->Unit(benchmark::kMillisecond);

// A full-HD repaint through the grid's drawing entry at a cell size (the
// first argument: 8, 16, 32 or 64 pixels), with configuration numbers when
// the second argument is 1. The cells are those of the sample surface, whose
// rivers and roads are where a real map has them; the scaled pictures are
// made before timing, as the grid makes them on its first paint at a size.
void BM_RepaintViewportAtCellSize(benchmark::State &state)
{
    const TileSprites &sprites = loadedSprites();
    const int cellSize = int(state.range(0));
    const int columns = (1920 + cellSize - 1) / cellSize;
    const int rows = (1080 + cellSize - 1) / cellSize;
    const MapDocument document = loadedMap(sampleSurface(288, 7));
    const CellRenderContext context{document, GridView{0, 0, columns, rows}, state.range(1) != 0, gridFont(),
                                    &sprites};
    QImage canvas(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    const auto repaint = [&] {
        QPainter painter(&canvas);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                RenderCell(painter, QRect(column * cellSize, row * cellSize, cellSize, cellSize), context, column, row);
    };
    repaint();
    for (auto _ : state) {
        repaint();
        benchmark::DoNotOptimize(canvas.constBits());
    }
    state.counters["cells"] = columns * rows;
}
BENCHMARK(BM_RepaintViewportAtCellSize)
    ->ArgsProduct({{8, 16, 32, 64}, {0, 1}})
    ->ArgNames({"cell", "numbers"})
    ->Unit(benchmark::kMillisecond);

// The same number of drawImage calls (three per cell) of prepared tiles, with
// no lookups: the most a repaint through QPainter can gain.
void BM_DrawPreparedImagesOnly(benchmark::State &state)
{
    const TileSprites &sprites = loadedSprites();
    const QImage *tiles[] = {sprites.prepared(TileKind::Terrain, 2, 5, false, false),
                             sprites.prepared(TileKind::River, 1, 3, false, false),
                             sprites.prepared(TileKind::Road, 1, 4, false, false)};
    QImage canvas(ViewColumns * 32, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&canvas);
        for (int row = 0; row < ViewRows; ++row)
            for (int column = 0; column < ViewColumns; ++column)
                for (const QImage *tile : tiles)
                    painter.drawImage(QPoint(column * 32, row * 32), *tile);
    }
}
BENCHMARK(BM_DrawPreparedImagesOnly)->Unit(benchmark::kMillisecond);

// A whole level of the 144 x 144 sample map (terrain everywhere, rivers and
// roads where the sample has them) drawn into one picture with sprites, at 32
// and at 8 pixels a cell.
void BM_RenderLevel144(benchmark::State &state)
{
    const TileSprites &sprites = loadedSprites();
    MapDocument document;
    document.mapSize = 144;
    document.ground = sampleSurface(144, 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(renderMapLevel(document, int(state.range(0)), false, &sprites));
    state.counters["cells"] = 144 * 144;
}
BENCHMARK(BM_RenderLevel144)->Arg(32)->Arg(8)->Unit(benchmark::kMillisecond);

// The floor of the level picture: one prepared terrain tile per cell, plus a
// river and a road tile on as many cells as the sample level has them.
void BM_DrawPreparedLevel144Only(benchmark::State &state)
{
    const TileSprites &sprites = loadedSprites();
    const TerrainLayer level = sampleSurface(144, 7);
    const QImage *terrain = sprites.prepared(TileKind::Terrain, 2, 5, false, false);
    const QImage *river = sprites.prepared(TileKind::River, 1, 3, false, false);
    const QImage *road = sprites.prepared(TileKind::Road, 1, 4, false, false);
    for (auto _ : state) {
        QImage canvas(144 * 32, 144 * 32, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&canvas);
        for (int row = 0; row < 144; ++row)
            for (int column = 0; column < 144; ++column) {
                const QPoint at(column * 32, row * 32);
                const TerrainCell &cell = level.at(row, column);
                painter.drawImage(at, *terrain);
                if (cell.rivtype != 0)
                    painter.drawImage(at, *river);
                if (cell.roadtype != 0)
                    painter.drawImage(at, *road);
            }
        benchmark::DoNotOptimize(canvas);
    }
}
BENCHMARK(BM_DrawPreparedLevel144Only)->Unit(benchmark::kMillisecond);

}  // namespace
