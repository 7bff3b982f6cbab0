// The journal's writer thread: its queue of requests, writing, syncing and
// trying again after a failure.
#include "journal/JournalWriter.h"

#include "base/Platform.h"
#include "journal/JournalFolder.h"
#include "journal/JournalReasons.h"
#include "journal/JournalSync.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

// Why the file at path must not be replaced: a journal of a newer program,
// which that program can still recover. Empty when it may be.
Reason newerJournalAt(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const JournalHeaderRead header = decodeJournalHeader(file.read(64 * 1024));
    return header.newerFormat ? Reason(reasons::JournalLeftAlone, {path, header.why}) : Reason();
}

}  // namespace

JournalWriter::JournalWriter(ProblemReport report, std::chrono::milliseconds syncDelay, EventReport events)
    : m_report(std::move(report))
    , m_syncDelay(syncDelay)
    , m_events(std::move(events))
    , m_thread([this] { run(); })
{
}

JournalWriter::~JournalWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wakeUp.notify_one();
    m_thread.join();
}

void JournalWriter::open(const QString &journalPath, const QString &mapPath, const MapDocument &document)
{
    Request open{Request::Kind::Open};
    open.journalPath = journalPath;
    open.mapPath = mapPath;
    open.side = document.mapSize;
    open.levelCount = document.levelCount();
    request(std::move(open));
}

void JournalWriter::append(JournalRecord record)
{
    std::vector<JournalRecord> records;
    records.push_back(std::move(record));
    append(std::move(records));
}

void JournalWriter::append(std::vector<JournalRecord> records)
{
    Request append{Request::Kind::Append};
    append.records = std::move(records);
    request(std::move(append));
}

void JournalWriter::clear(const MapDocument &document)
{
    Request clear{Request::Kind::Clear};
    clear.side = document.mapSize;
    clear.levelCount = document.levelCount();
    request(std::move(clear));
}

void JournalWriter::discard()
{
    request(Request{Request::Kind::Discard});
}

void JournalWriter::waitUntilWritten()
{
    std::unique_lock lock(m_mutex);
    const std::uint64_t flush = ++m_flushesRequested;
    m_wakeUp.notify_one();
    m_done.wait(lock, [&] { return m_flushesDone >= flush; });
}

QString JournalWriter::problem() const
{
    const std::lock_guard lock(m_mutex);
    return m_problem;
}

void JournalWriter::request(Request &&request)
{
    request.made = std::chrono::steady_clock::now();
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(request));
    }
    m_wakeUp.notify_one();
}

void JournalWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        const auto hasWork = [&] { return !m_queue.empty() || m_stopping || m_flushesRequested > m_flushesDone; };
        if (m_syncDue)
            m_wakeUp.wait_until(lock, *m_syncDue, hasWork);
        else if (!m_pending.isEmpty())
            m_wakeUp.wait_for(lock, RetryInterval, hasWork);
        else
            m_wakeUp.wait(lock, hasWork);
        std::deque<Request> batch;
        batch.swap(m_queue);
        const std::uint64_t flushes = m_flushesRequested;
        const bool flushing = flushes > m_flushesDone || m_stopping;
        lock.unlock();

        for (Request &each : batch)
            carryOut(each);
        writePending();
        if (flushing || (m_syncDue && std::chrono::steady_clock::now() >= *m_syncDue))
            sync();
        if (m_failure.english() != m_reported.english()) {
            // Working again is told for the journal that failed, even when it
            // was discarded since.
            if (!m_failure.isEmpty())
                m_reportedPath = m_failurePath;
            m_reported = m_failure;
            if (m_report)
                m_report(m_reportedPath, m_failure);
        }

        lock.lock();
        m_problem = m_failure.english();
        m_flushesDone = flushes;
        m_done.notify_all();
        if (m_stopping && m_queue.empty()) {
            closeFile();
            return;
        }
    }
}

