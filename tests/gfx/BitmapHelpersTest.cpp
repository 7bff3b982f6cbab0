// Tests of the pixel helpers.
#include "gfx/BitmapHelpers.h"

#include "gfx/GraphicsError.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr uchar Untouched = 0xEE;

QImage bitmap8(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(256, qRgb(0, 0, 0)));
    image.fill(uint(Untouched));
    return image;
}

// A block of width x height bytes, each distinct enough to show misplacement.
QByteArray numberedBlock(int width, int height)
{
    QByteArray block(width * height, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(1 + i % 200);
    return block;
}

struct CopyCase {
    const char *name;
    int left, top, width, height;
};

void PrintTo(const CopyCase &c, std::ostream *out)
{
    *out << c.name;
}

class CopyPixelsToBitmapTest : public ::testing::TestWithParam<CopyCase> {};

// Every pixel either comes from the block at (x - left, y - top) or stays as it was.
TEST_P(CopyPixelsToBitmapTest, CopiesTheClippedBlockAndNothingElse)
{
    const CopyCase c = GetParam();
    QImage image = bitmap8(32, 32);
    const QByteArray block = numberedBlock(c.width, c.height);
    CopyPixelsToBitmap(block, image, c.left, c.top, c.left + c.width, c.top + c.height);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int bx = x - c.left, by = y - c.top;
            const bool inside = bx >= 0 && bx < c.width && by >= 0 && by < c.height;
            const uchar expected = inside ? uchar(block[by * c.width + bx]) : Untouched;
            ASSERT_EQ(image.pixelIndex(x, y), expected) << c.name << " at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Rectangles, CopyPixelsToBitmapTest,
                         ::testing::Values(CopyCase{"inside", 6, 4, 20, 10}, CopyCase{"above and left", -5, -3, 20, 10},
                                           CopyCase{"past right and bottom", 25, 28, 10, 6},
                                           CopyCase{"wholly right", 32, 0, 5, 5}, CopyCase{"wholly above", 0, -6, 5, 5},
                                           CopyCase{"larger on every side", -4, -4, 40, 40}),
                         [](const auto &info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST(CopyPixelsToBitmap, ClipsTheGivenExampleToItsCorner)
{
    // A 20 x 10 block at (-5, -3): block columns 5..19 of rows 3..9 land on x 0..14, y 0..6.
    QImage image = bitmap8(32, 32);
    const QByteArray block = numberedBlock(20, 10);
    CopyPixelsToBitmap(block, image, -5, -3, 15, 7);
    EXPECT_EQ(image.pixelIndex(0, 0), uchar(block[3 * 20 + 5]));
    EXPECT_EQ(image.pixelIndex(14, 6), uchar(block[9 * 20 + 19]));
    EXPECT_EQ(image.pixelIndex(15, 6), Untouched);
    EXPECT_EQ(image.pixelIndex(14, 7), Untouched);
}

TEST(CopyPixelsToBitmap, CopiesWholePixelsOfWiderFormats)
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(Qt::black);
    const QRgb pixels[] = {0xFF112233, 0xFF445566};
    CopyPixelsToBitmap(QByteArrayView(reinterpret_cast<const char *>(pixels), sizeof pixels), image, 3, 1, 5, 2);
    EXPECT_EQ(image.pixel(3, 1), 0xFF112233u);
    EXPECT_EQ(image.pixel(2, 1), 0xFF000000u);
}

TEST(BytesPerPixel, FollowsTheDepthAndAssertsOnOthers)
{
    EXPECT_EQ(BytesPerPixel(QImage(1, 1, QImage::Format_Indexed8)), 1);
    EXPECT_EQ(BytesPerPixel(QImage(1, 1, QImage::Format_RGB555)), 2);
    EXPECT_EQ(BytesPerPixel(QImage(1, 1, QImage::Format_RGB16)), 2);
    EXPECT_EQ(BytesPerPixel(QImage(1, 1, QImage::Format_RGB888)), 3);
    EXPECT_EQ(BytesPerPixel(QImage(1, 1, QImage::Format_ARGB32)), 4);
    try {
        BytesPerPixel(QImage(1, 1, QImage::Format_Mono));
        FAIL() << "no assertion";
    } catch (const AssertionFailure &failure) {
        EXPECT_EQ(failure.message(), "Assertion failure");
        EXPECT_EQ(failure.source(), "QvGraphics");
        EXPECT_EQ(failure.line(), 482);
    }
}

TEST(MakeLogPalette, TakesRedGreenBlueTriplesAsOpaqueColours)
{
    QByteArray triples(768, '\0');
    triples[3] = char(10), triples[4] = char(20), triples[5] = char(30);
    triples[765] = char(255), triples[766] = char(254), triples[767] = char(253);
    const QList<QRgb> palette = MakeLogPalette(triples);
    ASSERT_EQ(palette.size(), 256);
    EXPECT_EQ(palette[0], qRgb(0, 0, 0));
    EXPECT_EQ(palette[1], qRgb(10, 20, 30));
    EXPECT_EQ(palette[255], qRgb(255, 254, 253));
}

TEST(Bitmap8, ResetEmptiesAndFillSetsEveryPixel)
{
    QImage image = bitmap8(3, 2);
    FillBitmap8(image, 7);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image.pixelIndex(x, y), 7);
    ResetBitmap8(image);
    EXPECT_EQ(image.size(), QSize(0, 0));
    FillBitmap8(image, 3);  // an empty bitmap stays empty
    EXPECT_TRUE(image.isNull());
}

}  // namespace
