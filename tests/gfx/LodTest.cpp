// Tests of TLOD, the sprite archive reader.
#include "gfx/Lod.h"

#include "TempDir.h"
#include "gfx/GraphicsError.h"
#include "writers/LodWriter.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

QByteArray payload(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed) % 251);
    return bytes;
}

const QByteArray Alpha = payload(5000, 1);
const QByteArray Beta = payload(20000, 2);  // several inflate blocks when packed
const QByteArray Gamma = payload(7, 3);

QByteArray sampleArchive()
{
    return LodWriter()
        .add("gamma.def", Gamma, LodWriter::Packing::Stored)
        .add("alpha.def", Alpha, LodWriter::Packing::Packed)
        .add("beta.def", Beta, LodWriter::Packing::Packed)
        .write();
}

struct OpenArchive {
    TempDir dir;
    TLOD lod;
    explicit OpenArchive(const QByteArray &bytes)
    {
        lod.setFileName(dir.write("vdsprite.lod", bytes));
        EXPECT_TRUE(lod.Open());
    }
};

qint32 entryField(const QByteArray &archive, int entry, int field)
{
    const auto *p = reinterpret_cast<const uchar *>(archive.constData() + LodWriter::entryOffset(entry) + field);
    return qint32(p[0] | p[1] << 8 | p[2] << 16 | uint(p[3]) << 24);
}

void setEntryField(QByteArray &archive, int entry, int field, qint32 value)
{
    for (int i = 0; i < 4; ++i)
        archive[LodWriter::entryOffset(entry) + field + i] = char((quint32(value) >> (8 * i)) & 0xFF);
}

TEST(CompareLodName, FoldsOnlyAsciiCapitals)
{
    struct Case {
        QByteArray entry, key;
        int sign;
    };
    const Case cases[] = {
        {"dirttl.def", "DIRTTL.DEF", 0},
        {"dirttl.def", "dirttl.def", 0},
        {"abc", "abd", -1},
        {"abd", "abc", 1},
        {"ab", "abc", -1},       // the shorter name ends first
        {"abc", "ab", 1},
        {"x[", "x{", -1},        // '[' is not a capital: no folding
        {"x\xc9", "x\xe9", -1},  // nor is anything outside A-Z
        {"zzz", "", -1},         // an empty key sorts after every name
        {QByteArray(16, 'a'), QByteArray(16, 'A'), 0},  // a name filling its whole field
    };
    for (const Case &c : cases) {
        const int r = compareLodName(c.entry, c.key);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.entry.constData() << " vs " << c.key.constData();
    }
}

TEST(TLOD, IndexOfFindsNamesOrGivesTheComplementOfTheInsertionPoint)
{
    OpenArchive archive(sampleArchive());
    ASSERT_EQ(archive.lod.Count(), 3);
    EXPECT_EQ(archive.lod.Entries()[0].nameBytes(), "alpha.def");
    EXPECT_EQ(archive.lod.IndexOf("alpha.def"), 0);
    EXPECT_EQ(archive.lod.IndexOf("BETA.DEF"), 1);
    EXPECT_EQ(archive.lod.IndexOf("Gamma.Def"), 2);
    EXPECT_EQ(archive.lod.IndexOf("aaa"), ~0);
    EXPECT_EQ(archive.lod.IndexOf("delta.def"), ~2);
    EXPECT_EQ(archive.lod.IndexOf("zzz"), ~3);
    EXPECT_EQ(archive.lod.IndexOf(""), ~3);
}

TEST(TLOD, ExtractsStoredAndPackedEntriesAndReplacesData)
{
    OpenArchive archive(sampleArchive());
    archive.lod.Extract("BETA.DEF");
    EXPECT_EQ(archive.lod.Data(), Beta);
    archive.lod.Extract("gamma.def");
    EXPECT_EQ(archive.lod.Data(), Gamma);  // nothing of the longer first entry is left
    archive.lod.ExtractAt(0);
    EXPECT_EQ(archive.lod.Data(), Alpha);
}

TEST(TLOD, ExtractWritesTheDestinationFile)
{
    OpenArchive archive(sampleArchive());
    const QString out = archive.dir.filePath("out/alpha.def");
    archive.lod.Extract("alpha.def", out);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Alpha);
}

TEST(TLOD, IndexAtOrBeyondCountRaisesListIndexError)
{
    OpenArchive archive(sampleArchive());
    try {
        archive.lod.ExtractAt(3);
        FAIL() << "no error raised";
    } catch (const ELodException &error) {
        EXPECT_EQ(error.message(), "List index out of bounds (3)");
    }
    EXPECT_THROW(archive.lod.Extract(""), ELodException);
    EXPECT_THROW(archive.lod.Extract("aaa.def"), ELodException);
}

TEST(TLOD, AMissingNameNeverExtractsAnotherEntryInALargeArchive)
{
    // With 40000 entries the low 16 bits of a complement name an existing entry.
    LodWriter writer;
    for (int i = 0; i < 40000; ++i)
        writer.add(QByteArray("e") + QByteArray::number(i).rightJustified(5, '0'), QByteArray::number(i));
    OpenArchive archive(writer.write());
    ASSERT_EQ(archive.lod.Count(), 40000);
    EXPECT_LT(quint16(archive.lod.IndexOf("zzz")), 40000);
    EXPECT_THROW(archive.lod.Extract("zzz"), ELodException);
    archive.lod.Extract("e39999");
    EXPECT_EQ(archive.lod.Data(), "39999");
}

