// corvex-terminal: the least terminal host that runs a payment plug-in for real. It loads the
// plug-in module, hands it the terminal's data and its message channel, starts a payment for
// the Corvex provider and prints the payment the plug-in hands back.
#include "ipaybyprovider.h"
#include "ipaydialog.h"

#include "corvexsimulator.h"
#include "hostlanguage.h"
#include "paymentjson.h"
#include "pluginfinder.h"
#include "roaddriver.h"
#include "servicelink.h"
#include "terminalchannel.h"
#include "terminalsettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QJsonDocument>
#include <QTextStream>
#include <QWizard>

#include <memory>
#include <vector>

namespace {

// Exit codes: what a calling script can tell apart.
enum ExitCode { Paid = 0, Cancelled = 1, SetupError = 2, RoadStopped = 3 };

// The screen of the terminals this plug-in serves.
const QSize TERMINAL_SCREEN(1024, 768);

// The demo data: installed next to the programs, or in the build tree that mirrors that layout,
// or where the package this host was built against keeps it.
QString dataFile(const QString &name)
{
    QStringList folders
        = {QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(CORVEX_DATA_RELATIVE_DIR)};
#ifdef CORVEX_DATA_INSTALL_DIR
    folders << QStringLiteral(CORVEX_DATA_INSTALL_DIR);
#endif
    for (const QString &folder : folders) {
        const QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(name));
        if (QFileInfo::exists(path))
            return path;
    }
    return QDir::cleanPath(QDir(folders.first()).absoluteFilePath(name));
}

bool argumentGiven(int argc, char *argv[], const char *option)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], option) == 0
            || QByteArray(argv[i]).startsWith(QByteArray(option) + '='))
            return true;
    }
    return false;
}

// How long the scripted operator waits on a page that waits for the service: the plug-in's
// reply time-out, which CORVEX_REPLY_TIMEOUT may shorten, and some slack.
int replyWait()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("CORVEX_REPLY_TIMEOUT", &ok);
    return ((ok && seconds > 0 ? seconds : 60) + 15) * 1000;
}

// Qt's application object claims "-plugin"/"--plugin" for its own plug-ins, so that option
// is taken out of the arguments Qt sees; the command line parser still gets all of them.
std::vector<char *> argumentsForQt(int argc, char *argv[])
{
    std::vector<char *> kept;
    for (int i = 0; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (i > 0 && (argument == "--plugin" || argument == "-plugin")) {
            ++i;
            continue;
        }
        if (i > 0 && (argument.startsWith("--plugin=") || argument.startsWith("-plugin=")))
            continue;
        kept.push_back(argv[i]);
    }
    kept.push_back(nullptr);
    return kept;
}

} // namespace

