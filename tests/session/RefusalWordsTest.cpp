// The refusals of a transform in the interface's words, from the edit layer's causes.
#include "session/RefusalWords.h"
#include "session/Settings.h"

#include <gtest/gtest.h>

namespace {

TEST(RefusalWords, EveryCauseOfATransformHasItsText)
{
    InterfaceTexts texts;
    texts.trnocells = "cells?";
    texts.troutside = "%1,%2-%3,%4/%5";
    texts.trnotsquare = "square %1x%n one|square %1x%n many";
    texts.trnomemory = "memory %1";
    texts.trnolevel = "level?";
    texts.trnocopy = "copy?";
    using Cause = TransformRefusal::Cause;
    const struct {
        TransformRefusal refusal;
        const char *words;
    } cases[] = {
        {{Cause::None, QRect(), 0}, ""},
        {{Cause::NoCells, QRect(), 10}, "cells?"},
        {{Cause::OutsideLevel, QRect(8, 0, 3, 2), 10}, "8,0-10,1/10"},
        {{Cause::NotSquare, QRect(0, 0, 6, 1), 10}, "square 6x1 one"},
        {{Cause::NotSquare, QRect(0, 0, 4, 6), 10}, "square 4x6 many"},
        {{Cause::NoMemory, QRect(0, 0, 9, 9), 10}, "memory 9"},
        {{Cause::NoLevelShown, QRect(), 0}, "level?"},
        {{Cause::NoCopiedCells, QRect(), 0}, "copy?"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(transformRefusalWords(texts, c.refusal), c.words) << transformRefusalText(c.refusal).toStdString();
}

// The English built-in words of the editor say what the command-line tool
// says, with a capital letter.
TEST(RefusalWords, BuiltInWordsAreTheToolsInASentence)
{
    const InterfaceTexts texts;
    using Cause = TransformRefusal::Cause;
    for (const Cause cause : {Cause::NoCells, Cause::OutsideLevel, Cause::NotSquare, Cause::NoMemory, Cause::NoLevelShown,
                              Cause::NoCopiedCells}) {
        const TransformRefusal refusal{cause, QRect(3, 4, 5, 6), 7};
        QString tool = transformRefusalText(refusal);
        tool[0] = tool[0].toUpper();
        EXPECT_EQ(transformRefusalWords(texts, refusal), tool);
    }
}

}  // namespace
