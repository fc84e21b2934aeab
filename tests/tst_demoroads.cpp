// The whole payment, end to end: the demo terminal loads the built plug-in module, drives the
// wizard along each road against the simulated service, in its own process and over a
// WebSocket, and prints the payment it got.
#include "demoprocess.h"
#include "testutil.h"

#include <QDir>

namespace {

QList<int> pageIds(const QString &output)
{
    const QRegularExpression pages("^pages\\s+(.*)$", QRegularExpression::MultilineOption);
    QList<int> ids;
    for (const QString &id : pages.match(output).captured(1).split(" -> ", Qt::SkipEmptyParts))
        ids << id.toInt();
    return ids;
}

QJsonObject printedPayment(const QString &output)
{
    const int start = output.indexOf("Payment:\n");
    return start < 0 ? QJsonObject()
                     : QJsonDocument::fromJson(output.mid(start + 9).toUtf8()).object();
}

} // namespace

class TestDemoRoads : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roads_data();
    void roads();
    void twoTerminalsAtOnce();

private:
    RunResult drive(const QString &road, const QString &service, const QString &screenshots);
    QTemporaryDir m_dir;
    QString m_data;
};

void TestDemoRoads::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_data = serviceFile(m_dir, 20);
}

RunResult TestDemoRoads::drive(
    const QString &road, const QString &service, const QString &screenshots)
{
    QStringList arguments = {"--road", road, "--plugin", CORVEX_PLUGIN_PATH};
    arguments << (service.isEmpty() ? QStringList({"--service-data", m_data})
                                    : QStringList({"--service", service}));
    if (!screenshots.isEmpty())
        arguments << "--screenshots" << screenshots;
    return runProgram(CORVEX_ROADS_PROGRAM, arguments, {{"CORVEX_REPLY_TIMEOUT", "10"}});
}

void TestDemoRoads::roads_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<bool>("webSocket");
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("paymentKind");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("receipt");
    for (bool webSocket : {false, true}) {
        const char *line = webSocket ? "websocket" : "in process";
        QTest::addRow("code, %s", line) << "code" << webSocket << QList<int> {0, 15} << "4081781001"
                                        << "1"
                                        << ""
                                        << "Credit code=4081781001";
        QTest::addRow("template, %s", line)
            << "template" << webSocket << QList<int> {0, 4, 14, 7, 15} << "4081781001"
            << "2"
            << "Consumer credit: AO Alfa-Bank"
            << "phone=9161234567";
        QTest::addRow("new customer, %s", line)
            << "new-customer" << webSocket
            << QList<int> {0, 1, 2, 3, 14, 5, 30, 6, 46, 4, 62, 7, 15} << "7000000001"
            << "1"
            << "Consumer credit: AO Alfa-Bank"
            << "Contract number=PIL-2023-0457";
        QTest::addRow("add template, %s", line)
            << "add-template" << webSocket << QList<int> {0, 4, 14, 7, 5, 30, 6, 46, 20, 62, 23, 15}
            << "7000000001"
            << "1"
            << "Mortgage: PAO Sberbank"
            << "Contract number=MG-77/2019";
    }
}

void TestDemoRoads::roads()
{
    QFETCH(QString, road);
    QFETCH(bool, webSocket);
    QFETCH(QList<int>, pages);
    QFETCH(QString, account);
    QFETCH(QString, paymentKind);
    QFETCH(QString, comment);
    QFETCH(QString, receipt);

    ServiceProcess service;
    if (webSocket)
        QVERIFY(service.start(m_data));
    const QString shots = m_dir.filePath(QTest::currentDataTag());
    const RunResult run = drive(road, webSocket ? service.url() : QString(), shots);
    QVERIFY2(run.finished, qPrintable(run.out + run.err));
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QCOMPARE(pageIds(run.out), pages);

    // Two pictures per page passed, one in each language, named by step, page and language.
    QStringList expectedShots;
    for (int step = 0; step < pages.size(); ++step) {
        for (const char *language : {"en", "ru"})
            expectedShots << QString("%1-%2.png").arg(step + 1, 2, 10, QChar('0')).arg(language);
    }
    QStringList shotSteps = QDir(shots).entryList(QDir::Files, QDir::Name);
    shotSteps.replaceInStrings(QRegularExpression("^(\\d+)-[a-z]+-"), "\\1-");
    QCOMPARE(shotSteps, expectedShots);

    const QJsonObject payment = printedPayment(run.out);
    const QJsonObject provider = payment.value("provider").toObject();
    QCOMPARE(provider.value("id").toInt(), 1586);
    QCOMPARE(provider.value("name").toString(), QString("Corvex: credit repayment"));
    QCOMPARE(provider.value("checkTitle").toString(), QString("Credit repayment via Corvex"));
    QCOMPARE(payment.value("currencyId").toInt(), 643);
    QCOMPARE(payment.value("account").toString(), account);
    // The customer's 1000.00 already paid in reach the account; 1.5 %, at least 30.00, on top.
    QCOMPARE(payment.value("summ").toString(), QString("1000.00"));
    QCOMPARE(payment.value("commission").toString(), QString("30.00"));
    QCOMPARE(payment.value("total").toString(), QString("1030.00"));
    QCOMPARE(payment.value("checkFlags").toArray(), QJsonArray({"online", "printCheck"}));
    QCOMPARE(payment.value("immediatePost"), QJsonValue(true));

    const QJsonArray details = payment.value("details").toArray();
    QStringList names;
    for (const QJsonValue &detail : details)
        names << detail.toObject().value("name").toString();
    QCOMPARE(names, QStringList({"account", "payer", "paymentKind"}));
    QCOMPARE(details.at(0).toObject().value("value").toString(), account);
    QCOMPARE(details.at(2).toObject().value("value").toString(), paymentKind);
    QVERIFY2(payment.value("comment").toString().contains(comment), qPrintable(run.out));
    QVERIFY2(payment.value("receipt").toString().contains(receipt), qPrintable(run.out));
}

// Two terminals on one service process at the same time each finish their own payment.
void TestDemoRoads::twoTerminalsAtOnce()
{
    ServiceProcess service;
    QVERIFY(service.start(m_data, {"--delay", "300"}));
    QStringList arguments
        = {"--road", "template", "--plugin", CORVEX_PLUGIN_PATH, "--service", service.url()};
    QProcess first, second;
    for (QProcess *terminal : {&first, &second}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CORVEX_REPLY_TIMEOUT", "10");
        terminal->setProcessEnvironment(env);
        terminal->start(CORVEX_ROADS_PROGRAM, arguments);
    }
    for (QProcess *terminal : {&first, &second}) {
        if (!terminal->waitForFinished(120000))
            terminal->kill();
        terminal->waitForFinished(10000);
    }
    RunResult runs[2];
    QProcess *terminals[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        runs[i].out = QString::fromUtf8(terminals[i]->readAllStandardOutput());
        runs[i].err = QString::fromUtf8(terminals[i]->readAllStandardError());
        runs[i].exitCode = terminals[i]->exitCode();
    }
    for (const RunResult &run : runs) {
        QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
        // As many replies as requests: none of the other terminal's.
        QCOMPARE(run.out.count(QRegularExpression("^reply ", QRegularExpression::MultilineOption)),
            run.out.count(QRegularExpression("^request ", QRegularExpression::MultilineOption)));
        QCOMPARE(pageIds(run.out), QList<int>({0, 4, 14, 7, 15}));
    }
}

QTEST_MAIN(TestDemoRoads)
#include "tst_demoroads.moc"