void JournalWriter::carryOut(Request &request)
{
    switch (request.kind) {
    case Request::Kind::Open:
        // The journal open until now gets what is owed to it first.
        writePending();
        closeFile();
        m_journalPath.clear();
        m_pending.clear();
        if (const Reason newer = newerJournalAt(request.journalPath); !newer.isEmpty()) {
            fail(newer);
            m_failurePath = request.journalPath;
            return;
        }
        if (const MovedAside moved = moveDamagedJournalAside(request.journalPath); moved.moved() && m_events)
            m_events(Event::DamagedMoved, moved.path, moved.damage);
        m_journalPath = request.journalPath;
        m_mapPath = request.mapPath;
        m_written = 0;
        m_pending = encodeJournalHeader(makeJournalHeader(m_mapPath, request.side, request.levelCount));
        m_syncDue = request.made + m_syncDelay;
        break;
    case Request::Kind::Append:
        if (m_journalPath.isEmpty())
            return;
        for (const JournalRecord &record : request.records)
            m_pending += encodeJournalRecord(record);
        if (!m_syncDue || *m_syncDue > request.made + m_syncDelay)
            m_syncDue = request.made + m_syncDelay;
        writePending();
        break;
    case Request::Kind::Clear:
        if (m_journalPath.isEmpty())
            return;
        // Whatever was not yet written belongs to edits the save has taken in.
        m_written = 0;
        m_pending = encodeJournalHeader(makeJournalHeader(m_mapPath, request.side, request.levelCount));
        if (writePending())
            sync();
        break;
    case Request::Kind::Discard:
        closeFile();
        if (!m_journalPath.isEmpty())
            QFile::remove(m_journalPath);
        m_journalPath.clear();
        m_pending.clear();
        m_failure = {};
        break;
    }
}

bool JournalWriter::fileCall(const std::function<bool()> &call)
{
    platform::clearFileError();
    if (call())
        return true;
    fail(platform::fileError(platform::lastFileError(), m_file));
    return false;
}

bool JournalWriter::writePending()
{
    if (m_journalPath.isEmpty() || m_pending.isEmpty())
        return true;
    if (!m_file.isOpen()) {
        const QString folder = QFileInfo(m_journalPath).absolutePath();
        if (!QDir().mkpath(folder)) {
            fail({reasons::JournalFolder, {folder}});
            return false;
        }
        m_file.setFileName(m_journalPath);
        // Unbuffered, so that a write that fails says so at once.
        if (!fileCall([&] { return m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered); }))
            return false;
    }
    if (!replaceDeletedFile())
        return false;
    // A write cut short by a failure left part of its bytes behind the good ones.
    if (!fileCall([&] { return m_file.size() == m_written || m_file.resize(m_written); })
        || !fileCall([&] { return m_file.seek(m_written); })
        || !fileCall([&] { return m_file.write(m_pending) == m_pending.size(); }))
        return false;
    m_written += m_pending.size();
    m_pending.clear();
    m_unsynced = true;
    m_failure = {};
    return true;
}

bool JournalWriter::replaceDeletedFile()
{
    if (!fileWasDeleted(m_file))
        return true;
    // The open file still holds what was written: read back, it goes into a
    // new file at the journal's path, its folder made again.
    QByteArray written;
    if (!fileCall([&] { return m_file.seek(0); }) || !fileCall([&] {
            written = m_file.read(m_written);
            return written.size() == m_written;
        }))
        return false;
    m_file.close();
    m_written = 0;
    m_pending.prepend(written);
    const QString folder = QFileInfo(m_journalPath).absolutePath();
    if (!QDir().mkpath(folder)) {
        fail({reasons::JournalFolder, {folder}});
        return false;
    }
    m_file.setFileName(m_journalPath);
    if (!fileCall([&] { return m_file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered); }))
        return false;
    if (m_events)
        m_events(Event::Rewritten, m_journalPath, Reason());
    return true;
}

// Syncs what was written since the last sync; the sync that was due is done
// either way, even when there was nothing to sync.
void JournalWriter::sync()
{
    m_syncDue.reset();
    if (!m_file.isOpen() || !m_unsynced)
        return;
    const Reason reason = syncToDevice(m_file);
    if (!reason.isEmpty()) {
        fail(reason);
        return;
    }
    m_unsynced = false;
}

void JournalWriter::closeFile()
{
    if (!m_file.isOpen())
        return;
    sync();
    m_file.close();
}

void JournalWriter::fail(const Reason &reason)
{
    m_failure = reason.isEmpty() ? Reason(reasons::JournalCannotWrite) : reason;
    m_failurePath = m_journalPath;
}
