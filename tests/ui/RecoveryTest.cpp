// Recovering at start-up the edits a crashed editor left in its journal:
// the offer, Recover (the edits come back as unsaved steps), Discard and Later.
#include "edit/BrushSettings.h"
#include "journal/EditJournal.h"
#include "journal/JournalFolder.h"
#include "session/EditorSession.h"
#include "session/JournalKeeper.h"
#include "session/Preferences.h"
#include "ui/EditorActions.h"
#include "ui/EditorContext.h"
#include "ui/EditorStatusBar.h"
#include "ui/MainWindow.h"
#include "ui/RecoveryPrompt.h"
#include "writers/MapWriter.h"

#include "FakePrompts.h"
#include "TempDir.h"

#include "ui/EditorStatusBar.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>

#include <zlib.h>

namespace {

const QByteArray settingsIni = "[Programm_options]\nlanguage=english\ngraphics=2\nuse_showobst=0\nuse_nagscreen=0\n";

class Recovery : public testing::Test {
protected:
    void SetUp() override
    {
        dir.write("brackwen.ini", settingsIni);
        MapWriter map = MapWriter::patterned(36, true);
        map.layers = {TerrainLayer(36), TerrainLayer(36)};
        mapPath = dir.write("plain.vdm", map.data());
        journals = dir.filePath("journals");
        current = std::make_unique<CurrentDirGuard>(dir.path());
    }

    // An editor that painted water at (2, 5) and then at (20, 5), two steps
    // (or at the columns given), and ended without closing its map.
    void crashAfterTwoStrokes(std::initializer_list<int> columns = {2, 20})
    {
        EditorSession session;
        JournalKeeper keeper(session, journals);
        ASSERT_TRUE(session.open(mapPath).ok());
        BrushSettings water;
        water.terrainType = 8;
        for (const int column : columns) {
            session.beginStep();
            session.paint(water, column, 5);
            session.endStep();
        }
        keeper.waitUntilWritten();
        journalPath = keeper.journalPath();
    }

    // The editor started again with no map named, the prompt answering as given.
    void restart(UserPrompts::RecoverAnswer answer)
    {
        auto fake = std::make_unique<FakePrompts>(log);
        fake->recoverAnswer = answer;
        context = std::make_unique<EditorContext>(std::move(fake), journals);
        preferences = std::make_unique<Preferences>(dir.filePath("preferences.ini"));
        window = std::make_unique<MainWindow>(*context, *preferences);
        window->show();
        window->offerRecoveryWhenStarted();
        QTRY_COMPARE(log.recoverQuestions.size(), 1);
    }

    int type(int column, int row) const { return context->session.document().ground.at(row, column).tertype; }

