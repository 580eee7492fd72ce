// One save as the game does it (lock, read again, write, sync file and folder), and the help
// window opened through the archive helper process. Each is run 100 times; see the median.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include "halloffame/HallOfFame.h"
#include "persistence/RecordFile.h"
#include "shell/HelpViewer.h"

namespace {

// On the disk the build lives on, not in a RAM-backed /tmp.
QString DiskFolderTemplate() { return QDir::currentPath() + QStringLiteral("/bench-XXXXXX"); }

void BM_SaveBoardSlot(benchmark::State& state) {
    QTemporaryDir dir(DiskFolderTemplate());
    tessaro::Settings settings;
    settings.currentFile = dir.filePath(QStringLiteral("brett.brd")).toStdString();
    tessaro::BoardModel model;
    int slot = 0;
    for (auto _ : state) {
        if (!tessaro::SaveRecord(model, settings, slot++ % 4)) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveBoardSlot)->Iterations(1)->Repetitions(100)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_SaveChampionEntry(benchmark::State& state) {
    QTemporaryDir dir(DiskFolderTemplate());
    const QString path = dir.filePath(QStringLiteral("Champions.Rhm"));
    tessaro::HallOfFame hof;
    int second = 3600;
    for (auto _ : state) {
        const QString time = QStringLiteral("00:%1:%2.0").arg(second / 60, 2, 10, QLatin1Char('0')).arg(second % 60, 2, 10, QLatin1Char('0'));
        --second;
        if (!tessaro::UpdateChampions(hof, path, [&](tessaro::HallOfFame& h) {
                tessaro::InsertChampion(h, 0, QStringLiteral("Bench"), QStringLiteral("1.1.26"), time);
            })) {
            state.SkipWithError("save failed");
        }
    }
}
BENCHMARK(BM_SaveChampionEntry)->Iterations(1)->Repetitions(100)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// What the disk alone costs: one fdatasync of a board file's size.
void BM_DiskSyncAlone(benchmark::State& state) {
    QTemporaryDir dir(DiskFolderTemplate());
    const QByteArray name = QFile::encodeName(dir.filePath(QStringLiteral("sync")));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
    const QByteArray bytes(8800, 'x');
    for (auto _ : state) {
        if (::pwrite(fd, bytes.constData(), static_cast<size_t>(bytes.size()), 0) != bytes.size() || ::fdatasync(fd) != 0) {
            state.SkipWithError("sync failed");
        }
    }
    ::close(fd);
}
BENCHMARK(BM_DiskSyncAlone)->Iterations(1)->Repetitions(100)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// From the request to a shown page: helper process, archive read, page laid out.
void BM_OpenHelpWindow(benchmark::State& state) {
    const QString archive = QStringLiteral(TESSARO_SOURCE_DATA_DIR "/Kalvix.chm");
    for (auto _ : state) {
        tessaro::HelpState help;
        if (tessaro::ShowHelpTopic(help, archive, QString::fromUtf8(tessaro::kOverviewTopic)) != tessaro::kHelpShown) {
            state.SkipWithError("help failed");
        }
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenHelpWindow)->Iterations(1)->Repetitions(100)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
