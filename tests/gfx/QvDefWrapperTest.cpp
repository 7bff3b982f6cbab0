// Tests of TQvDefWrapper, the sprite file decoder.
#include "gfx/QvDefWrapper.h"

#include "gfx/GraphicsError.h"
#include "writers/ByteWriter.h"
#include "writers/DefWriter.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The 784 bytes before the groups, with palette entry i = (i, 255 - i, 7).
ByteWriter defHead(qint32 groupCount)
{
    ByteWriter out;
    out.zeros(12).i32(groupCount);
    for (int i = 0; i < 256; ++i)
        out.u8(std::uint8_t(i)).u8(std::uint8_t(255 - i)).u8(7);
    return out;
}

QList<uchar> pixelsOf(const QImage &image)
{
    QList<uchar> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.append(uchar(image.pixelIndex(x, y)));
    return pixels;
}

QImage decodeOnly(const DefFrame &frame)
{
    const TQvDefWrapper def(DefWriter().addGroup({frame}).write());
    QImage image;
    def.ExtractFrame(0, image);
    return image;
}

TEST(TQvDefWrapper, ChecksTheGroupStructureAgainstTheFileSize)
{
    EXPECT_EQ(TQvDefWrapper(defHead(0).data()).frameCount(), 0);
    EXPECT_THROW(TQvDefWrapper(defHead(0).data().left(783)), StreamReadError);

    // One group of two frames whose position table ends exactly at the end.
    ByteWriter exact = defHead(1);
    exact.i32(0).i32(2).zeros(8).zeros(26).i32(0).i32(0);
    EXPECT_EQ(TQvDefWrapper(exact.data()).frameCount(), 2);
    EXPECT_THROW(TQvDefWrapper(exact.data().chopped(1)), StreamReadError);

    ByteWriter shortHeader = defHead(1);
    shortHeader.zeros(15);  // the group header itself runs past the end
    EXPECT_THROW(TQvDefWrapper(shortHeader.data()), StreamReadError);

    ByteWriter negative = defHead(1);
    negative.i32(0).i32(-1).zeros(8);
    EXPECT_THROW(TQvDefWrapper(negative.data()), StreamReadError);

    try {
        TQvDefWrapper(QByteArray(10, '\0'));
    } catch (const StreamReadError &error) {
        EXPECT_EQ(error.message(), "Def file is invalid");
    }
}

TEST(TQvDefWrapper, NumbersFramesAcrossGroupsAndUsesTheFilePalette)
{
    const auto solid = [](uchar index) {
        DefFrame frame;
        frame.spriteWidth = frame.spriteHeight = frame.fullWidth = frame.fullHeight = 2;
        frame.pixels = QByteArray(4, char(index));
        return frame;
    };
    QList<QRgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = qRgb(i, 0, 255 - i);
    const TQvDefWrapper def(
        DefWriter().setPalette(palette).addGroup({solid(10), solid(11), solid(12)}).addGroup({solid(20), solid(21)}).write());
    ASSERT_EQ(def.frameCount(), 5);
    const uchar expected[] = {10, 11, 12, 20, 21};
    QImage image;
    for (int k = 0; k < 5; ++k) {
        def.ExtractFrame(k, image);
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        EXPECT_EQ(image.pixelIndex(1, 1), expected[k]) << "frame " << k;
    }
    EXPECT_EQ(image.colorTable(), palette);
}

struct EncodingCase {
    const char *name;
    int format, width, height;
    QByteArray data;
    QList<uchar> expected;
};

QList<uchar> repeated(int count, uchar value)
{
    return QList<uchar>(count, value);
}

void PrintTo(const EncodingCase &c, std::ostream *out)
{
    *out << c.name;
}

class EncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, DecodesTheStoredBytes)
{
    const EncodingCase c = GetParam();
    DefFrame frame;
    frame.format = c.format;
    frame.fullWidth = frame.spriteWidth = c.width;
    frame.fullHeight = frame.spriteHeight = c.height;
    frame.rawData = c.data;
    EXPECT_EQ(pixelsOf(decodeOnly(frame)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, EncodingTest,
    ::testing::Values(
        EncodingCase{"raw", 0, 3, 2, QByteArray("\x01\x02\x03\x04\x05\x06"), {1, 2, 3, 4, 5, 6}},
        // (255, 0) is one literal byte; (5, 31) is 32 pixels of index 5.
        EncodingCase{"two_byte_segments", 1, 33, 1, QByteArray("\x04\0\0\0\xff\x00\x77\x05\x1f", 9),
                     QList<uchar>{0x77} + repeated(32, 5)},
        // 0xE3 is four literal bytes; 0x45 six pixels of index 2.
        EncodingCase{"one_byte_segments", 2, 10, 1, QByteArray("\x02\x00\xe3\x09\x08\x07\x06\x45", 8),
                     QList<uchar>{9, 8, 7, 6, 2, 2, 2, 2, 2, 2}},
        // A segment longer than the row loses its surplus; each row starts at its own offset.
        EncodingCase{"surplus_dropped", 2, 3, 2, QByteArray("\x04\x00\x05\x00\x45\xe0\x09\x01", 8), {2, 2, 2, 9, 0, 0}},
        EncodingCase{"pieces_of_32", 3, 64, 1, QByteArray("\x04\x00\x05\x00\x7f\xdf", 6),
                     repeated(32, 3) + repeated(32, 6)},
        // A width that is not a multiple of 32: pieces fill the block one after another.
        EncodingCase{"pieces_misaligned", 3, 40, 2, QByteArray("\x04\x00\x05\x00\x3f\x5f", 6),
                     repeated(32, 1) + repeated(32, 2) + repeated(16, 0)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TQvDefWrapper, ReadsTheSixteenByteHeaderOfOversizedEncodingOneFrames)
{
    // Row offsets 8 and 10 stand where the block size would be: both exceed
    // the 2 x 2 picture, so there are no margins and the data starts at once.
    DefFrame frame;
    frame.format = 1;
    frame.fullWidth = frame.fullHeight = 2;
    frame.shortHeader = true;
    frame.rawData = QByteArray("\x08\0\0\0\x0a\0\0\0\x07\x01\xff\x01\x04\x05", 14);
    EXPECT_EQ(pixelsOf(decodeOnly(frame)), (QList<uchar>{7, 7, 4, 5}));

    // Another encoding with the same sizes keeps its full header and is clipped.
    DefFrame raw;
    raw.format = 0;
    raw.fullWidth = raw.fullHeight = 2;
    raw.spriteWidth = raw.spriteHeight = 3;
    raw.pixels = QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09");
    EXPECT_EQ(pixelsOf(decodeOnly(raw)), (QList<uchar>{1, 2, 4, 5}));
}

TEST(TQvDefWrapper, PlacesTheBlockAtItsMarginsClippedToThePicture)
{
    const QPoint margins[] = {{6, 4}, {28, 30}, {-3, -2}};
    for (const QPoint margin : margins) {
        DefFrame frame;
        frame.format = 2;
        frame.spriteWidth = 20;
        frame.spriteHeight = 10;
        frame.leftMargin = margin.x();
        frame.topMargin = margin.y();
        for (int i = 0; i < 200; ++i)
            frame.pixels.append(char(10 + i % 90));
        const QImage image = decodeOnly(frame);
        ASSERT_EQ(image.size(), QSize(32, 32));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int bx = x - margin.x(), by = y - margin.y();
                const bool inside = bx >= 0 && bx < 20 && by >= 0 && by < 10;
                ASSERT_EQ(image.pixelIndex(x, y), inside ? 10 + (by * 20 + bx) % 90 : 0)
                    << "margins " << margin.x() << "," << margin.y() << " pixel " << x << "," << y;
            }
    }
}

TEST(TQvDefWrapper, UnknownEncodingIsAnAssertionFailureThatLeavesTheBitmap)
{
    // Also when the header's sizes are absurd: the encoding is looked at first.
    for (const int side : {32, 1 << 20}) {
        DefFrame frame;
        frame.format = 4;
        frame.fullWidth = frame.spriteWidth = side;
        frame.rawData = QByteArray(1024, '\0');
        const TQvDefWrapper def(DefWriter().addGroup({frame}).write());
        QImage image(5, 5, QImage::Format_Indexed8);
        const qint64 before = image.cacheKey();
        try {
            def.ExtractFrame(0, image);
            ADD_FAILURE() << "no assertion for side " << side;
        } catch (const UnknownFrameEncoding &failure) {
            // The designed message, and what a caller naming the file needs.
            EXPECT_EQ(failure.message(), "Assertion failure");
            EXPECT_EQ(failure.source(), "qvdef");
            EXPECT_EQ(failure.line(), 436);
            EXPECT_EQ(failure.description(), "frame 0 has the unknown pixel encoding 4");
        }
        EXPECT_EQ(image.cacheKey(), before);
    }
}

TEST(TQvDefWrapper, HostileFramesEndInAnErrorInsteadOfAReadOutside)
{
    const auto oneFrame = [](int format, int width, int height, const QByteArray &data) {
        DefFrame frame;
        frame.format = format;
        frame.fullWidth = frame.spriteWidth = width;
        frame.fullHeight = frame.spriteHeight = height;
        frame.rawData = data;
        return DefWriter().addGroup({frame}).write();
    };
    const qsizetype positionOfFrame0 = 784 + 16 + 13;
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    QByteArray framePastEnd = oneFrame(0, 1, 1, "\x01");
    framePastEnd.replace(positionOfFrame0, 4, QByteArray("\xf0\xff\x00\x00", 4));
    QByteArray headerCut = oneFrame(0, 1, 1, "\x01");
    headerCut.truncate(headerCut.size() - 10);
    const Case cases[] = {
        {"frame position past the end", framePastEnd},
        {"frame header cut short", headerCut},
        {"raw block past the end", oneFrame(0, 4, 4, "\x01\x02")},
        {"row table past the end", oneFrame(1, 4, 4, QByteArray("\x10\0\0\0", 4))},
        {"row offset past the end", oneFrame(1, 1, 1, QByteArray("\x00\x00\x01\x00", 4))},
        {"literal past the end", oneFrame(2, 8, 1, QByteArray("\x02\x00\xe7\x01", 4))},
        {"segments end before the row", oneFrame(2, 8, 1, QByteArray("\x02\x00\x41", 3))},
        {"piece offset past the end", oneFrame(3, 32, 1, QByteArray("\xff\x7f", 2))},
        {"absurd picture size", oneFrame(0, 100000, 100000, "")},
        {"negative block size", oneFrame(2, -4, 2, "")},
    };
    for (const Case &c : cases) {
        QImage image;
        try {
            const TQvDefWrapper def(c.bytes);
            def.ExtractFrame(0, image);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const StreamReadError &error) {
            EXPECT_EQ(error.message(), "Def file is invalid") << c.name;
        }
    }
    const TQvDefWrapper def(oneFrame(0, 1, 1, "\x01"));
    QImage image;
    EXPECT_THROW(def.ExtractFrame(1, image), ELodException);
    EXPECT_THROW(def.ExtractFrame(-1, image), ELodException);
}

}  // namespace
