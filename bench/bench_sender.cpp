#include "benchmain.h"
#include "paintcounter.h"

#include "corvexpaywizard.h"
#include "cxwpmsgsender.h"
#include "icxwizardpage.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProgressBar>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWizardPage>

#include <memory>

// The sender page taking a reply with 10,000 templates until it is painted, against parsing the
// same text and showing the same HTML in a text browser of the same size; and what the page
// repaints while it waits and once it is idle, against a bare progress bar.

namespace {

const qint64 UID = 123;
const int TEMPLATES = 10000;
const QString PREVIEW = QStringLiteral("<p><b>Phone: </b>9001234567</p>");

// A data page with a fixed request, so that every round waits for the same uid.
class RequestPage : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit RequestPage(QWizard *wizard)
        : QWizardPage(wizard)
    {
        m_request.setType(CorvexRequest::AllTemplatesRequest);
        m_request.setFunction(QStringLiteral("listtid"));
        m_request.setUid(UID);
        m_request.setCurrencyId(643);
    }
    int nextId() const override
    {
        return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
    }
    QString preview() const override { return PREVIEW; }
    CorvexRequest outputData() const override { return m_request; }

private:
    CorvexRequest m_request;
};

QString reply(int templates)
{
    QString list;
    for (int i = 0; i < templates; ++i) {
        list += QStringLiteral("%1{\"creditType\":\"Consumer credit\",\"bankName\":\"Bank %2\","
                               "\"creditCode\":\"%3\",\"addInfo\":{\"Contract\":\"N-%2\","
                               "\"Rate\":\"12.5\",\"Term\":\"36\"}}")
                    .arg(i ? QStringLiteral(",") : QString())
                    .arg(i)
                    .arg(4000000000LL + i);
    }
    return QStringLiteral("{\"uid\":%1,\"error\":false,\"params\":{\"errorCode\":0,"
                          "\"lastName\":\"Ivanov\",\"firstName\":\"Ivan\",\"secondName\":"
                          "\"Ivanovich\",\"phone\":\"9001234567\",\"templateList\":[%2]}}")
        .arg(UID)
        .arg(list);
}

// What the page shows for that reply.
const QString SHOWN
    = PREVIEW + QStringLiteral("<p align=\"left\"><b>Full name: </b> Ivanov Ivan Ivanovich</p>");

struct SenderFixture
{
    SenderFixture()
        : wizard(new CorvexPayWizard(QFont(QStringLiteral("Sans"), 13), Currency(), FixNumber()))
    {
        wizard->removePage(CorvexPayWizard::PagePrepareAllTemplatesRequest);
        wizard->setPage(
            CorvexPayWizard::PagePrepareAllTemplatesRequest, new RequestPage(wizard.get()));
        wizard->setStartId(CorvexPayWizard::PagePrepareAllTemplatesRequest);
        wizard->resize(800, 600);
        wizard->show();
        wizard->next();
        sender = qobject_cast<CXWPMsgSender *>(wizard->currentPage());
        browser = sender->findChild<QTextBrowser *>(QStringLiteral("tbData"));
        progress = sender->findChild<QProgressBar *>(QStringLiteral("progressBar"));
        QCoreApplication::processEvents();
    }

    // Back to the request page and forward again: the page sends the request anew and waits.
    void enter()
    {
        wizard->back();
        wizard->next();
    }

    std::unique_ptr<CorvexPayWizard> wizard;
    CXWPMsgSender *sender = nullptr;
    QTextBrowser *browser = nullptr;
    QProgressBar *progress = nullptr;
};

// A window with a text browser and a progress bar laid out as on the sender page.
struct PlainFixture
{
    PlainFixture(const QSize &browserSize)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(browser = new QTextBrowser);
        layout->addWidget(progress = new QProgressBar);
        progress->setRange(0, 60);
        window.resize(800, 600);
        window.show();
        browser->setFixedSize(browserSize);
        QCoreApplication::processEvents();
    }

    QWidget window;
    QTextBrowser *browser = nullptr;
    QProgressBar *progress = nullptr;
};

void flushPaints()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace

static void BM_SenderReply_project(benchmark::State &state)
{
    const QString message = reply(int(state.range(0)));
    SenderFixture fixture;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.enter();
        state.ResumeTiming();
        fixture.sender->incomingMessage(QVariantMap(), message);
        fixture.browser->repaint();
    }
    if (!fixture.sender->isComplete())
        state.SkipWithError("the reply was not taken");
}
BENCHMARK(BM_SenderReply_project)
    ->Name("BM_SenderReply/project")
    ->Arg(TEMPLATES)
    ->Unit(benchmark::kMillisecond);

static void BM_SenderReply_baseline(benchmark::State &state)
{
    const QString message = reply(int(state.range(0)));
    SenderFixture sizeOf;
    PlainFixture fixture(sizeOf.browser->size());
    for (auto _ : state) {
        state.PauseTiming();
        fixture.browser->setHtml(PREVIEW);
        state.ResumeTiming();
        const QJsonDocument document = QJsonDocument::fromJson(message.toUtf8());
        benchmark::DoNotOptimize(document.isObject());
        fixture.browser->setHtml(SHOWN);
        fixture.browser->repaint();
    }
}
BENCHMARK(BM_SenderReply_baseline)
    ->Name("BM_SenderReply/baseline")
    ->Arg(TEMPLATES)
    ->Unit(benchmark::kMillisecond);

// Paint events per one-second tick of the progress.
static void BM_RepaintsWaiting_project(benchmark::State &state)
{
    SenderFixture fixture;
    flushPaints();
    PaintCounter counter;
    for (auto _ : state) {
        if (fixture.progress->value() >= fixture.progress->maximum()) {
            state.PauseTiming();
            fixture.enter();
            flushPaints();
            counter.paints = 0;
            state.ResumeTiming();
        }
        fixture.sender->setProgress();
        flushPaints();
    }
    state.counters["paints"]
        = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RepaintsWaiting_project)->Name("BM_RepaintsWaiting/project")->Iterations(50);

static void BM_RepaintsWaiting_baseline(benchmark::State &state)
{
    PlainFixture fixture(QSize(400, 300));
    flushPaints();
    PaintCounter counter;
    for (auto _ : state) {
        fixture.progress->setValue(fixture.progress->value() + 1);
        flushPaints();
    }
    state.counters["paints"]
        = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RepaintsWaiting_baseline)->Name("BM_RepaintsWaiting/baseline")->Iterations(50);

// Paint events per second once the reply is shown.
template<typename Fixture> void idleLoop(benchmark::State &state, Fixture &fixture)
{
    Q_UNUSED(fixture)
    flushPaints();
    PaintCounter counter;
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        QElapsedTimer second;
        second.start();
        while (second.elapsed() < 1500)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    state.counters["paints"] = benchmark::Counter(
        counter.paints * 1000.0 / clock.elapsed(), benchmark::Counter::kDefaults);
}

static void BM_RepaintsIdle_project(benchmark::State &state)
{
    SenderFixture fixture;
    fixture.sender->incomingMessage(QVariantMap(), reply(10));
    idleLoop(state, fixture);
}
BENCHMARK(BM_RepaintsIdle_project)->Name("BM_RepaintsIdle/project")->Iterations(1);

static void BM_RepaintsIdle_baseline(benchmark::State &state)
{
    PlainFixture fixture(QSize(400, 300));
    idleLoop(state, fixture);
}
BENCHMARK(BM_RepaintsIdle_baseline)->Name("BM_RepaintsIdle/baseline")->Iterations(1);

CORVEX_BENCHMARK_MAIN(true)

#include "bench_sender.moc"
