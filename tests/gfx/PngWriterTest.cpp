// Tests of the fast PNG writer: the pictures read back with the same pixels,
// whatever the input format and size, and a device that refuses writes.
#include "gfx/PngWriter.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// Pixels that hardly compress, so large pictures need many data chunks.
QImage patterned(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xff000000u | (state >> 8));
        }
    return image.convertToFormat(format);
}

TEST(WriteFastPng, ReadsBackWithTheSamePixels)
{
    // One pixel, odd widths, and a picture whose compressed rows fill more than
    // one data chunk.
    const struct {
        int width;
        int height;
        QImage::Format format;
    } cases[] = {
        {1, 1, QImage::Format_RGB32},   {7, 3, QImage::Format_RGB32},  {33, 5, QImage::Format_ARGB32_Premultiplied},
        {5, 9, QImage::Format_RGB888},  {900, 700, QImage::Format_RGB32},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " format " << c.format);
        const QImage image = patterned(c.width, c.height, c.format);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(writeFastPng(image, buffer));
        const QImage read = QImage::fromData(buffer.data(), "PNG");
        ASSERT_FALSE(read.isNull());
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), image.convertToFormat(QImage::Format_RGB32));
    }
}

TEST(WriteFastPng, FailsOnANullImageOrADeviceThatRefusesWrites)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(writeFastPng(QImage(), buffer));
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(writeFastPng(patterned(4, 4, QImage::Format_RGB32), readOnly));
}

}  // namespace
