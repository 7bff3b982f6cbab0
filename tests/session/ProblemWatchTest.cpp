// Tests of the problems list that follows the session: after every step of a
// random sequence of edits (brush strokes, fills, paths laid and erased,
// undo and redo) with the sample rules, under changing symmetry and edge
// brush, the list kept by re-checking the changed cells equals a whole check.
#include "session/ProblemWatch.h"

#include "check/SymmetryNames.h"

#include "edit/BrushSettings.h"
#include "session/EditorSession.h"
#include "writers/MapWriter.h"

#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>

namespace {

// A small random edit of the session's map.
class RandomEdits {
public:
    RandomEdits(EditorSession &session, unsigned seed)
        : m_session(session)
        , m_random(seed)
    {
    }

    void step()
    {
        const int side = int(m_session.document().mapSize);
        const auto cell = [&] { return int(m_random() % unsigned(side)); };
        switch (m_random() % 8) {
        case 0:
        case 1: {
            BrushSettings brush;
            brush.terrainType = std::uint8_t(m_random() % 10);
            brush.terrainConfig = 0;
            brush.brushWidth = std::uint8_t(1 + m_random() % 3);
            brush.brushHeight = std::uint8_t(1 + m_random() % 3);
            m_session.beginStep();
            m_session.paint(brush, cell(), cell());
            m_session.paint(brush, cell(), cell());
            m_session.endStep();
            break;
        }
        case 2: {
            BrushSettings brush;
            brush.terrainType = std::uint8_t(m_random() % 10);
            brush.terrainConfig = 200;  // "n/c": the fill takes any picture count
            m_session.replaceFill(brush, cell(), cell(), false);
            break;
        }
        case 3:
        case 4: {
            const PathLayer layer = m_random() % 2 ? PathLayer::Road : PathLayer::River;
            m_session.beginStep();
            m_session.layPath(layer, std::uint8_t(1 + m_random() % 3), QPoint(cell(), cell()), QPoint(cell(), cell()),
                              m_random() % 4 == 0, 0);
            m_session.endStep();
            break;
        }
        case 5:
            m_session.undoStep();
            break;
        case 6:
            m_session.redoStep();
            break;
        case 7:
            if (m_random() % 2)
                m_session.setEdgeBrush(!m_session.edgeBrush());
            else
                m_session.setSymmetry(symmetryNames()[m_random() % symmetryNames().size()].mode);
            break;
        }
    }

private:
    EditorSession &m_session;
    std::mt19937 m_random;
};

TEST(ProblemWatch, FollowsRandomEditsAsAWholeCheckWould)
{
    QFile sample(QStringLiteral(BRACKWEN_SAMPLE_RULES));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    TempDir dir;
    const QString rules = dir.write("terrain-edges.ini", sample.readAll());
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        EditorSession session;
        ASSERT_EQ(session.loadEdgeRules(rules).english(), QString());
        ProblemWatch watch(session);
        MapWriter writer = MapWriter::patterned(64, false);
        ASSERT_TRUE(session.open(dir.write("map.vdm", writer.data())).ok());
        ASSERT_FALSE(watch.problems().empty()) << "the patterned map is far from the rules' own";
        EXPECT_EQ(watch.problems(), checkLevel(session.currentLayer(), watch.settings()));
        RandomEdits edits(session, seed);
        for (int i = 0; i < 400; ++i) {
            edits.step();
            ASSERT_EQ(watch.problems(), checkLevel(session.currentLayer(), watch.settings()))
                << "after step " << i;
        }
    }
}

}  // namespace
