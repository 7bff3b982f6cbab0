// The edit journal of the session's open map, fed from the session's notices.
#include "session/JournalKeeper.h"

#include "journal/JournalFolder.h"
#include "journal/JournalRecord.h"
#include "session/EditorSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>

namespace {

QString lockPathOf(const QString &journalPath)
{
    return journalPath + QStringLiteral(".lock");
}

// The journal a second editor of a map keeps: the map's, with the process's number.
QString ownJournalPath(const QString &journalPath)
{
    const QFileInfo info(journalPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-%1.").arg(QCoreApplication::applicationPid())
                               + info.suffix());
}

}  // namespace

JournalKeeper::JournalKeeper(EditorSession &session, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_folder(folder)
    , m_writer(
          [this](const QString &journalPath, const Reason &reason) {
              // Told on the writer's thread; the keeper lives on the window's.
              QMetaObject::invokeMethod(
                  this, [this, journalPath, reason] { Q_EMIT problem(journalPath, reason); }, Qt::QueuedConnection);
          },
          JournalWriter::DefaultSyncDelay,
          [this](JournalWriter::Event event, const QString &path, const Reason &detail) {
              const Notice told = event == JournalWriter::Event::Rewritten ? Notice::Rewritten : Notice::DamagedMoved;
              QMetaObject::invokeMethod(
                  this, [this, told, path, detail] { Q_EMIT notice(told, path, detail); }, Qt::QueuedConnection);
          })
{
    connect(&session, &EditorSession::mapOpened, this, [this] { start(m_session.fileName()); });
    connect(&session, &EditorSession::stepRecorded, this, &JournalKeeper::stepRecorded);
    connect(&session, &EditorSession::historyMoved, this, &JournalKeeper::historyMoved);
    connect(&session, &EditorSession::mapSaved, this, &JournalKeeper::mapSaved);
}

JournalKeeper::~JournalKeeper()
{
    // The file is closed before its lock goes.
    m_writer.waitUntilWritten();
}

bool JournalKeeper::openElsewhere(const QString &mapPath) const
{
    const QString journalPath = journalPathFor(m_folder, mapPath);
    return !(m_lock && m_journalPath == journalPath) && inUse(journalPath);
}

bool JournalKeeper::inUse(const QString &journalPath)
{
    QLockFile lock(lockPathOf(journalPath));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

void JournalKeeper::start(const QString &mapPath)
{
    if (!m_journalPath.isEmpty())
        m_writer.discard();
    // The old journal is deleted before its lock goes.
    m_writer.waitUntilWritten();
    unlock();
    m_mapPath = mapPath;
    m_journalPath = journalPathFor(m_folder, mapPath);
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(lockPathOf(m_journalPath));
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        const bool elsewhere = m_lock->error() == QLockFile::LockFailedError;
        m_lock.reset();
        if (elsewhere) {
            m_journalPath = ownJournalPath(m_journalPath);
            Q_EMIT notice(Notice::OpenElsewhere, m_journalPath, Reason());
        }
    }
    m_side = m_session.document().mapSize;
    markStart();
    m_writer.open(m_journalPath, mapPath, m_session.document());
}

void JournalKeeper::unlock()
{
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

void JournalKeeper::markStart()
{
    m_undoCount = m_base = m_session.undoList().count();
    m_redoJournalled = !m_session.history().canRedo();
}

void JournalKeeper::discard()
{
    m_writer.discard();
    m_writer.waitUntilWritten();
    unlock();
    m_journalPath.clear();
}

void JournalKeeper::stepRecorded(std::size_t firstRecord, std::size_t endRecord)
{
    m_writer.append(journalStepOfUndoRecords(m_session.document(), m_session.undoList(), firstRecord, endRecord));
    // A new step forgets what could be redone, here and on replay alike.
    m_undoCount = m_session.undoList().count();
    m_redoJournalled = true;
}

void JournalKeeper::historyMoved(const HistoryChange &change)
{
    const std::size_t before = m_undoCount;
    const std::size_t after = m_session.undoList().count();
    m_undoCount = after;
    if (change.firstCell.outcome == UndoStep::Outcome::Nothing && !change.newSide)
        return;
    const MapDocument &document = m_session.document();
    std::vector<JournalRecord> parts;
    if (change.newSide) {
        parts.push_back(journalSizeChange(*change.newSide));
        // Replaying a growth gives zero cells beyond the old side; when the
        // change brought back cells a cut took away, they follow, whole layers
        // at once.
        if (*change.newSide > m_side && document.hasCellsOutside(m_side))
            for (int level = 0; level < document.levelCount(); ++level)
                parts.push_back(journalCellsInRectangle(document, level, QRect(0, 0, int(*change.newSide),
                                                                                int(*change.newSide))));
        m_side = *change.newSide;
    }
    for (int level = 0; level < 2; ++level)
        if (!change.changedCells[level].isEmpty())
            parts.push_back(journalCellsInRectangle(document, level, change.changedCells[level]));
    if (parts.empty())
        return;

    using Move = HistoryChange::Move;
    if (change.move == Move::Resize) {
        // A new step: what could be redone is forgotten on replay too.
        m_writer.append(std::move(parts.front()));
        m_redoJournalled = true;
        return;
    }
    // The move replays as a move when the steps it takes back, or puts back,
    // are the journal's own; else its cells are a new step on replay, and
    // what a replay could move begins behind it.
    const bool journalled = change.move == Move::RedoStep ? m_redoJournalled && before >= m_base : after >= m_base;
    if (!journalled) {
        m_writer.append(journalStep(std::move(parts)));
        m_base = after;
        m_redoJournalled = !m_session.history().canRedo();
        return;
    }
    const JournalRecord::Move move = change.move == Move::UndoStep ? JournalRecord::Move::UndoStep
        : change.move == Move::RedoStep                            ? JournalRecord::Move::RedoStep
                                                                   : JournalRecord::Move::UndoOneCell;
    m_writer.append(journalMove(move, std::move(parts)));
}

void JournalKeeper::mapSaved(const QString &fileName)
{
    if (fileName == m_mapPath && !m_journalPath.isEmpty()) {
        m_writer.clear(m_session.document());
        markStart();
    } else {  // the map now lives in another file, which holds the old file's edits
        start(fileName);
    }
}
