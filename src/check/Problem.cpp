// The words of the map check's problems.
#include "check/Problem.h"

#include <QStringList>

const char *problemKindName(ProblemKind kind)
{
    switch (kind) {
    case ProblemKind::TerrainPicture:
        return "terrain-picture";
    case ProblemKind::RiverPiece:
        return "river-piece";
    case ProblemKind::RoadPiece:
        return "road-piece";
    case ProblemKind::NoRule:
        return "no-rule";
    case ProblemKind::RiverEnd:
        return "river-end";
    case ProblemKind::RoadEnd:
        return "road-end";
    case ProblemKind::RiverJoin:
        return "river-join";
    case ProblemKind::RoadJoin:
        return "road-join";
    case ProblemKind::Mirror:
        return "mirror";
    }
    return "";
}

ProblemTexts ProblemTexts::english()
{
    using namespace ProblemWords;
    const auto text = [](const char *words) { return QString::fromLatin1(words); };
    return {text(Picture), text(NoRule), text(End), text(Join),  text(Mirror), text(Terrain), text(River),
            text(Road),    text(North),  text(East), text(South), text(West),   text(None),    text(Types),
            text(Pictures), text(LeftRight), text(UpDown)};
}

namespace {

// "12", "12 lr", "12 ud" or "12 lr ud": a picture and which way it is mirrored,
// whichever part's bits they are.
QString pictureWords(const CellPicture &picture, CellPart part, const ProblemTexts &texts)
{
    const int shift = part == CellPart::Terrain ? 0 : part == CellPart::River ? 2 : 4;
    QString words = QString::number(picture.picture);
    if (picture.mirror & (1u << shift))
        words += u' ' + texts.leftRight;
    if (picture.mirror & (2u << shift))
        words += u' ' + texts.upDown;
    return words;
}

QString sideWords(std::uint8_t sides, const ProblemTexts &texts)
{
    const QString *names[] = {&texts.north, &texts.east, &texts.south, &texts.west};
    QStringList words;
    for (int side = 0; side < 4; ++side)
        if (sides & (1u << side))
            words << *names[side];
    return words.isEmpty() ? texts.none : words.join(QLatin1String(", "));
}

}  // namespace

QString problemReason(const Problem &problem, const ProblemTexts &texts)
{
    const QString &part = problem.part == CellPart::Terrain ? texts.terrain
                        : problem.part == CellPart::River   ? texts.river
                                                            : texts.road;
    const QString have = pictureWords(problem.have, problem.part, texts);
    const QString want = pictureWords(problem.want, problem.part, texts);
    switch (problem.kind) {
    case ProblemKind::TerrainPicture:
    case ProblemKind::RiverPiece:
    case ProblemKind::RoadPiece:
        return texts.picture.arg(part, have, want);
    case ProblemKind::NoRule:
        return texts.norule.arg(part, problem.part == CellPart::Terrain ? have : sideWords(problem.sides, texts));
    case ProblemKind::RiverEnd:
    case ProblemKind::RoadEnd:
        return texts.end.arg(part, have, want);
    case ProblemKind::RiverJoin:
    case ProblemKind::RoadJoin:
        return texts.join.arg(part, sideWords(problem.sides, texts));
    case ProblemKind::Mirror:
        return texts.mirror.arg(QStringLiteral("%1,%2").arg(problem.other.column).arg(problem.other.row),
                                problem.sides ? texts.pictures : texts.types);
    }
    return {};
}
