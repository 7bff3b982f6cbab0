// Tests of the information label's text.
#include "edit/CellInformation.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(CellInformation, ElevenLinesJoinedByCarriageReturns)
{
    const QString text = cellInformationText(QRect(10, 20, 1, 1), 10, 20, {2, 14, 0, 0, 1, 5, 3});
    EXPECT_EQ(text, QStringLiteral("X1/Y1 10/20\rX2/Y2 10/20\rx - column 10\ry - row 20\rtertype 2\rterconf 14\r"
                                   "rivtype 0\rrivconf 0\rroadtype 1\rroadconf 5\rmirror 000011"));
}

TEST(CellInformation, SelectionCornersAndMirrorDigits)
{
    const QStringList lines = cellInformationText(QRect(QPoint(3, 4), QPoint(130, 7)), 130, 7,
                                                  {255, 78, 4, 12, 3, 16, 0xC5}).split(u'\r');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], "X1/Y1 3/4");
    EXPECT_EQ(lines[1], "X2/Y2 130/7");
    EXPECT_EQ(lines[4], "tertype 255");
    EXPECT_EQ(lines[10], "mirror 000101");  // bits 6 and 7 are not shown
}

}  // namespace