    TempDir dir;
    QString mapPath;
    QString journals;
    QString journalPath;
    std::unique_ptr<CurrentDirGuard> current;
    PromptLog log;
    std::unique_ptr<EditorContext> context;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<MainWindow> window;
};

TEST_F(Recovery, RecoverBringsTheEditsBackAsUnsavedSteps)
{
    crashAfterTwoStrokes();
    restart(UserPrompts::RecoverAnswer::Recover);
    EXPECT_TRUE(log.recoverQuestions.first().contains(QDir::toNativeSeparators(mapPath)));
    EXPECT_FALSE(log.recoverQuestions.first().contains("changed since"));

    const EditorSession &session = context->session;
    ASSERT_TRUE(session.document().isLoaded);
    EXPECT_EQ(session.fileName(), mapPath);
    EXPECT_EQ(type(2, 5), 8);
    EXPECT_EQ(type(20, 5), 8);
    EXPECT_TRUE(session.hasUnsavedChanges());
    EXPECT_TRUE(window->isWindowModified());

    // Ctrl+Z takes back the last recovered step alone.
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(type(20, 5), 0);
    EXPECT_EQ(type(2, 5), 8);

    // The recovered session keeps its own journal: what is on screen now.
    context->journal.waitUntilWritten();
    const JournalContents journal = readJournal(journalPath);
    EXPECT_EQ(journal.recordCount(), 3u);
}

// The question writes the time of the last edit as the language's locale
// does, and the steps recovered are counted in its plural forms.
TEST_F(Recovery, TheQuestionAndTheCountSpeakTheLanguage)
{
    dir.write("brackwen.ini", "[Programm_options]\nlanguage=lingua\ngraphics=2\nuse_showobst=0\nuse_nagscreen=0\n"
                              "[lingua]\nlocale=de_DE\nplural=one-other\nrecovertext=%1 / %2\n"
                              "msgrecovered=%n Schritt zurück|%n Schritte zurück\n");
    crashAfterTwoStrokes();
    const QDateTime lastEdit = QFileInfo(journalPath).lastModified();
    restart(UserPrompts::RecoverAnswer::Recover);
    EXPECT_EQ(log.recoverQuestions.first(), QDir::toNativeSeparators(mapPath) + " / "
                                                + QLocale(QStringLiteral("de_DE")).toString(lastEdit, QLocale::ShortFormat));
    EXPECT_TRUE(window->status().currentMessage().contains(QString::fromUtf8("2 Schritte zurück")))
        << window->status().currentMessage().toStdString();
}

TEST_F(Recovery, AChangedFileIsSaidAndTheMapOpensWithoutAFile)
{
    crashAfterTwoStrokes();
    QFile file(mapPath);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("trailing bytes");
    file.close();
    restart(UserPrompts::RecoverAnswer::Recover);
    EXPECT_TRUE(log.recoverQuestions.first().contains("changed since"));
    EXPECT_TRUE(context->session.fileName().isEmpty());
    EXPECT_EQ(type(20, 5), 8);

    // Saving then asks for a name.
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(log.saveDialogs, 1);
}

TEST_F(Recovery, DiscardDeletesTheJournalAndLaterKeepsIt)
{
    struct Case {
        UserPrompts::RecoverAnswer answer;
        bool journalKept;
        bool mapOpened;
    };
    for (const Case &c : {Case{UserPrompts::RecoverAnswer::Discard, false, true},
                          Case{UserPrompts::RecoverAnswer::Later, true, false}}) {
        SCOPED_TRACE(int(c.answer));
        log = {};
        crashAfterTwoStrokes();
        restart(c.answer);
        context->journal.waitUntilWritten();
        EXPECT_EQ(context->session.document().isLoaded, c.mapOpened);
        if (c.mapOpened) {
            EXPECT_EQ(type(2, 5), 0);
            EXPECT_FALSE(context->session.hasUnsavedChanges());
        }
        // An open with no edit leaves a journal of nothing to recover.
        const std::vector<JournalListing> listed = listJournals(journals);
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed[0].recordBytes > 0, c.journalKept);
        // Later says where the edits went: kept for the next start.
        EXPECT_EQ(window->status().currentMessage().contains(QStringLiteral("kept for the next start")), !c.mapOpened)
            << window->status().currentMessage().toStdString();
        window.reset();
        context.reset();
    }
}

TEST_F(Recovery, ANewerJournalIsLeftAloneWithAMessage)
{
    crashAfterTwoStrokes();
    QFile file(journalPath);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    // Format version 9, written by a program that knows it: the header's checksum matches.
    QByteArray header = file.read(decodeJournalHeader(readFile(journalPath)).length);
    header[8] = 9;
    const std::uint32_t crc = qToLittleEndian(std::uint32_t(
        crc32_z(0, reinterpret_cast<const Bytef *>(header.constData()), z_size_t(header.size() - 4))));
    std::memcpy(header.data() + header.size() - 4, &crc, 4);
    file.seek(0);
    file.write(header);
    file.close();
    const QByteArray before = readFile(journalPath);

    auto fake = std::make_unique<FakePrompts>(log);
    context = std::make_unique<EditorContext>(std::move(fake), journals);
    preferences = std::make_unique<Preferences>(dir.filePath("preferences.ini"));
    window = std::make_unique<MainWindow>(*context, *preferences);
    window->openFile(mapPath);
    EXPECT_TRUE(log.recoverQuestions.isEmpty());
    ASSERT_TRUE(context->session.document().isLoaded);
    context->journal.waitUntilWritten();
    const QByteArray after = readFile(journalPath);
    EXPECT_EQ(after, before);
}

// A journal with edits that a running editor still writes is not offered:
// that editor has the map open.
TEST_F(Recovery, AJournalAnotherEditorWritesIsNotOffered)
{
    {
        EditorSession running;
        JournalKeeper keeper(running, journals);
        ASSERT_TRUE(running.open(mapPath).ok());
        BrushSettings water;
        water.terrainType = 8;
        running.paint(water, 3, 3);
        running.endStep();
        keeper.waitUntilWritten();
        EXPECT_TRUE(RecoveryPrompt::mapToOffer(journals).isEmpty());
    }
    // Ended without closing its map, as a crash would.
    EXPECT_EQ(RecoveryPrompt::mapToOffer(journals), mapPath);
}

