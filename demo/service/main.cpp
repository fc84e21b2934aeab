// corvex-service: the simulated Corvex service as a process of its own, for terminals that
// reach it over a WebSocket on this machine.
#include "corvexserviceserver.h"
#include "corvexsimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

QString defaultDataFile()
{
    // Installed next to the programs, or found in the build tree that mirrors that layout.
    return QDir(QCoreApplication::applicationDirPath())
        .absoluteFilePath(QStringLiteral(CORVEX_DATA_RELATIVE_DIR "/service.json"));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvex-service"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated Corvex service for terminals on this machine (WebSocket)."));
    parser.addHelpOption();
    const QCommandLineOption listen(QStringLiteral("listen"),
        QStringLiteral("Listen on 127.0.0.1:<port>; 0 picks a free port."), QStringLiteral("port"));
    const QCommandLineOption data(QStringLiteral("data"),
        QStringLiteral("Service data file (default: %1).").arg(defaultDataFile()),
        QStringLiteral("file"), defaultDataFile());
    const QCommandLineOption delay(QStringLiteral("delay"),
        QStringLiteral("Reply delay in milliseconds (default: the data file's replyDelayMs)."),
        QStringLiteral("ms"));
    const ServiceLimits defaults;
    const QCommandLineOption idle(QStringLiteral("idle"),
        QStringLiteral("Close a connection silent for this many seconds, 1 to 86400 (default: %1).")
            .arg(defaults.idleMs / 1000),
        QStringLiteral("seconds"));
    parser.addOptions({listen, data, delay, idle});
    parser.process(app);

    if (!parser.isSet(listen)) {
        err << "corvex-service: --listen PORT is required\n";
        return 2;
    }
    bool ok = false;
    const uint port = parser.value(listen).toUInt(&ok);
    if (!ok || port > 65535) {
        err << "corvex-service: --listen needs a port number, not \"" << parser.value(listen)
            << "\"\n";
        return 2;
    }

    CorvexSimulator simulator;
    QString error;
    if (!simulator.load(parser.value(data), &error)) {
        err << "corvex-service: " << error << '\n';
        return 2;
    }
    if (parser.isSet(delay)) {
        const int milliseconds = parser.value(delay).toInt(&ok);
        if (!ok || milliseconds < 0 || milliseconds > CorvexSimulator::MaxReplyDelay) {
            err << "corvex-service: --delay needs milliseconds from 0 to "
                << CorvexSimulator::MaxReplyDelay << ", not \"" << parser.value(delay) << "\"\n";
            return 2;
        }
        simulator.setReplyDelay(milliseconds);
    }

    ServiceLimits limits;
    if (parser.isSet(idle)) {
        const int seconds = parser.value(idle).toInt(&ok);
        if (!ok || seconds < 1 || seconds > 86400) {
            err << "corvex-service: --idle needs seconds from 1 to 86400, not \""
                << parser.value(idle) << "\"\n";
            return 2;
        }
        limits.idleMs = seconds * 1000;
    }

    // Loopback only: the simulator has no authentication and is not meant for a network.
    CorvexServiceServer server(&simulator, limits);
    if (!server.listen(QHostAddress::LocalHost, quint16(port))) {
        err << "corvex-service: cannot listen on 127.0.0.1:" << port << ": " << server.errorString()
            << '\n';
        return 3;
    }
    out << "corvex-service listening on ws://127.0.0.1:" << server.serverPort() << " with "
        << QFileInfo(parser.value(data)).absoluteFilePath() << Qt::endl;
    return app.exec();
}
