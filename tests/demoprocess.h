#ifndef DEMOPROCESS_H
#define DEMOPROCESS_H

// Runs the demo programs as child processes with bounded waits: the simulated service on a free
// loopback port, and the terminal host along a road. Every child is killed when its owner goes.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// A service process on 127.0.0.1; port 0 lets it pick a free one, which it prints. The process
// goes with the object.
class ServiceProcess
{
public:
    ~ServiceProcess()
    {
        m_process.kill();
        m_process.waitForFinished(10000);
    }

    bool start(const QString &dataFile, const QStringList &extra = QStringList())
    {
        m_process.start(QStringLiteral(CORVEX_SERVICE_PROGRAM),
            QStringList({"--listen", "0", "--data", dataFile}) + extra);
        static const QRegularExpression listening(QStringLiteral("ws://127\\.0\\.0\\.1:\\d+"));
        QString output;
        const auto listens = [&] {
            output += QString::fromUtf8(m_process.readAllStandardOutput());
            m_url = listening.match(output).captured();
            return !m_url.isEmpty() || m_process.state() == QProcess::NotRunning;
        };
        return QTest::qWaitFor(listens, 20000) && !m_url.isEmpty();
    }

    QString url() const { return m_url; }

private:
    QProcess m_process;
    QString m_url;
};

// One run of a demo program to its end, or killed after `limitMs` (exit code -1), in the test's
// environment.
struct RunResult
{
    int exitCode = -1;
    QString out, err;
};

inline RunResult runProgram(const QString &program, const QStringList &arguments, int limitMs)
{
    QProcess process;
    process.start(program, arguments);
    RunResult result;
    if (!process.waitForStarted(10000) || !process.waitForFinished(limitMs)) {
        process.kill();
        process.waitForFinished(10000);
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// Sets the value under a path of keys and array indexes ("provider", "parameters", "0", "name")
// of a JSON value, or takes the key out when `replacement` is undefined.
inline QJsonValue editJson(const QJsonValue &value, QStringList path, const QJsonValue &replacement)
{
    const QString key = path.takeFirst();
    bool isIndex = false;
    const int index = key.toInt(&isIndex);
    const QJsonValue inner = isIndex ? value.toArray().at(index) : value.toObject().value(key);
    const QJsonValue edited = path.isEmpty() ? replacement : editJson(inner, path, replacement);
    if (isIndex) {
        QJsonArray array = value.toArray();
        array.replace(index, edited);
        return array;
    }
    QJsonObject object = value.toObject();
    if (edited.isUndefined())
        object.remove(key);
    else
        object.insert(key, edited);
    return object;
}

// Writes `text` to the file `path`, and gives the path.
inline QString written(const QString &path, const QString &text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
    return path;
}

// The text of the file `path`.
inline QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Writes `path`, a copy of the shipped data file `source` edited: "!text" replaces it with that
// text, "-path" drops a key, "path=json" sets one (the JSON number as written, however large);
// an empty edit writes nothing.
inline QString editedCopy(const QString &path, const QString &source, const QString &edit)
{
    if (edit.isEmpty())
        return path;
    if (edit.startsWith('!'))
        return written(path, edit.mid(1));
    const bool drop = edit.startsWith('-');
    // "provider.parameters[0].name" is the path provider, parameters, 0, name.
    QString keys = drop ? edit.mid(1) : edit.section('=', 0, 0);
    const QJsonValue value = drop
        ? QJsonValue(QJsonValue::Undefined)
        : QJsonDocument::fromJson("[" + edit.section('=', 1).toUtf8() + "]").array().first();
    const QString original = fileText(QStringLiteral(CORVEX_DEMO_DATA_DIR "/") + source);
    const QJsonValue edited = editJson(QJsonDocument::fromJson(original.toUtf8()).object(),
        keys.remove(']').replace('[', '.').split('.'), value);
    return written(path, QJsonDocument(edited.toObject()).toJson());
}

#endif // DEMOPROCESS_H
