// The demo terminal host, the scripted roads and the simulated service refuse a bad set-up clearly:
// they name the file, the key, the option or the module that is wrong and exit with 2, before any
// payment starts.
#include "demoprocess.h"
#include "testutil.h"

#include <QLibraryInfo>

class TestDemoHost : public QObject
{
    Q_OBJECT

private slots:
    void setupErrors_data();
    void setupErrors();

    void window_data()
    {
        addRows<QStringList, QString>({"arguments", "window"},
            {{"kiosk", {}, "window   full screen"},
                {"desktop", {"--windowed"}, "window   windowed"}});
    }

    void window()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, window);
        const RunResult run = runProgram(CORVEX_TERMINAL_PROGRAM, arguments, 4000);
        QVERIFY2(run.out.contains(window), qPrintable(run.out + run.err));
    }

private:
    QTemporaryDir m_dir;
};

void TestDemoHost::setupErrors_data()
{
    const QString otherPlugin = qtFolder(QLibraryInfo::PluginsPath) + "/platforms/libqoffscreen.so";
    // %T and %S stand for a terminal and a service file, the shipped one edited as editedCopy()
    // does. A row runs corvex-terminal, or the program its arguments start with.
    addRows<QStringList, QString, QStringList>({"arguments", "edit", "messages"},
        {
            {"plug-in missing", {"--plugin", "/nonexistent/libcorvexpay.so"}, "",
                {"plug-in /nonexistent/libcorvexpay.so: no such file"}},
            {"not a plug-in", {"--plugin", CORVEX_DEMO_DATA_DIR "/service.json"}, "",
                {"service.json: not a Qt plug-in"}},
            {"plug-in of another interface", {"--plugin", otherPlugin}, "",
                {"libqoffscreen.so: interface",
                    "expected \"com.dalmor.terminal.plugins.paybyprovider\""}},
            {"terminal file missing", {"--terminal", "/nonexistent/terminal.json"}, "",
                {"/nonexistent/terminal.json: cannot read the file"}},
            {"terminal file not JSON", {"--terminal", "%T"},
                "!{\"font\": ", {"terminal.json: not JSON"}},
            {"terminal file without provider", {"--terminal", "%T"}, "-provider",
                {"terminal.json: key \"provider\" is missing"}},
            {"parameter without name", {"--terminal", "%T"}, "-provider.parameters[0].name",
                {"terminal.json: key \"provider.parameters[0].name\" is missing"}},
            {"commission without rules", {"--terminal", "%T"},
                "-comProfile.items[0].commission.rules",
                {"key \"comProfile.items[0].commission.rules\" is missing"}},
            {"prepay not an amount", {"--terminal", "%T"}, "prepay=\"ten\"",
                {"key \"prepay\" must be an amount"}},
            {"terminal without box id", {"--terminal", "%T"}, "-box.boxId",
                {"key \"box.boxId\" is missing"}},
            {"road without inputs", {"corvex-roads", "--terminal", "%T"}, "-roads.code",
                {"terminal.json: key \"roads.code\" is missing"}},
            // Numbers are checked before they are converted: none is cut to fit.
            {"multiplier past 32 bits", {"--terminal", "%T"}, "currency.realMultiplier=4294967297",
                {"key \"currency.realMultiplier\" must be a whole number from 1 to 1000000000"}},
            {"box id past 64 bits", {"--terminal", "%T"}, "box.boxId=1e300",
                {"key \"box.boxId\" must be a whole number from -9007199254740992 to "
                 "9007199254740992"}},
            {"font size a fraction", {"--terminal", "%T"}, "font.pointSize=12.5",
                {"key \"font.pointSize\" must be a whole number"}},
            {"parameter position past 32 bits", {"--terminal", "%T"},
                "provider.parameters[0].pos=2147483648",
                {"key \"provider.parameters[0].pos\" must be a whole number from -2147483648 to "
                 "2147483647"}},
            {"terminal file endless", {"--terminal", "/dev/zero"}, "",
                {"/dev/zero: the file is larger than 1048576 bytes"}},
            {"terminal file a folder", {"--terminal", "/"}, "", {"/: cannot read the file"}},
            {"reply delay past 32 bits", {"--service-data", "%S"}, "replyDelayMs=4294967296",
                {"key \"replyDelayMs\" must be a whole number from 0 to 3600000"}},
            {"delay past 32 bits", {"--delay", "4294967296"}, "",
                {"--delay needs milliseconds from 0 to 3600000"}},
            {"service not a WebSocket", {"--service", "http://127.0.0.1:80"}, "",
                {"--service needs ws://HOST:PORT"}},
            {"unknown road", {"corvex-roads", "--road", "scenic"}, "",
                {"corvex-roads: unknown road \"scenic\"",
                    "code, template, new-customer, add-template"}},
            {"road in the terminal", {"--road", "code"}, "",
                {"corvex-terminal: --road is an option of corvex-roads"}},
            // A mistyped option is a set-up error, not the operator's cancel (exit 1).
            {"unknown option", {"--colour", "red"}, "", {"Unknown option 'colour'"}},
            {"unknown option of the roads", {"corvex-roads", "--colour"}, "",
                {"corvex-roads: Unknown option 'colour'"}},
            {"service without port", {"corvex-service"}, "",
                {"corvex-service: --listen PORT is required"}},
            {"service port not a number", {"corvex-service", "--listen", "seventy"}, "",
                {"needs a port number"}},
            {"service delay below 0", {"corvex-service", "--listen", "0", "--delay", "-5"}, "",
                {"corvex-service: --delay needs milliseconds"}},
            {"service delay past 32 bits",
                {"corvex-service", "--listen", "0", "--delay", "4294967296"}, "",
                {"--delay needs milliseconds from 0 to 3600000"}},
            {"service without idle limit", {"corvex-service", "--listen", "0", "--idle", "0"}, "",
                {"--idle needs seconds from 1 to 86400"}},
            {"service file endless", {"corvex-service", "--listen", "0", "--data", "/dev/zero"}, "",
                {"/dev/zero: the file is larger than 16777216 bytes"}},
        });
}

void TestDemoHost::setupErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, edit);
    QFETCH(QStringList, messages);
    const QString file = arguments.contains("%S") ? "service.json" : "terminal.json";
    const QString copy
        = editedCopy(m_dir.filePath(QTest::currentDataTag() + QString("-") + file), file, edit);
    arguments.replaceInStrings("%T", copy).replaceInStrings("%S", copy);
    const QMap<QString, QString> programs
        = {{"corvex-roads", CORVEX_ROADS_PROGRAM}, {"corvex-service", CORVEX_SERVICE_PROGRAM}};
    const QString program = programs.value(arguments.first(), CORVEX_TERMINAL_PROGRAM);
    if (programs.contains(arguments.first()))
        arguments.removeFirst();

    const RunResult run = runProgram(program, arguments, 60000);
    QCOMPARE(run.exitCode, 2);
    for (const QString &message : messages)
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    // Nothing was paid and no wizard was driven.
    QVERIFY(!run.out.contains("Payment:"));
    QVERIFY(!run.out.contains("page "));
}

QTEST_MAIN(TestDemoHost)
#include "tst_demohost.moc"