int main(int argc, char *argv[])
{
    // A scripted road needs no screen; a window needs one.
    const bool scripted = argumentGiven(argc, argv, "--road");
    const bool help = argumentGiven(argc, argv, "--help") || argumentGiven(argc, argv, "-h");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const bool display = !qEnvironmentVariableIsEmpty("DISPLAY")
            || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        if (scripted || (help && !display)) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        } else if (!display) {
            QTextStream(stderr) << "corvex-terminal: no display; run a scripted road with --road "
                                << RoadDriver::roadNames().join(QLatin1Char('|')) << '\n';
            return SetupError;
        }
    }

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    std::vector<char *> qtArguments = argumentsForQt(argc, argv);
    int qtArgc = int(qtArguments.size()) - 1;
    QApplication app(qtArgc, qtArguments.data());
    QApplication::setApplicationName(QStringLiteral("corvex-terminal"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    auto fail = [&err](const QString &problem) {
        err << "corvex-terminal: " << problem << Qt::endl;
        return SetupError;
    };

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A terminal host that runs a payment for the Corvex provider through the "
                       "payment plug-in."));
    parser.addHelpOption();
    const QCommandLineOption pluginOption(QStringLiteral("plugin"),
        QStringLiteral("Plug-in module to load (default: the first in %1).")
            .arg(PluginFinder::searchFolders().join(QStringLiteral(", "))),
        QStringLiteral("path"));
    const QCommandLineOption terminalOption(QStringLiteral("terminal"),
        QStringLiteral("Terminal file (default: %1).")
            .arg(dataFile(QStringLiteral("terminal.json"))),
        QStringLiteral("file"), dataFile(QStringLiteral("terminal.json")));
    const QCommandLineOption serviceOption(QStringLiteral("service"),
        QStringLiteral("Reach the service over a WebSocket at ws://HOST:PORT instead of the "
                       "simulator inside this process."),
        QStringLiteral("url"));
    const QCommandLineOption dataOption(QStringLiteral("service-data"),
        QStringLiteral("Service file of the simulator inside this process (default: %1).")
            .arg(dataFile(QStringLiteral("service.json"))),
        QStringLiteral("file"), dataFile(QStringLiteral("service.json")));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
        QStringLiteral("Reply delay of the simulator inside this process, in milliseconds."),
        QStringLiteral("ms"));
    const QCommandLineOption roadOption(QStringLiteral("road"),
        QStringLiteral("Drive the wizard without a display along a road: %1.")
            .arg(RoadDriver::roadNames().join(QStringLiteral(", "))),
        QStringLiteral("name"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshots"),
        QStringLiteral("With --road: save a picture of every page passed into this folder, in "
                       "both languages, with the dialog at a terminal's screen size (%1x%2).")
            .arg(TERMINAL_SCREEN.width())
            .arg(TERMINAL_SCREEN.height()),
        QStringLiteral("dir"));
    const QCommandLineOption keyboardOption(QStringLiteral("keyboard"),
        QStringLiteral("With --road: keys only (Tab, typing, Space, Enter), no mouse."));
    const QCommandLineOption languageOption(QStringLiteral("lang"),
        QStringLiteral("Language of the terminal: %1 (default: the system locale's, %2). F12 "
                       "switches language while the payment runs.")
            .arg(HostLanguage::languages().join(QLatin1Char('|')), HostLanguage::systemLanguage()),
        QStringLiteral("lang"));
    parser.addOptions({pluginOption, terminalOption, serviceOption, dataOption, delayOption,
        roadOption, screenshotOption, keyboardOption, languageOption});
    parser.process(arguments);
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));

    RoadDriver::Road road = RoadDriver::CodeRoad;
    if (scripted && !RoadDriver::roadFromName(parser.value(roadOption), &road)) {
        return fail(
            QStringLiteral("unknown road \"%1\"; the roads are %2")
                .arg(parser.value(roadOption), RoadDriver::roadNames().join(QStringLiteral(", "))));
    }
    if (parser.isSet(screenshotOption) && !scripted)
        return fail(QStringLiteral("--screenshots needs --road"));
    if (parser.isSet(keyboardOption) && !scripted)
        return fail(QStringLiteral("--keyboard needs --road"));

    // The language is the host's and is set before the plug-in loads: its root object picks
    // its translation from the default locale when it is created.
    HostLanguage language;
    const QString languageName = parser.isSet(languageOption) ? parser.value(languageOption)
                                                              : HostLanguage::systemLanguage();
    if (!language.apply(languageName)) {
        return fail(QStringLiteral("unknown language \"%1\"; the languages are %2")
                        .arg(languageName, HostLanguage::languages().join(QStringLiteral(", "))));
    }
    language.switchOnKey();

    TerminalSettings terminal;
    QString error;
    if (!terminal.load(parser.value(terminalOption), &error))
        return fail(error);
    const QString roadName = parser.value(roadOption);
    if (scripted && !terminal.roads.value(roadName).isObject()) {
        return fail(QStringLiteral("%1: key \"roads.%2\" is missing")
                        .arg(parser.value(terminalOption), roadName));
    }

    // The plug-in: loaded through QPluginLoader only, known through its interface only.
    const QString moduleFile
        = parser.isSet(pluginOption) ? parser.value(pluginOption) : PluginFinder::findModule();
    if (moduleFile.isEmpty()) {
        return fail(QStringLiteral("no plug-in module in %1; name one with --plugin PATH")
                        .arg(PluginFinder::searchFolders().join(QStringLiteral(", "))));
    }
    PluginFinder finder;
    IPayByProvider *plugin = finder.load(moduleFile, &error);
    if (!plugin)
        return fail(error);
    if (!plugin->providerIsSupported(terminal.provider)) {
        return fail(QStringLiteral("plug-in %1 does not serve provider %2")
                        .arg(moduleFile)
                        .arg(terminal.provider.id()));
    }

    // The line to the service: the same channel either way, only the far end differs.
    CorvexSimulator simulator;
    std::unique_ptr<ServiceLink> link;
    if (parser.isSet(serviceOption)) {
        const QUrl url(parser.value(serviceOption));
        if (!WebSocketServiceLink::isUsable(url, &error))
            return fail(error);
        link = std::make_unique<WebSocketServiceLink>(url);
    } else {
        if (!simulator.load(parser.value(dataOption), &error))
            return fail(error);
        if (parser.isSet(delayOption)) {
            bool ok = false;
            const int delay = parser.value(delayOption).toInt(&ok);
            if (!ok || delay < 0 || delay > CorvexSimulator::MaxReplyDelay)
                return fail(QStringLiteral("--delay needs milliseconds from 0 to %1, not \"%2\"")
                                .arg(CorvexSimulator::MaxReplyDelay)
                                .arg(parser.value(delayOption)));
            simulator.setReplyDelay(delay);
        }
        link = std::make_unique<LocalServiceLink>(&simulator, parser.value(dataOption));
    }
    TerminalChannel channel(link.get());
    if (scripted)
        channel.setLog(&out);

    // Everything the plug-in needs before a payment, then the payment itself.
    plugin->setInputFont(terminal.font);
    plugin->setMessageReciever(&channel, TerminalChannel::replySignal());
    plugin->setMessageSender(&channel, TerminalChannel::sendSlot());
    plugin->setBoxInfo(terminal.box);
    std::unique_ptr<IPayDialog> dialog(plugin->start(
        terminal.currency, terminal.prepay, terminal.comProfile, terminal.provider, nullptr));
    if (!dialog)
        return fail(QStringLiteral("plug-in %1 started no payment dialog").arg(moduleFile));

    std::unique_ptr<RoadDriver> driver;
    if (scripted) {
        auto *wizard = dynamic_cast<QWizard *>(dialog.get());
        if (!wizard)
            return fail(QStringLiteral("the payment dialog is not a wizard; no road to drive"));
        out << "terminal " << terminal.box.boxId() << ", plug-in " << finder.fileName() << Qt::endl
            << "service  " << link->describe() << Qt::endl
            << "road     " << roadName << (parser.isSet(keyboardOption) ? ", by keyboard" : "")
            << Qt::endl;
        driver = std::make_unique<RoadDriver>(
            wizard, road, terminal.roads.value(roadName).toObject(), &out);
        driver->setReplyWait(replyWait());
        driver->setKeyboard(parser.isSet(keyboardOption));
        if (parser.isSet(screenshotOption)) {
            // The pictures show what a terminal's screen shows: the dialog at its size.
            wizard->resize(TERMINAL_SCREEN);
            driver->setScreenshotDir(parser.value(screenshotOption));
            driver->setLanguage(&language);
        }
        driver->start();
    }

    const bool finished = dialog->execute();

    if (driver) {
        QStringList ids;
        for (int id : driver->pageIds())
            ids << QString::number(id);
        out << "pages    " << ids.join(QStringLiteral(" -> ")) << Qt::endl;
        for (const QString &shot : driver->screenshots())
            out << "picture  " << shot << Qt::endl;
        if (driver->stopped()) {
            err << "corvex-terminal: the " << roadName << " road stopped on " << driver->reason()
                << Qt::endl;
            return RoadStopped;
        }
    }
    if (!finished) {
        out << "Payment cancelled by the operator." << Qt::endl;
        return Cancelled;
    }
    out << "Payment:" << Qt::endl
        << QString::fromUtf8(
               QJsonDocument(paymentToJson(dialog->payment(), dialog->immidiatlyPost())).toJson());
    out.flush();
    return Paid;
}
