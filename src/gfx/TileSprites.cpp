// TileSprites: the tables of tile pictures.
#include "gfx/TileSprites.h"

#include "base/BaseReasons.h"
#include "base/Platform.h"
#include "base/WholeFile.h"
#include "gfx/BitmapHelpers.h"
#include "gfx/GfxReasons.h"
#include "gfx/GraphicsError.h"
#include "gfx/Lod.h"
#include "gfx/QvDefWrapper.h"
#include "gfx/TileDrawing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const std::array<TileSpriteName, 17> TileSpriteNames = {{
    {TileKind::Terrain, 0, "dirttl"},
    {TileKind::Terrain, 1, "sandtl"},
    {TileKind::Terrain, 2, "grastl"},
    {TileKind::Terrain, 3, "snowtl"},
    {TileKind::Terrain, 4, "swmptl"},
    {TileKind::Terrain, 5, "rougtl"},
    {TileKind::Terrain, 6, "subbtl"},
    {TileKind::Terrain, 7, "lavatl"},
    {TileKind::Terrain, 8, "watrtl"},
    {TileKind::Terrain, 9, "rocktl"},
    {TileKind::River, 1, "clrrvr"},
    {TileKind::River, 2, "icyrvr"},
    {TileKind::River, 3, "mudrvr"},
    {TileKind::River, 4, "lavrvr"},
    {TileKind::Road, 1, "dirtrd"},
    {TileKind::Road, 2, "gravrd"},
    {TileKind::Road, 3, "cobbrd"},
}};

namespace {

const QImage &nullImage()
{
    static const QImage empty;
    return empty;
}

// Terrain rows are the type itself; river and road rows start at type 1.
int rowForType(TileKind kind, int cellType)
{
    return kind == TileKind::Terrain ? cellType : cellType - 1;
}

QString defFileName(const TileSpriteName &name)
{
    return QString::fromLatin1(name.name) + QStringLiteral(".def");
}

}  // namespace

TileSprites::TileSprites()
    : m_terrain{TerrainRows, TerrainSlots, std::vector<Slot>(TerrainRows * TerrainSlots), {}}
    , m_river{RiverRows, RiverSlots, std::vector<Slot>(RiverRows * RiverSlots), {}}
    , m_road{RoadRows, RoadSlots, std::vector<Slot>(RoadRows * RoadSlots), {}}
{
}

TileLoadResult TileSprites::LoadTileSprites(TileSpriteSource &source)
{
    if (source.graphics == 0) {
        if (!source.gameFolder.isEmpty() && QFileInfo(source.gameFolder).isDir())
            return loadFromArchive(
                platform::findFile(source.gameFolder, {QStringLiteral("data"), QStringLiteral("vdsprite.lod")}));
        source.graphics = 1;
    }
    if (source.graphics == 1)
        return loadFromFolder(platform::findFile(QDir::currentPath(), {QStringLiteral("defs")}));
    return TileLoadResult::Finished;
}

TileLoadResult TileSprites::loadFromArchive(const QString &archivePath)
{
    m_loadWhy = {};
    m_loadError.clear();
    m_failedFile.clear();
    TLOD archive;
    archive.setFileName(archivePath);
    if (!archive.Open()) {
        failLoading(archivePath, Reason(reasons::GfxCannotOpenArchive, {archive.OpenWhy()}));
        return TileLoadResult::ArchiveNotOpened;
    }
    m_spriteScratch = QImage();
    for (const TileSpriteName &name : TileSpriteNames) {
        const QString entry = defFileName(name);
        const qint32 index = archive.IndexOf(entry.toLatin1());
        if (index < 0)
            return failLoading(archivePath, Reason(reasons::GfxNoEntryNamed, {entry}));
        try {
            archive.ExtractAt(quint16(index));
        } catch (const GraphicsError &error) {
            return failLoading(archivePath, error.why());
        } catch (const std::bad_alloc &) {
            return failLoading(archivePath, Reason(reasons::GfxInEntry, {entry, Reason(reasons::NotEnoughMemory)}));
        }
        if (const Reason reason = CopyDefFrames(archive.Data(), name.kind, name.index); !reason.isEmpty())
            return failLoading(archivePath, Reason(reasons::GfxInEntry, {entry, reason}));
    }
    return TileLoadResult::Finished;
}

TileLoadResult TileSprites::loadFromFolder(const QString &folder)
{
    m_loadWhy = {};
    m_loadError.clear();
    m_failedFile.clear();
    m_spriteScratch = QImage();
    for (const TileSpriteName &name : TileSpriteNames) {
        const QString path = platform::findFile(folder, {defFileName(name)});
        const WholeFile file = readWholeFile(path, TQvDefWrapper::MaxFileSize);
        if (!file.ok())
            return failLoading(path, file.why);
        if (const Reason reason = CopyDefFrames(file.bytes, name.kind, name.index); !reason.isEmpty())
            return failLoading(path, reason);
    }
    return TileLoadResult::Finished;
}

