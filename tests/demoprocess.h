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

inline QJsonObject readJson(const QString &fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

inline bool writeJson(const QString &fileName, const QJsonObject &object)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(QJsonDocument(object).toJson()) > 0;
}

// The shipped service file, answering after `delayMs`.
inline QString serviceFile(const QTemporaryDir &dir, int delayMs = 20)
{
    QJsonObject data = readJson(QStringLiteral(CORVEX_DEMO_DATA_DIR "/service.json"));
    data.insert(QStringLiteral("replyDelayMs"), delayMs);
    const QString path = dir.filePath(QStringLiteral("service.json"));
    writeJson(path, data);
    return path;
}

#endif // DEMOPROCESS_H
