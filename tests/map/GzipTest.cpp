// Gzip members as the editor writes them, and inflating as the map loader does:
// joined members, ignored trailing bytes, and refusals of damaged streams.
#include "map/Gzip.h"
#include "writers/ByteWriter.h"
#include "writers/MapWriter.h"

#include <zlib.h>

#include <gtest/gtest.h>

namespace {

QByteArray sampleBytes(qsizetype length)
{
    QByteArray bytes(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = char((i * i + i / 7) & 0xFF);
    return bytes;
}

std::uint32_t u32At(const QByteArray &bytes, qsizetype offset)
{
    return std::uint8_t(bytes[offset]) | std::uint8_t(bytes[offset + 1]) << 8 | std::uint8_t(bytes[offset + 2]) << 16
        | std::uint32_t(std::uint8_t(bytes[offset + 3])) << 24;
}

constexpr qsizetype NoLimit = qsizetype(1) << 40;

TEST(GzipMember, HeaderTrailerAndRoundTrip)
{
    for (const qsizetype length : {qsizetype(0), qsizetype(1), qsizetype(5000), qsizetype(300000)}) {
        SCOPED_TRACE(length);
        const QByteArray data = sampleBytes(length);
        const QByteArray member = gzipMember(data);
        ASSERT_GE(member.size(), 18);
        EXPECT_EQ(member.first(10), QByteArray::fromHex("1f8b0800000000000000"));
        EXPECT_EQ(u32At(member, member.size() - 8), crc32(0, reinterpret_cast<const Bytef *>(data.data()), uInt(data.size())));
        EXPECT_EQ(u32At(member, member.size() - 4), std::uint32_t(length));
        const GzipInflateResult inflated = inflateGzip(member, NoLimit);
        ASSERT_TRUE(inflated.ok()) << inflated.error.toStdString();
        EXPECT_EQ(inflated.data, data);
    }
}

TEST(GzipInflate, ReadsLikeTheGameReader)
{
    const QByteArray first = sampleBytes(3000);
    const QByteArray second = QByteArray("a second member");
    struct Case {
        const char *name;
        QByteArray stream;
        QByteArray expected;
    };
    const Case cases[] = {
        {"file-name flag", gzipWithHeaderText(first, 0x08, "Lakes36.vdm"), first},
        {"comment flag", gzipWithHeaderText(first, 0x10, "a comment"), first},
        {"members in a row are joined", gzipMember(first) + gzipMember(second), first + second},
        {"bytes behind the member are ignored", gzipMember(first) + "not gzip", first},
        {"a single stray byte behind the member is ignored", gzipMember(first) + QByteArray(1, '\x1F'), first},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const GzipInflateResult inflated = inflateGzip(c.stream, NoLimit);
        ASSERT_TRUE(inflated.ok()) << inflated.error.toStdString();
        EXPECT_EQ(inflated.data, c.expected);
    }
}

TEST(GzipInflate, RefusesDamagedStreams)
{
    const QByteArray data = sampleBytes(20000);
    const QByteArray member = gzipMember(data);
    const auto withByte = [&](qsizetype offset, char value) {
        QByteArray changed = member;
        changed[offset] = value;
        return changed;
    };
    const auto flipped = [&](qsizetype offset) { return withByte(offset, char(member[offset] ^ 0x55)); };
    struct Case {
        const char *name;
        QByteArray stream;
        const char *reason;
    };
    const Case cases[] = {
        {"header only", member.first(10), "truncated at byte 10"},
        {"cut inside the deflate data", member.first(member.size() / 2), "truncated"},
        {"cut inside the trailer", member.first(member.size() - 3), "truncated"},
        {"second member cut short", member + member.first(40), "truncated"},
        {"wrong CRC-32", flipped(member.size() - 6), "corrupt"},
        {"wrong length", flipped(member.size() - 2), "corrupt"},
        {"reserved block type", withByte(10, '\x07'), "corrupt at byte 11"},
        {"unknown compression method", withByte(2, '\x07'), "corrupt"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const GzipInflateResult inflated = inflateGzip(c.stream, NoLimit);
        EXPECT_FALSE(inflated.ok());
        EXPECT_TRUE(inflated.data.isEmpty());
        EXPECT_TRUE(inflated.error.contains(QLatin1String(c.reason))) << inflated.error.toStdString();
    }
}

TEST(GzipInflate, LimitsTheContentWhileInflating)
{
    const QByteArray data = sampleBytes(100000);
    const QByteArray member = gzipMember(data);
    EXPECT_TRUE(inflateGzip(member, data.size()).ok());
    const GzipInflateResult justOver = inflateGzip(member, data.size() - 1);
    EXPECT_FALSE(justOver.ok());
    EXPECT_EQ(justOver.error, QStringLiteral("decompressed map data larger than 99999 bytes"));

    // A small stream of zeros that would inflate to 64 MiB, and one whose
    // trailer lies about its length.
    const QByteArray bomb = gzipMember(QByteArray(64 * 1024 * 1024, '\0'));
    ASSERT_LT(bomb.size(), 100 * 1024);
    EXPECT_FALSE(inflateGzip(bomb, 1024 * 1024).ok());
    QByteArray lying = member;
    lying.replace(lying.size() - 4, 4, QByteArray::fromHex("ffffff7f"));
    EXPECT_FALSE(inflateGzip(lying, 1024 * 1024).ok());
}

}  // namespace
