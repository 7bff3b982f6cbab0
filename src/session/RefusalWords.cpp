// Refusals in the interface's language.
#include "session/RefusalWords.h"

#include "session/Settings.h"

QString transformRefusalWords(const InterfaceTexts &texts, const TransformRefusal &refusal)
{
    const QRect &area = refusal.area;
    switch (refusal.cause) {
    case TransformRefusal::Cause::None:
        return {};
    case TransformRefusal::Cause::NoCells:
        return texts.trnocells;
    case TransformRefusal::Cause::OutsideLevel:
        return texts.troutside.arg(area.left()).arg(area.top()).arg(area.right()).arg(area.bottom()).arg(refusal.side);
    case TransformRefusal::Cause::NotSquare:
        return texts.counted(texts.trnotsquare, std::uint64_t(area.height())).arg(area.width());
    case TransformRefusal::Cause::NoMemory:
        return texts.trnomemory.arg(area.width());
    case TransformRefusal::Cause::NoLevelShown:
        return texts.trnolevel;
    case TransformRefusal::Cause::NoCopiedCells:
        return texts.trnocopy;
    }
    return {};
}