TEST(TLOD, ANameFoundBeyondSixteenBitIndicesIsRefusedLikeAMissingOne)
{
    // Entries 65536 and 65537 would be cut to indices 0 and 1 of 16 bits.
    LodWriter writer;
    for (int i = 0; i < 65538; ++i)
        writer.add(QByteArray("e") + QByteArray::number(i).rightJustified(6, '0'), QByteArray::number(i));
    OpenArchive archive(writer.write());
    ASSERT_EQ(archive.lod.IndexOf("e065537"), 65537);
    for (const auto &[name, index] : {std::pair{"e065536", 65536}, {"E065537", 65537}}) {
        try {
            archive.lod.Extract(name);
            FAIL() << name << " gave " << archive.lod.Data().constData();
        } catch (const ELodException &error) {
            EXPECT_EQ(error.message(), QStringLiteral("List index out of bounds (%1)").arg(index));
        }
    }
    archive.lod.Extract("e065535");
    EXPECT_EQ(archive.lod.Data(), "65535");
}

TEST(TLOD, OpenIgnoresTheFirstEightBytes)
{
    QByteArray bytes = sampleArchive();
    bytes.replace(0, 8, QByteArray("\xff\x00garbl!", 8));
    OpenArchive archive(bytes);
    EXPECT_EQ(archive.lod.Count(), 3);
}

TEST(TLOD, OpenFailsOnAShortOrImpossibleTable)
{
    const QByteArray good = sampleArchive();
    QByteArray hugeCount = good;
    hugeCount.replace(8, 4, "\xff\xff\xff\x7f");
    QByteArray negativeCount = good;
    negativeCount.replace(8, 4, "\xfe\xff\xff\xff");
    QByteArray tooManyEntries = good;
    tooManyEntries.replace(8, 4, QByteArray::fromHex("01001000"));  // one more than MaxEntries
    struct Case {
        QByteArray bytes;
        QString reason;
    };
    const Case cases[] = {
        {good.left(92 + 3 * 32 - 1), "damaged: its table of 3 entries runs past its end"},
        {good.left(11), "too short for a sprite archive (11 bytes)"},
        {hugeCount, "not a sprite archive: it claims 2147483647 entries"},
        {negativeCount, "not a sprite archive: it claims -2 entries"},
        {tooManyEntries, "not a sprite archive: it claims 1048577 entries"},
    };
    for (const Case &c : cases) {
        TempDir dir;
        TLOD lod;
        lod.setFileName(dir.write("bad.lod", c.bytes));
        EXPECT_FALSE(lod.Open());
        EXPECT_EQ(lod.Count(), 0);
        EXPECT_EQ(lod.OpenError(), c.reason);
    }
    TempDir dir;
    TLOD missing;
    missing.setFileName(dir.filePath("none.lod"));
    EXPECT_FALSE(missing.Open());
    EXPECT_EQ(missing.OpenError(), QStringLiteral("no such file"));
    TLOD folder;
    folder.setFileName(dir.path());
    EXPECT_FALSE(folder.Open());
    EXPECT_EQ(folder.OpenError(), QStringLiteral("it is a folder"));
}

TEST(TLOD, EntriesThatCannotBeReadWhollyRaiseInsteadOfReturningZeros)
{
    // Entry 0 is alpha (packed), 1 beta (packed), 2 gamma (stored, last in the file).
    const QByteArray good = sampleArchive();
    struct Case {
        const char *name;
        int entry;
        std::function<void(QByteArray &)> damage;
    };
    const Case cases[] = {
        {"position past the end", 2, [](QByteArray &a) { setEntryField(a, 2, 16, a.size() + 1); }},
        {"negative position", 2, [](QByteArray &a) { setEntryField(a, 2, 16, -1); }},
        {"stored size past the end", 2, [](QByteArray &a) { setEntryField(a, 2, 20, entryField(a, 2, 20) + 1); }},
        {"negative size", 0, [](QByteArray &a) { setEntryField(a, 0, 20, -5); }},
        {"packed stream cut by the end", 1, [](QByteArray &a) { a.truncate(entryField(a, 1, 16) + 100); }},
        {"packed stream shorter than its size", 0, [](QByteArray &a) { setEntryField(a, 0, 20, Alpha.size() + 1); }},
        {"corrupt packed stream", 0, [](QByteArray &a) { a[entryField(a, 0, 16)] = char(0x00); }},
        {"absurd unpacked size", 0, [](QByteArray &a) { setEntryField(a, 0, 20, 0x7fffffff); }},
    };
    for (const Case &c : cases) {
        QByteArray bytes = good;
        c.damage(bytes);
        OpenArchive archive(bytes);
        EXPECT_THROW(archive.lod.ExtractAt(quint16(c.entry)), StreamReadError) << c.name;
    }
}

}  // namespace
