// Benchmark of a full repaint of a 1920 x 1080 grid viewport (60 x 34 cells) in
// plain colours, on a map with rivers and roads.
#include "gfx/CellRenderer.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <random>

namespace {

MapDocument riverAndRoadMap(std::uint32_t side)
{
    MapDocument document;
    document.mapSize = side;
    document.ground = TerrainLayer(side);
    std::mt19937 random(7);
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const std::uint32_t value = random();
            // About a third of the cells have a river, a third a road.
            document.ground.at(row, column) = {std::uint8_t(value % 10), std::uint8_t(value % 45),
                                               std::uint8_t((value >> 8) % 3 == 0 ? 1 + (value >> 12) % 4 : 0), 0,
                                               std::uint8_t((value >> 16) % 3 == 0 ? 1 + (value >> 20) % 3 : 0), 0, 0};
        }
    document.isLoaded = true;
    return document;
}

void repaintViewport(benchmark::State &state, bool showConfigNumbers)
{
    const int columns = 60;
    const int rows = 34;
    const MapDocument document = riverAndRoadMap(144);
    const CellRenderContext context{document, {10, 20, columns, rows - 1}, showConfigNumbers, QFont()};
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                RenderCell(painter, QRect(column * 32, row * 32, 32, 32), context, context.view.leftCol + column,
                           context.view.topRow + row);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["cells"] = columns * rows;
}

void BM_RepaintViewportPlain(benchmark::State &state) { repaintViewport(state, false); }
void BM_RepaintViewportPlainWithNumbers(benchmark::State &state) { repaintViewport(state, true); }

}  // namespace

BENCHMARK(BM_RepaintViewportPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintViewportPlainWithNumbers)->Unit(benchmark::kMillisecond);
