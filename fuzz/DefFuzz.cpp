// Fuzz target of the sprite decoder: the input is a sprite file; every frame
// is extracted (up to a budget that keeps one input fast). Errors must come out
// as GraphicsError.
#include "FuzzSeeds.h"
#include "LodDefSeeds.h"

#include "gfx/GraphicsError.h"
#include "gfx/QvDefWrapper.h"

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    return writeSeedsIfAsked(argc, argv, writeDefSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr qint32 MaxFrames = 64;
    try {
        const TQvDefWrapper def(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        QImage frame;
        for (qint32 k = 0; k < std::min(def.frameCount(), MaxFrames); ++k) {
            try {
                def.ExtractFrame(k, frame);
            } catch (const GraphicsError &) {
            }
        }
    } catch (const GraphicsError &) {
    }
    return 0;
}
