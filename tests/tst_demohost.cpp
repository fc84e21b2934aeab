// The demo terminal host refuses a bad set-up clearly: it names the file, the key or the module
// that is wrong and exits with 2, before any payment starts.
#include "demoprocess.h"
#include "testutil.h"

#include <QLibraryInfo>

namespace {

// Takes the value under a dotted path ("provider.parameters[0].name") out of a JSON object.
QJsonValue without(const QJsonValue &value, QStringList path)
{
    if (path.isEmpty())
        return value;
    QString key = path.takeFirst();
    int index = -1;
    if (key.contains('[')) {
        index = key.section('[', 1).chopped(1).toInt();
        key = key.section('[', 0, 0);
    }
    QJsonObject object = value.toObject();
    if (index < 0) {
        if (path.isEmpty())
            object.remove(key);
        else
            object.insert(key, without(object.value(key), path));
        return object;
    }
    QJsonArray array = object.value(key).toArray();
    if (path.isEmpty())
        array.removeAt(index);
    else
        array.replace(index, without(array.at(index), path));
    object.insert(key, array);
    return object;
}

} // namespace

class TestDemoHost : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void setupErrors_data();
    void setupErrors();

private:
    QString edited(const QString &source, const QString &edit);
    QTemporaryDir m_dir;
};

void TestDemoHost::initTestCase()
{
    QFile text(m_dir.filePath("notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a plug-in\n");
}

// Writes a copy of a shipped file: "!text" replaces it with that text, "-path" drops a key,
// "path=json" sets one.
QString TestDemoHost::edited(const QString &source, const QString &edit)
{
    const QString path = m_dir.filePath(QTest::currentDataTag() + QString("-") + source);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (edit.startsWith('!')) {
        file.write(edit.mid(1).toUtf8());
        return path;
    }
    QJsonObject data = readJson(QString(CORVEX_DEMO_DATA_DIR "/") + source);
    if (edit.startsWith('-')) {
        data = without(data, edit.mid(1).split('.')).toObject();
    } else if (edit.contains('=')) {
        data.insert(edit.section('=', 0, 0),
            QJsonDocument::fromJson("[" + edit.section('=', 1).toUtf8() + "]").array().first());
    }
    file.write(QJsonDocument(data).toJson());
    return path;
}

void TestDemoHost::setupErrors_data()
{
    const QString otherPlugin = qtFolder(QLibraryInfo::PluginsPath) + "/platforms/libqoffscreen.so";
    // %T and %S stand for the edited terminal and service files of the row.
    addRows<QStringList, QString, QString, QStringList>(
        {"arguments", "terminalEdit", "serviceEdit", "messages"},
        {
            {"plug-in missing", {"--plugin", "/nonexistent/libcorvexpay.so"}, "", "",
                {"plug-in /nonexistent/libcorvexpay.so: no such file"}},
            {"not a plug-in", {"--plugin", m_dir.filePath("notes.txt")}, "", "",
                {"notes.txt: not a Qt plug-in"}},
            {"plug-in of another interface", {"--plugin", otherPlugin}, "", "",
                {"libqoffscreen.so: interface",
                    "expected \"com.dalmor.terminal.plugins.paybyprovider\""}},
            {"terminal file missing", {"--terminal", "/nonexistent/terminal.json"}, "", "",
                {"/nonexistent/terminal.json: cannot read the file"}},
            {"terminal file not JSON", {"--terminal", "%T"}, "!{\"font\": ", "",
                {"terminal.json: not JSON"}},
            {"terminal file without provider", {"--terminal", "%T"}, "-provider", "",
                {"terminal.json: key \"provider\" is missing"}},
            {"parameter without name", {"--terminal", "%T"}, "-provider.parameters[0].name", "",
                {"terminal.json: key \"provider.parameters[0].name\" is missing"}},
            {"commission without rules", {"--terminal", "%T"},
                "-comProfile.items[0].commission.rules", "",
                {"key \"comProfile.items[0].commission.rules\" is missing"}},
            {"prepay not an amount", {"--terminal", "%T"}, "prepay=\"ten\"", "",
                {"key \"prepay\" must be an amount"}},
            {"terminal without box id", {"--terminal", "%T"}, "-box.boxId", "",
                {"key \"box.boxId\" is missing"}},
            {"road without inputs", {"--terminal", "%T"}, "-roads.code", "",
                {"terminal.json: key \"roads.code\" is missing"}},
            {"service file missing", {"--service-data", "/nonexistent/service.json"}, "", "",
                {"/nonexistent/service.json: cannot read the file"}},
            {"service file not JSON", {"--service-data", "%S"}, "", "!nothing",
                {"service.json: not JSON"}},
            {"service file without banks", {"--service-data", "%S"}, "", "-banks",
                {"service.json: key \"banks\" is missing"}},
            {"service not a WebSocket", {"--service", "http://127.0.0.1:80"}, "", "",
                {"--service needs ws://HOST:PORT"}},
            {"unknown road", {"--road", "scenic"}, "", "",
                {"unknown road \"scenic\"", "code, template, new-customer, add-template"}},
        });
}

void TestDemoHost::setupErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, terminalEdit);
    QFETCH(QString, serviceEdit);
    QFETCH(QStringList, messages);
    arguments.replaceInStrings("%T", edited("terminal.json", terminalEdit));
    arguments.replaceInStrings("%S", edited("service.json", serviceEdit));
    if (!arguments.contains("--road"))
        arguments << "--road"
                  << "code";

    const RunResult run = runProgram(CORVEX_TERMINAL_PROGRAM, arguments, {}, 60000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    for (const QString &message : messages)
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    // Nothing was paid and no wizard was driven.
    QVERIFY(!run.out.contains("Payment:"));
    QVERIFY(!run.out.contains("page "));
}

QTEST_MAIN(TestDemoHost)
#include "tst_demohost.moc"