// A damaged journal is never overwritten: it goes aside under a name that
// says so, the user is told where, and the steps in front of the damage are
// offered.
TEST_F(Recovery, ADamagedJournalIsMovedAsideAndTheStepsBeforeTheDamageOffered)
{
    crashAfterTwoStrokes({2, 20, 30});
    const JournalContents intact = readJournal(journalPath);
    ASSERT_EQ(intact.recordCount(), 3u);
    QByteArray damaged = readFile(journalPath);
    damaged[intact.recordOffsets[1] + 9] ^= 0x04;
    dir.write("journals/" + QFileInfo(journalPath).fileName(), damaged);

    restart(UserPrompts::RecoverAnswer::Recover);
    const QStringList aside = QDir(journals).entryList({"*.damaged-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    const QString asidePath = QDir(journals).filePath(aside[0]);
    EXPECT_EQ(readFile(asidePath), damaged);
    const QString question = log.recoverQuestions.first();
    EXPECT_TRUE(question.contains("record 2 is damaged and 1 intact records follow it")) << question.toStdString();
    EXPECT_TRUE(question.contains(QDir::toNativeSeparators(asidePath))) << question.toStdString();
    EXPECT_TRUE(question.contains("the 1 step before the damage")) << question.toStdString();
    EXPECT_EQ(type(2, 5), 8);
    EXPECT_EQ(type(20, 5), 0);
    EXPECT_EQ(type(30, 5), 0);
    EXPECT_TRUE(window->status().currentMessage().contains(QDir::toNativeSeparators(asidePath)))
        << window->status().currentMessage().toStdString();
    // The map's journal now holds the recovered step alone.
    context->journal.waitUntilWritten();
    EXPECT_EQ(readJournal(journalPath).recordCount(), 1u);
}

// The sample settings with the Russian interface.
QByteArray russianSettings()
{
    QFile sample(QStringLiteral(BRACKWEN_SAMPLE_SETTINGS));
    if (!sample.open(QIODevice::ReadOnly))
        return {};
    QByteArray ini = sample.readAll();
    ini.replace("language=english", "language=russian");
    ini.replace("graphics=0", "graphics=2");
    return ini;
}

// What is damaged in a journal is told in the interface's language, down to
// the record's own fault and where it lies.
TEST_F(Recovery, ADamagedJournalIsToldInRussian)
{
    dir.write("brackwen.ini", russianSettings());
    crashAfterTwoStrokes({2, 20, 30});
    const JournalContents intact = readJournal(journalPath);
    ASSERT_EQ(intact.recordCount(), 3u);
    QByteArray damaged = readFile(journalPath);
    damaged[intact.recordOffsets[1] + 9] ^= 0x04;
    dir.write("journals/" + QFileInfo(journalPath).fileName(), damaged);

    restart(UserPrompts::RecoverAnswer::Recover);
    const QString question = log.recoverQuestions.first();
    const QString damage = QString::fromUtf8("запись 2 повреждена, за ней следуют целые записи (1): контрольная сумма "
                                             "записи не сходится с её байтами (на байте %1)")
                               .arg(intact.recordOffsets[1]);
    EXPECT_TRUE(question.contains(damage)) << question.toStdString();
    const QString status = window->status().currentMessage();
    EXPECT_TRUE(status.contains(QString::fromUtf8("Повреждённый журнал правок перенесён"))) << status.toStdString();
    EXPECT_TRUE(status.contains(damage)) << status.toStdString();
    // The same journal read by the command-line tool keeps its English words.
    EXPECT_EQ(readJournalBytes(damaged).damage(),
              QStringLiteral("record 2 is damaged and 1 intact records follow it: a record's checksum does not "
                             "match its bytes (at byte %1)")
                  .arg(intact.recordOffsets[1]));
}

TEST_F(Recovery, AJournalThatCannotBeWrittenIsToldInRussian)
{
    dir.write("brackwen.ini", russianSettings());
    const QString blocked = dir.write("blocked", "not a folder");
    context = std::make_unique<EditorContext>(std::make_unique<FakePrompts>(log), blocked);
    preferences = std::make_unique<Preferences>(dir.filePath("preferences.ini"));
    window = std::make_unique<MainWindow>(*context, *preferences);
    window->openFile(mapPath);
    ASSERT_TRUE(context->session.document().isLoaded);
    context->journal.waitUntilWritten();
    const QString expected = QString::fromUtf8("Не удалось записать журнал правок: не удаётся создать папку %1 (%2)")
                                 .arg(blocked, QDir::toNativeSeparators(journalPathFor(blocked, mapPath)));
    QTRY_VERIFY2(window->status().currentMessage() == expected, qPrintable(window->status().currentMessage()));
}

TEST_F(Recovery, AJournalWithADamagedHeaderIsMovedAsideWhenItsMapOpens)
{
    crashAfterTwoStrokes();
    QByteArray damaged = readFile(journalPath);
    damaged[14] ^= 0x01;  // a bit of the header's map path
    dir.write("journals/" + QFileInfo(journalPath).fileName(), damaged);

    context = std::make_unique<EditorContext>(std::make_unique<FakePrompts>(log), journals);
    preferences = std::make_unique<Preferences>(dir.filePath("preferences.ini"));
    window = std::make_unique<MainWindow>(*context, *preferences);
    window->openFile(mapPath);
    ASSERT_TRUE(context->session.document().isLoaded);
    EXPECT_TRUE(log.recoverQuestions.isEmpty());
    const QStringList aside = QDir(journals).entryList({"*.damaged-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readFile(QDir(journals).filePath(aside[0])), damaged);
    const QString message = window->status().currentMessage();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(QDir(journals).filePath(aside[0])))) << message.toStdString();
    EXPECT_TRUE(message.contains("header is damaged")) << message.toStdString();
}

TEST_F(Recovery, TheBackupPreferenceKeepsTheReplacedFileAndIsRemembered)
{
    const auto start = [&] {
        context = std::make_unique<EditorContext>(std::make_unique<FakePrompts>(log), journals);
        preferences = std::make_unique<Preferences>(dir.filePath("preferences.ini"));
        window = std::make_unique<MainWindow>(*context, *preferences);
        window->show();
        window->openFile(mapPath);
    };
    const auto saveAfterAnEdit = [&] {
        BrushSettings water;
        water.terrainType = 8;
        context->session.paint(water, 1, 1);
        context->session.endStep();
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    };
    start();
    QAction *backup = window->actions().action(QStringLiteral("actionKeepBackup"));
    ASSERT_NE(backup, nullptr);
    EXPECT_FALSE(backup->isChecked());
    saveAfterAnEdit();
    EXPECT_FALSE(QFileInfo::exists(mapPath + ".bak"));

    backup->setChecked(true);
    const QByteArray saved = readFile(mapPath);
    saveAfterAnEdit();
    const QByteArray kept = readFile(mapPath + ".bak");
    EXPECT_EQ(kept, saved);

    window.reset();
    start();
    EXPECT_TRUE(window->actions().action(QStringLiteral("actionKeepBackup"))->isChecked());
}

}  // namespace

namespace {

// A save in place that was killed leaves the map's original in the backup
// folder: every start says where, until the copy is gone.
TEST_F(Recovery, AnOriginalKeptByASaveThatDidNotFinishIsToldAtStart)
{
    const QString backups = QFileInfo(journals).path();
    const QString copy = QDir(backups).filePath("plain.vdm.0123abcd.original");
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("original bytes");
    file.close();
    QFile(QDir(backups).filePath("notes.txt.original")).open(QIODevice::WriteOnly);  // not a kept copy's name

    context = std::make_unique<EditorContext>(std::make_unique<FakePrompts>(log), journals);
    preferences = std::make_unique<Preferences>(dir.filePath("preferences.ini"));
    window = std::make_unique<MainWindow>(*context, *preferences);
    const QString told = QStringLiteral("A save of plain.vdm did not finish; the map as it was before is kept in %1")
                             .arg(QDir::toNativeSeparators(copy));
    EXPECT_TRUE(window->status().currentMessage().contains(told)) << window->status().currentMessage().toStdString();
    EXPECT_FALSE(window->status().currentMessage().contains("notes.txt"));

    ASSERT_TRUE(QFile::remove(copy));
    window.reset();
    window = std::make_unique<MainWindow>(*context, *preferences);
    EXPECT_FALSE(window->status().currentMessage().contains("did not finish"));
}

}  // namespace

namespace {

// A save in place killed while it overwrote the map: the file no longer opens
// and the map as the edits began is kept in the backup folder. Recover puts
// it back and replays the edits on it; the map keeps its file.
TEST_F(Recovery, AFileDamagedByASaveThatDidNotFinishIsPutBackFromItsCopy)
{
    crashAfterTwoStrokes();
    const QByteArray original = readFile(mapPath);
    const QString copy = QDir(QFileInfo(journals).path()).filePath("plain.vdm.89abcdef.original");
    {
        QFile kept(copy);
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
        kept.write(original);
        QFile map(mapPath);
        ASSERT_TRUE(map.open(QIODevice::ReadWrite));
        map.write(QByteArray(1000, 'x'));  // the new bytes had begun to go in
    }

    restart(UserPrompts::RecoverAnswer::Recover);
    EXPECT_TRUE(log.recoverQuestions.first().contains(QDir::toNativeSeparators(copy)))
        << log.recoverQuestions.first().toStdString();
    const EditorSession &session = context->session;
    ASSERT_TRUE(session.document().isLoaded);
    EXPECT_EQ(session.fileName(), mapPath) << "the map keeps its file";
    EXPECT_EQ(type(2, 5), 8);
    EXPECT_EQ(type(20, 5), 8);
    EXPECT_TRUE(session.hasUnsavedChanges());
    EXPECT_EQ(readFile(mapPath), original);
    EXPECT_FALSE(QFileInfo::exists(copy));
}

}  // namespace