TileLoadResult TileSprites::failLoading(const QString &file, const Reason &reason)
{
    m_failedFile = file;
    m_loadWhy = Reason(reasons::GfxSpriteFile, {file, reason});
    m_loadError = m_loadWhy.english();
    // Slots filled before the failure keep their pictures; the next run refills them.
    m_spritesLoaded = false;
    m_spriteScratch = QImage();
    return TileLoadResult::Error;
}

Reason TileSprites::CopyDefFrames(const QByteArray &bytes, TileKind kind, int index)
{
    m_spritesLoaded = true;
    const int row = rowForType(kind, index);
    try {
        const TQvDefWrapper def(bytes);
        for (qint32 k = 0; k < def.frameCount(); ++k) {
            def.ExtractFrame(k, m_spriteScratch);
            fillSlot(kind, row, k, m_spriteScratch);
        }
        return {};
    } catch (const UnknownFrameEncoding &error) {
        m_spritesLoaded = false;
        return error.descriptionWhy();
    } catch (const GraphicsError &error) {
        m_spritesLoaded = false;
        return error.why();
    } catch (const std::bad_alloc &) {
        m_spritesLoaded = false;
        return Reason(reasons::GfxNoMemoryToDecode);
    }
}

void TileSprites::release()
{
    for (Table *t : {&m_terrain, &m_river, &m_road})
        std::fill(t->cells.begin(), t->cells.end(), Slot{});
    dropScaledPictures();
    m_spriteScratch = QImage();
    m_spritesLoaded = false;
}

const QImage &TileSprites::TerrainSprites(int row, int slot) const
{
    const Slot *s = slotAt(TileKind::Terrain, row, slot);
    return s ? s->bitmap : nullImage();
}

const QImage &TileSprites::RiverSprites(int row, int slot) const
{
    const Slot *s = slotAt(TileKind::River, row, slot);
    return s ? s->bitmap : nullImage();
}

const QImage &TileSprites::RoadSprites(int row, int slot) const
{
    const Slot *s = slotAt(TileKind::Road, row, slot);
    return s ? s->bitmap : nullImage();
}

const QImage *TileSprites::prepared(TileKind kind, int cellType, int sprite, bool leftToRight, bool upsideDown,
                                   int cellSize) const
{
    const Slot *s = slotAt(kind, rowForType(kind, cellType), sprite);
    if (!s || s->bitmap.isNull() || cellSize < MinCellSize || cellSize > MaxCellSize)
        return nullptr;
    const int variant = (leftToRight ? 1 : 0) | (upsideDown ? 2 : 0);
    const QImage &native = s->variants[variant];
    if (cellSize == NativeCellSize)
        return &native;
    const Table &t = table(kind);
    auto &scaled = t.scaled[size_t(cellSize)];
    if (!scaled)
        scaled = std::make_unique<std::vector<std::array<QImage, 4>>>(t.cells.size());
    QImage &picture = (*scaled)[size_t(s - t.cells.data())][size_t(variant)];
    if (picture.isNull()) {
        // Shrinking averages the pixels, so small tiles keep their look;
        // enlarging repeats them, so large tiles stay sharp.
        const QSize size(std::max(1, native.width() * cellSize / NativeCellSize),
                         std::max(1, native.height() * cellSize / NativeCellSize));
        picture = native.scaled(size, Qt::IgnoreAspectRatio,
                                cellSize < NativeCellSize ? Qt::SmoothTransformation : Qt::FastTransformation)
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    return &picture;
}

void TileSprites::dropScaledPictures()
{
    for (Table *t : {&m_terrain, &m_river, &m_road})
        for (auto &scaled : t->scaled)
            scaled.reset();
}

TileSprites::Table &TileSprites::table(TileKind kind)
{
    return kind == TileKind::Terrain ? m_terrain : kind == TileKind::River ? m_river : m_road;
}

const TileSprites::Table &TileSprites::table(TileKind kind) const
{
    return kind == TileKind::Terrain ? m_terrain : kind == TileKind::River ? m_river : m_road;
}

const TileSprites::Slot *TileSprites::slotAt(TileKind kind, int row, int slot) const
{
    const Table &t = table(kind);
    if (row < 0 || row >= t.rows || slot < 0 || slot >= t.slots)
        return nullptr;
    return &t.cells[size_t(row) * t.slots + slot];
}

void TileSprites::fillSlot(TileKind kind, int row, int slot, const QImage &bitmap)
{
    if (!slotAt(kind, row, slot))
        return;  // frames beyond the row have no place in the table
    Table &t = table(kind);
    dropScaledPictures();
    Slot &target = t.cells[size_t(row) * t.slots + slot];
    target.bitmap = bitmap;
    // Everything a paint needs is done here, once: mirroring, the transparent
    // colour, and the conversion to the painter's fastest format.
    for (int variant = 0; variant < 4; ++variant) {
        QImage work = bitmap.copy();
        if (kind != TileKind::Terrain)
            MakeTileTransparent(work);
        MirrorTile(work, variant & 1, variant & 2);
        target.variants[variant] = work.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
}
