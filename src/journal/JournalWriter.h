// Writes the edit journal on a thread of its own, so that the window's thread
// only copies a step's cells and hands them over.
#pragma once

#include "journal/EditJournal.h"
#include "journal/JournalRecord.h"
#include "map/MapDocument.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Requests are carried out one after another in the order they are made. A
// record is compressed and written soon after it is appended, and the file is
// synced to its device within the sync delay of the append (later appends
// share the sync), so a crash of the program or the system loses at most the
// steps of that last moment.
//
// Writing never blocks the caller. When a write fails (a full disk, a folder
// that cannot be made), the bytes not yet written are kept and tried again,
// in order, at the next request and every second; the problem is reported
// once, and again when writing works once more. A journal thus never holds a
// step whose earlier steps are missing.
class JournalWriter {
public:
    // Told on the writer thread: reason is set when writing the journal at
    // journalPath fails, empty when it works again after a failure. The
    // window's side should pass it on to its own thread (a queued call).
    using ProblemReport = std::function<void(const QString &journalPath, const Reason &reason)>;

    // What else the writer tells, on its thread, with the path it is about.
    enum class Event {
        // The open journal's file was deleted (its folder too): a new one at
        // its path holds every record written since the journal began.
        Rewritten,
        // A damaged journal was where a journal opens (path: where it went).
        DamagedMoved,
    };
    // detail: what is damaged, for DamagedMoved.
    using EventReport = std::function<void(Event event, const QString &path, const Reason &detail)>;

    static constexpr std::chrono::milliseconds DefaultSyncDelay{500};
    static constexpr std::chrono::milliseconds RetryInterval{1000};

    explicit JournalWriter(ProblemReport report = {}, std::chrono::milliseconds syncDelay = DefaultSyncDelay,
                           EventReport events = {});
    // Carries out what was requested, syncs and closes the journal.
    ~JournalWriter();
    JournalWriter(const JournalWriter &) = delete;
    JournalWriter &operator=(const JournalWriter &) = delete;

    // Starts a journal at journalPath (replacing a file there, unless it is
    // a journal of a newer program: that is a failure; a damaged journal,
    // whose intact records a crash cut does not explain, is moved aside under
    // a name that says so, see moveDamagedJournalAside()) for the map
    // whose file at mapPath holds the document's cells now; its header says
    // what the file looks like (hashed on the writer thread) and the
    // document's side and level count. A journal already open is closed.
    void open(const QString &journalPath, const QString &mapPath, const MapDocument &document);

    // Adds records to the journal; ignored while none is open.
    void append(JournalRecord record);
    void append(std::vector<JournalRecord> records);

    // After a successful save to the journal's map file: the journal becomes
    // its header alone, naming the file as just saved and the document's side
    // and level count, and is synced at once.
    void clear(const MapDocument &document);

    // Deletes the journal file (the map was closed without saving, or its
    // edits were taken back). Appends are ignored until the next open.
    void discard();

    // Waits until every request made so far has been carried out and the file
    // synced, or tried and failed (see problem()).
    void waitUntilWritten();

    // The current failure to write in English, empty while writing works.
    QString problem() const;

private:
    struct Request {
        enum class Kind { Open, Append, Clear, Discard };
        explicit Request(Kind what)
            : kind(what)
        {
        }
        Kind kind;
        QString journalPath;  // Open
        QString mapPath;      // Open
        std::uint32_t side = 0;  // Open, Clear
        int levelCount = 1;      // Open, Clear
        std::vector<JournalRecord> records;  // Append
        std::chrono::steady_clock::time_point made;
    };

    void request(Request &&request);
    void run();
    // Carries out one request on the writer thread.
    void carryOut(Request &request);
    // Makes a call on the journal's file; when it fails (false), the journal
    // fails with the reason the call left.
    bool fileCall(const std::function<bool()> &call);
    // Writes the bytes not yet written; false when that failed.
    bool writePending();
    // When the open file was deleted, writes what it held into a new file
    // at its path; false when that failed.
    bool replaceDeletedFile();
    void sync();
    void closeFile();
    void fail(const Reason &reason);

    const ProblemReport m_report;
    const std::chrono::milliseconds m_syncDelay;
    const EventReport m_events;

    // Shared with the calling thread, under m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    std::condition_variable m_done;
    std::deque<Request> m_queue;
    std::uint64_t m_flushesRequested = 0;
    std::uint64_t m_flushesDone = 0;
    bool m_stopping = false;
    QString m_problem;

    // The writer thread's own.
    QString m_journalPath;   // empty while no journal is open
    QString m_mapPath;
    QFile m_file;
    qint64 m_written = 0;    // bytes of the journal known to be in the file
    QByteArray m_pending;    // bytes that follow them, not yet written
    bool m_unsynced = false;
    std::optional<std::chrono::steady_clock::time_point> m_syncDue;
    Reason m_failure;        // the failure of the last attempt, none when it worked
    QString m_failurePath;   // the journal it was about
    Reason m_reported;       // the failure last told to m_report
    QString m_reportedPath;  // the journal it was about

    std::thread m_thread;    // last: it starts once everything above exists
};
