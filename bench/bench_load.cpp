#include <benchmark/benchmark.h>

#include "benchmain.h"
#include "ipaybyprovider.h"
#include "ipaydialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPluginLoader>
#include <QProcess>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWizard>
#include <QWizardPage>

#include <cstdio>
#include <cstring>

// Loading the plug-in and its first start() in a fresh process, against a bare wizard of ten
// pages, one of them holding a text browser (the font set-up of the text browser is most of
// either). Each round starts this program again as a child that times itself; the process start
// is left out of both.

namespace {

qint64 loadAndStart()
{
    QElapsedTimer clock;
    clock.start();
    QPluginLoader loader(QStringLiteral(CORVEX_PLUGIN_PATH));
    auto *plugin = qobject_cast<IPayByProvider *>(loader.instance());
    if (!plugin)
        return -1;
    plugin->setInputFont(QFont(QStringLiteral("Sans"), 13));
    plugin->setBoxInfo(BoxInfo());
    Currency currency;
    currency.setNumber3(643);
    currency.setAlpha3(QStringLiteral("RUB"));
    currency.setRealMultiplier(100);
    Provider provider;
    provider.setId(1586);
    IPayDialog *dialog
        = plugin->start(currency, FixNumber(100, 0LL), BoxComProfile(), provider, nullptr);
    const qint64 elapsed = clock.nsecsElapsed();
    delete dialog;
    return elapsed;
}

qint64 bareWizard()
{
    QElapsedTimer clock;
    clock.start();
    auto *wizard = new QWizard;
    for (int i = 0; i < 10; ++i) {
        auto *page = new QWizardPage;
        if (i == 0)
            (new QVBoxLayout(page))->addWidget(new QTextBrowser(page));
        wizard->setPage(i, page);
    }
    const qint64 elapsed = clock.nsecsElapsed();
    delete wizard;
    return elapsed;
}

void coldRounds(benchmark::State &state, const char *mode)
{
    const QString program = QCoreApplication::applicationFilePath();
    for (auto _ : state) {
        QProcess child;
        child.start(program, {QString::fromLatin1(mode)});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            state.SkipWithError("the child failed");
            return;
        }
        const qint64 nanoseconds = child.readAllStandardOutput().trimmed().toLongLong();
        state.SetIterationTime(double(nanoseconds) / 1e9);
    }
}

} // namespace

static void BM_PluginLoad_project(benchmark::State &state)
{
    coldRounds(state, "--child-project");
}
BENCHMARK(BM_PluginLoad_project)
    ->Name("BM_PluginLoad/cold/project")
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

static void BM_PluginLoad_baseline(benchmark::State &state)
{
    coldRounds(state, "--child-baseline");
}
BENCHMARK(BM_PluginLoad_baseline)
    ->Name("BM_PluginLoad/cold/baseline")
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--child-project") == 0) {
        const qint64 elapsed = loadAndStart();
        std::printf("%lld\n", elapsed);
        return elapsed < 0 ? 1 : 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--child-baseline") == 0) {
        std::printf("%lld\n", bareWizard());
        return 0;
    }
    return runRegisteredBenchmarks(argc, argv);
}
