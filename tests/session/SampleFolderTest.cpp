// The installed sample folder, found from the program's folder: present with
// and without its maps, absent, or a file where a folder should be.
#include "session/SampleFolder.h"

#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

struct SampleLayout {
    const char *name;
    const char *file;  // a file made below the sample folder's place ("": in its place); none: nothing
    bool folderFound;
    bool mapsFound;
};

constexpr SampleLayout Layouts[] = {
    {"installed", "/maps/Lakes36.vdm", true, true},
    {"without maps", "/brackwen.ini", true, false},
    {"maps a file", "/maps", true, false},
    {"a file in the folder's place", "", false, false},
    {"nothing installed", nullptr, false, false},
};

TEST(SampleFolder, FoundBesideTheProgramsFolder)
{
    for (const SampleLayout &layout : Layouts) {
        SCOPED_TRACE(layout.name);
        const TempDir root;
        const QString programFolder = root.filePath(QStringLiteral("prefix/bin"));
        ASSERT_TRUE(QDir().mkpath(programFolder));
        const QString samples = QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(BRACKWEN_SAMPLE_FOLDER)));
        if (layout.file)
            root.write(QDir(root.path()).relativeFilePath(samples) + QLatin1String(layout.file), "x");

        EXPECT_EQ(installedSampleFolder(programFolder), layout.folderFound ? samples : QString());
        EXPECT_EQ(installedSampleMaps(programFolder), layout.mapsFound ? samples + QStringLiteral("/maps") : QString());
    }
}

}  // namespace
