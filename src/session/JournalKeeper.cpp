// The edit journal of the session's open map, fed from the session's notices.
#include "session/JournalKeeper.h"

#include "edit/JournalFolder.h"
#include "edit/JournalRecord.h"
#include "session/EditorSession.h"

#include <QMetaObject>

JournalKeeper::JournalKeeper(EditorSession &session, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_folder(folder)
    , m_writer([this](const QString &journalPath, const QString &reason) {
        // Told on the writer's thread; the keeper lives on the window's.
        QMetaObject::invokeMethod(
            this, [this, journalPath, reason] { Q_EMIT problem(journalPath, reason); }, Qt::QueuedConnection);
    })
{
    connect(&session, &EditorSession::mapOpened, this, [this] { start(m_session.fileName()); });
    connect(&session, &EditorSession::stepRecorded, this, &JournalKeeper::stepRecorded);
    connect(&session, &EditorSession::historyMoved, this, &JournalKeeper::historyMoved);
    connect(&session, &EditorSession::mapSaved, this, &JournalKeeper::mapSaved);
}

JournalKeeper::~JournalKeeper() = default;

void JournalKeeper::start(const QString &mapPath)
{
    if (!m_journalPath.isEmpty())
        m_writer.discard();
    m_mapPath = mapPath;
    m_journalPath = journalPathFor(m_folder, mapPath);
    m_side = m_session.document().mapSize;
    m_writer.open(m_journalPath, mapPath, m_session.document());
}

void JournalKeeper::discard()
{
    m_writer.discard();
    m_journalPath.clear();
}

void JournalKeeper::stepRecorded(std::size_t firstRecord, std::size_t endRecord)
{
    m_writer.append(journalCellsOfUndoRecords(m_session.document(), m_session.undoList(), firstRecord, endRecord));
}

void JournalKeeper::historyMoved(const HistoryChange &change)
{
    const MapDocument &document = m_session.document();
    std::vector<JournalRecord> records;
    if (change.newSide) {
        records.push_back(journalSizeChange(*change.newSide));
        // Replaying a growth gives zero cells beyond the old side; when the
        // change brought back cells a cut took away, they follow, whole layers
        // at once.
        if (*change.newSide > m_side && document.hasCellsOutside(m_side))
            for (int level = 0; level < document.levelCount(); ++level)
                records.push_back(journalCellsInRectangle(document, level, QRect(0, 0, int(*change.newSide),
                                                                                  int(*change.newSide))));
        m_side = *change.newSide;
    }
    for (int level = 0; level < 2; ++level)
        if (!change.changedCells[level].isEmpty())
            records.push_back(journalCellsInRectangle(document, level, change.changedCells[level]));
    if (!records.empty())
        m_writer.append(std::move(records));
}

void JournalKeeper::mapSaved(const QString &fileName)
{
    if (fileName == m_mapPath && !m_journalPath.isEmpty())
        m_writer.clear(m_session.document());
    else  // the map now lives in another file, which holds the old file's edits
        start(fileName);
}
