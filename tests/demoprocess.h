#ifndef DEMOPROCESS_H
#define DEMOPROCESS_H

// Runs the demo programs as child processes with bounded waits: the simulated service on a free
// loopback port, and the terminal host along a road. Every child is killed when its owner goes.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// A service process on 127.0.0.1; port 0 lets it pick a free one, which it prints.
class ServiceProcess
{
public:
    ~ServiceProcess() { kill(); }

    bool start(const QString &dataFile, const QStringList &extra = QStringList())
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral(CORVEX_SERVICE_PROGRAM),
            QStringList({QStringLiteral("--listen"), QStringLiteral("0"), QStringLiteral("--data"),
                dataFile})
                + extra);
        if (!m_process.waitForStarted(10000))
            return false;
        static const QRegularExpression listening(QStringLiteral("ws://127\\.0\\.0\\.1:(\\d+)"));
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000 && m_process.state() == QProcess::Running) {
            m_output += QString::fromUtf8(m_process.readAllStandardOutput());
            const QRegularExpressionMatch match = listening.match(m_output);
            if (match.hasMatch()) {
                m_port = match.captured(1).toUShort();
                return true;
            }
            m_process.waitForReadyRead(200);
        }
        return false;
    }

    QString url() const { return QStringLiteral("ws://127.0.0.1:%1").arg(m_port); }
    quint16 port() const { return m_port; }
    QString errors() { return QString::fromUtf8(m_process.readAllStandardError()); }

    void kill()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }

private:
    QProcess m_process;
    QString m_output;
    quint16 m_port = 0;
};

// One run of a demo program to its end, or killed after `limitMs`.
struct RunResult
{
    int exitCode = -1;
    bool finished = false;
    QString out;
    QString err;
};

inline RunResult runProgram(const QString &program, const QStringList &arguments,
    const QMap<QString, QString> &environment = {}, int limitMs = 120000)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (auto it = environment.constBegin(); it != environment.constEnd(); ++it)
        env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    RunResult result;
    result.finished = process.waitForStarted(10000) && process.waitForFinished(limitMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(10000);
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// Sets the value under a path of keys and array indexes ("provider", "parameters", "0", "name")
// of a JSON value, or takes it out when `replacement` is undefined.
inline QJsonValue editJson(const QJsonValue &value, QStringList path, const QJsonValue &replacement)
{
    const QString key = path.takeFirst();
    bool isIndex = false;
    const int index = key.toInt(&isIndex);
    const QJsonValue inner = isIndex ? value.toArray().at(index) : value.toObject().value(key);
    const QJsonValue edited = path.isEmpty() ? replacement : editJson(inner, path, replacement);
    if (isIndex) {
        QJsonArray array = value.toArray();
        if (edited.isUndefined())
            array.removeAt(index);
        else
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

// Writes `path`, a copy of the shipped data file `source` edited: "!text" replaces it with that
// text, "-path" drops a key, "path=json" sets one (the JSON number as written, however large);
// an empty edit writes nothing.
inline QString editedCopy(const QString &path, const QString &source, const QString &edit)
{
    QFile file(path);
    if (edit.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return path;
    if (edit.startsWith('!')) {
        file.write(edit.mid(1).toUtf8());
        return path;
    }
    QFile original(QStringLiteral(CORVEX_DEMO_DATA_DIR "/") + source);
    original.open(QIODevice::ReadOnly);
    const QJsonObject data = QJsonDocument::fromJson(original.readAll()).object();
    const bool drop = edit.startsWith('-');
    // "provider.parameters[0].name" is the path provider, parameters, 0, name.
    QString keys = drop ? edit.mid(1) : edit.section('=', 0, 0);
    const QJsonValue value = drop
        ? QJsonValue(QJsonValue::Undefined)
        : QJsonDocument::fromJson("[" + edit.section('=', 1).toUtf8() + "]").array().first();
    const QJsonValue edited = editJson(data, keys.remove(']').replace('[', '.').split('.'), value);
    file.write(QJsonDocument(edited.toObject()).toJson());
    return path;
}

// The shipped service file, answering after `delayMs`.
inline QString serviceFile(const QTemporaryDir &dir, int delayMs = 20)
{
    return editedCopy(dir.filePath(QStringLiteral("service.json")), QStringLiteral("service.json"),
        QStringLiteral("replyDelayMs=%1").arg(delayMs));
}

#endif // DEMOPROCESS_H
