// The parallel gzip writer: one member that zlib and the gzip program read
// back, for tiny, empty and odd-sized data in pieces and segments of every
// awkward size, at every compression level, the same bytes whatever the
// number of workers, and nearly the size of one plain deflate stream.
#include "map/GzipMemberWriter.h"
#include "writers/SampleMap.h"

#include <QProcess>
#include <QStandardPaths>

#include <zlib.h>

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace {

QByteArray sampleBytes(qsizetype length)
{
    QByteArray bytes(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = char(((i * i) >> 5 ^ i / 11) & 0xFF);
    return bytes;
}

std::uint32_t u32At(const QByteArray &bytes, qsizetype offset)
{
    return std::uint8_t(bytes[offset]) | std::uint8_t(bytes[offset + 1]) << 8 | std::uint8_t(bytes[offset + 2]) << 16
        | std::uint32_t(std::uint8_t(bytes[offset + 3])) << 24;
}

// The member written for data cut into segments at the given lengths (the
// last segment takes the rest).
QByteArray memberOf(const QByteArray &data, const std::vector<qsizetype> &cuts, GzipWriteOptions options)
{
    std::vector<QByteArrayView> segments;
    qsizetype at = 0;
    for (const qsizetype cut : cuts) {
        segments.push_back(QByteArrayView(data).sliced(at, cut));
        at += cut;
    }
    segments.push_back(QByteArrayView(data).sliced(at));
    QByteArray member;
    const bool written = writeGzipMember(segments, [&](QByteArrayView bytes) {
        member.append(bytes);
        return true;
    }, options);
    EXPECT_TRUE(written);
    return member;
}

// The content of a member read by zlib as exactly one member: the stream ends
// at the member's last byte.
std::optional<QByteArray> inflateOneMember(const QByteArray &member, qsizetype length)
{
    QByteArray out(length + 1, '\0');
    z_stream z{};
    if (inflateInit2(&z, MAX_WBITS + 16) != Z_OK)
        return std::nullopt;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(member.data()));
    z.avail_in = uInt(member.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    const int status = inflate(&z, Z_FINISH);
    const bool whole = status == Z_STREAM_END && z.avail_in == 0;
    out.truncate(qsizetype(z.total_out));
    inflateEnd(&z);
    return whole ? std::optional<QByteArray>(out) : std::nullopt;
}

struct WriterCase {
    const char *name;
    qsizetype length;
    std::vector<qsizetype> cuts;  // segment lengths in front of the last segment
    qsizetype pieceSize;
};

class GzipMemberWriterTest : public ::testing::TestWithParam<WriterCase> {};

TEST_P(GzipMemberWriterTest, OneMemberThatZlibReadsBackTheSameForAnyWorkers)
{
    const WriterCase &c = GetParam();
    const QByteArray data = sampleBytes(c.length);
    const QByteArray member = memberOf(data, c.cuts, {c.pieceSize, 2});
    ASSERT_GE(member.size(), 20);
    EXPECT_EQ(member.first(10), QByteArray::fromHex("1f8b0800000000000000"));
    EXPECT_EQ(u32At(member, member.size() - 8), crc32(0, reinterpret_cast<const Bytef *>(data.data()), uInt(data.size())));
    EXPECT_EQ(u32At(member, member.size() - 4), std::uint32_t(c.length));
    const std::optional<QByteArray> inflated = inflateOneMember(member, c.length);
    ASSERT_TRUE(inflated.has_value());
    EXPECT_EQ(*inflated, data);
    // Thread timing and the number of workers change nothing.
    EXPECT_EQ(memberOf(data, c.cuts, {c.pieceSize, 1}), member);
    EXPECT_EQ(memberOf(data, c.cuts, {c.pieceSize, 2}), member);
    EXPECT_EQ(memberOf(data, c.cuts, {c.pieceSize, 5}), member);
}

INSTANTIATE_TEST_SUITE_P(
    Data, GzipMemberWriterTest,
    ::testing::Values(WriterCase{"Empty", 0, {}, 1024},
                      WriterCase{"EmptySegmentsOnly", 0, {0, 0, 0}, 1},
                      WriterCase{"OneByte", 1, {}, 1},
                      WriterCase{"TinyInBytePieces", 9, {2, 0, 3}, 1},
                      WriterCase{"EndsOnAPieceBoundary", 3 * 4096, {4096}, 4096},
                      WriterCase{"LastPieceOneByte", 3 * 4096 + 1, {}, 4096},
                      WriterCase{"OddSizesAndSeams", 100003, {7, 0, 40000, 1}, 4099},
                      WriterCase{"PiecesLargerThanTheWindow", 300007, {131071}, 65537},
                      WriterCase{"OnePieceOfEverything", 70001, {17}, 1 << 20}),
    [](const ::testing::TestParamInfo<WriterCase> &info) { return std::string(info.param.name); });

TEST(GzipMemberWriter, TheGzipProgramReadsTheMemberAtTheDefaultAndTheFastLevel)
{
    const QString gzip = QStandardPaths::findExecutable(QStringLiteral("gzip"));
    if (gzip.isEmpty())
        GTEST_SKIP() << "no gzip program";
    const QByteArray data = sampleBytes(200003);
    for (const int level : {-1, 1}) {
        SCOPED_TRACE(level);
        QProcess process;
        process.start(gzip, {QStringLiteral("-dc")});
        ASSERT_TRUE(process.waitForStarted());
        process.write(memberOf(data, {5, 99999}, {8191, 2, level}));
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished());
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_EQ(process.readAllStandardOutput(), data);
    }
}

TEST(GzipMemberWriter, EveryLevelWritesOneMemberThatReadsBackTheSame)
{
    // Terrain in pieces smaller than the window, across segment seams: each
    // level's flushes and priming must join into one stream as the default's do.
    const QByteArray data = sampleMap("Levels", 120, true, 120).data();
    const std::vector<qsizetype> cuts = {1001, 0, 50000};
    std::vector<qsizetype> sizes;
    for (int level = 0; level <= 9; ++level) {
        SCOPED_TRACE(level);
        const QByteArray member = memberOf(data, cuts, {20011, 2, level});
        EXPECT_EQ(member.first(10), QByteArray::fromHex("1f8b0800000000000000"));
        EXPECT_EQ(inflateOneMember(member, data.size()), data);
        EXPECT_EQ(memberOf(data, cuts, {20011, 1, level}), member);
        sizes.push_back(member.size());
    }
    // The level is the one asked for: stored data is the largest, and the
    // default level is level 6.
    EXPECT_GT(sizes[0], data.size());
    EXPECT_LT(sizes[1], sizes[0]);
    EXPECT_LT(sizes[6], sizes[1]);
    EXPECT_EQ(memberOf(data, cuts, {20011, 2, -1}), memberOf(data, cuts, {20011, 2, 6}));
}

TEST(GzipMemberWriter, PiecesCostLittleAgainstOnePlainStream)
{
    // Sample terrain in the default pieces: within 1 % of one deflate stream.
    const QByteArray data = sampleMap("Size", 600, true, 600).data();
    const QByteArray member = memberOf(data, {}, {});
    uLongf plainLength = compressBound(uLong(data.size()));
    QByteArray plain(qsizetype(plainLength), Qt::Uninitialized);
    ASSERT_EQ(compress2(reinterpret_cast<Bytef *>(plain.data()), &plainLength,
                        reinterpret_cast<const Bytef *>(data.data()), uLong(data.size()), Z_DEFAULT_COMPRESSION),
              Z_OK);
    EXPECT_LE(double(member.size()), 1.01 * double(plainLength));
    EXPECT_EQ(inflateOneMember(member, data.size()), data);
}

TEST(GzipMemberWriter, AWriteThatFailsStopsTheMember)
{
    const QByteArray data = sampleBytes(50000);
    const QByteArrayView segments[] = {data};
    int writes = 0;
    EXPECT_FALSE(writeGzipMember(segments, [&](QByteArrayView) { return ++writes < 3; }, {1000, 2}));
    EXPECT_EQ(writes, 3);
}

TEST(GzipMemberWriter, ReportsProgressAtAModestRate)
{
    const QByteArray data = sampleBytes(ProgressMeter::Step * 3 + 5);
    const QByteArrayView segments[] = {data};
    std::vector<std::pair<qint64, qint64>> reports;
    EXPECT_TRUE(writeGzipMember(segments, [](QByteArrayView) { return true; }, {4096, 2},
                                [&](qint64 done, qint64 total) { reports.emplace_back(done, total); }));
    ASSERT_GE(reports.size(), 3u);
    EXPECT_LE(reports.size(), std::size_t(ProgressMeter::Reports + 2));  // never per piece of 4 KiB
    using Report = std::pair<qint64, qint64>;
    EXPECT_EQ(reports.front(), Report(0, data.size()));
    EXPECT_EQ(reports.back(), Report(data.size(), data.size()));
    for (std::size_t i = 1; i < reports.size(); ++i)
        EXPECT_GE(reports[i].first, reports[i - 1].first);
}

}  // namespace
