// brackwen-mapgen OUTDIR [RULES]: writes the sample maps, each as ".vdm" and
// ".vdw", gzip ("Lakes36.vdm") and plain ("Lakes36-plain.vdm"), with the
// terrain, river and road rules of the file RULES applied when it is given. Every map is
// read back with the editor's own loader before it is written, so a marker
// that turned up by accident in front of the real one cannot go unnoticed.
#include "map/Gzip.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"
#include "writers/SampleMap.h"

#include <QDir>
#include <QFile>

#include <array>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

struct Sample {
    const char *name;
    std::uint32_t side;
    bool twoLevels;
    std::uint64_t seed;
};

constexpr std::array Samples = {
    Sample{"Lakes36", 36, false, 36},
    Sample{"Valleys72", 72, true, 72},
    Sample{"Highlands144", 144, true, 144},
    Sample{"Odd50", 50, true, 50},
};

// Empty when the bytes load as the map that was written, else the reason.
QString checkLoadsBack(const QByteArray &fileBytes, const MapWriter &writer)
{
    const MapLoadResult loaded = loadMapData(fileBytes);
    if (!loaded.ok())
        return loaded.reason;
    const MapDocument &document = *loaded.document;
    if (loaded.facts.terrainOffset != writer.terrainOffset())
        return QStringLiteral("terrain found at %1 instead of %2").arg(loaded.facts.terrainOffset).arg(writer.terrainOffset());
    if (!(document.ground == writer.layers.front()) || (document.hasUnderground && !(document.underground == writer.layers.back())))
        return QStringLiteral("terrain read back differs");
    return {};
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char **argv)
{
    constexpr const char *Usage = "usage: brackwen-mapgen OUTDIR [RULES]\n";
    // Words that look like options are never taken for a folder or a file.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (argv[i][0] == '-') {
            std::fprintf(stderr, "brackwen-mapgen: unknown option %s\n%s", argv[i], Usage);
            return 2;
        }
    }
    if (argc != 2 && argc != 3) {
        std::fputs(Usage, stderr);
        return 2;
    }
    std::optional<TerrainEdgeRules> edges;
    if (argc == 3) {
        const TerrainEdgeRulesResult rules = readTerrainEdgeRules(QString::fromLocal8Bit(argv[2]));
        if (!rules.ok()) {
            std::fprintf(stderr, "brackwen-mapgen: %s: %s\n", argv[2], qPrintable(rules.reason));
            return 1;
        }
        edges = rules.rules;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "brackwen-mapgen: cannot create %s\n", argv[1]);
        return 1;
    }
    for (const Sample &sample : Samples) {
        const MapWriter writer = sampleMap(sample.name, sample.side, sample.twoLevels, sample.seed, edges ? &*edges : nullptr);
        const QByteArray plain = writer.data();
        const QByteArray compressed = gzipMember(plain);
        for (const QByteArray &bytes : {plain, compressed}) {
            const QString problem = checkLoadsBack(bytes, writer);
            if (!problem.isEmpty()) {
                std::fprintf(stderr, "brackwen-mapgen: %s: %s\n", sample.name, qPrintable(problem));
                return 1;
            }
        }
        for (const char *extension : {".vdm", ".vdw"}) {
            const QString name = QString::fromLatin1(sample.name);
            if (!writeFile(folder.filePath(name + extension), compressed)
                || !writeFile(folder.filePath(name + "-plain" + extension), plain)) {
                std::fprintf(stderr, "brackwen-mapgen: cannot write %s into %s\n", sample.name, argv[1]);
                return 1;
            }
        }
    }
    return 0;
}
