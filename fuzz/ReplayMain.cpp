// A fuzz target's own main where libFuzzer is not there (any compiler, the
// tests' build): "TARGET --write-seeds=DIR" writes its seed corpus as under
// libFuzzer, and "TARGET PATH..." runs the target once on each file named,
// or on each file of a folder named. A target that finds a fault aborts, as
// it does under libFuzzer; a file that cannot be read fails the run.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

bool runOn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QStringList files;
        if (QFileInfo(path).isDir()) {
            for (const QString &name : QDir(path).entryList(QDir::Files, QDir::Name))
                files << QDir(path).filePath(name);
        } else {
            files << path;
        }
        for (const QString &each : files) {
            if (!runOn(each))
                return 1;
            ++runs;
        }
    }
    std::printf("%d inputs run\n", runs);
    return 0;
}
