#include "hostsetup.h"

#include "ipaybyprovider.h"
#include "paymentjson.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace {

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

// A finger needs about 48 px: the wizard's buttons, the choices and the drop-downs get that
// height whatever the font, check boxes and radio buttons a box to match, and scroll bars a
// width a finger can drag.
const char TOUCH_STYLE[] = "QPushButton { min-height: 36px; padding: 4px 16px; }"
                           "QComboBox { min-height: 36px; }"
                           "QCheckBox, QRadioButton { min-height: 48px; }"
                           "QCheckBox::indicator, QRadioButton::indicator { width: 28px; "
                           "height: 28px; }"
                           "QScrollBar:vertical { width: 28px; }"
                           "QScrollBar:horizontal { height: 28px; }";

} // namespace

HostSetup::Arguments::Arguments(int argc, char *argv[])
{
    for (int i = 0; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        all << QString::fromLocal8Bit(argument);
        if (i > 0 && (argument == "--plugin" || argument == "-plugin")) {
            if (++i < argc)
                all << QString::fromLocal8Bit(argv[i]);
            continue;
        }
        if (i > 0 && (argument.startsWith("--plugin=") || argument.startsWith("-plugin=")))
            continue;
        forQt.push_back(argv[i]);
    }
    qtCount = int(forQt.size());
    forQt.push_back(nullptr);
}

bool HostSetup::argumentGiven(int argc, char *argv[], const char *option)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], option) == 0
            || QByteArray(argv[i]).startsWith(QByteArray(option) + '='))
            return true;
    }
    return false;
}

bool HostSetup::canShowWindows(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    if (argumentGiven(argc, argv, "--help") || argumentGiven(argc, argv, "-h")
        || argumentGiven(argc, argv, "--help-all")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }
    return false;
}

HostSetup::HostSetup(const QString &program)
    : m_program(program)
    , m_out(stdout)
    , m_pluginOption(QStringLiteral("plugin"),
          QStringLiteral("Plug-in module to load (default: the first in %1).")
              .arg(PluginFinder::searchFolders().join(QStringLiteral(", "))),
          QStringLiteral("path"))
    , m_terminalOption(QStringLiteral("terminal"),
          QStringLiteral("Terminal file (default: %1).")
              .arg(dataFile(QStringLiteral("terminal.json"))),
          QStringLiteral("file"), dataFile(QStringLiteral("terminal.json")))
    , m_serviceOption(QStringLiteral("service"),
          QStringLiteral("Reach the service over a WebSocket at ws://HOST:PORT instead of the "
                         "simulator inside this process."),
          QStringLiteral("url"))
    , m_dataOption(QStringLiteral("service-data"),
          QStringLiteral("Service file of the simulator inside this process (default: %1).")
              .arg(dataFile(QStringLiteral("service.json"))),
          QStringLiteral("file"), dataFile(QStringLiteral("service.json")))
    , m_delayOption(QStringLiteral("delay"),
          QStringLiteral("Reply delay of the simulator inside this process, in milliseconds."),
          QStringLiteral("ms"))
    , m_languageOption(QStringLiteral("lang"),
          QStringLiteral("Language of the terminal: %1 (default: the system locale's, %2). F12 "
                         "switches language while the payment runs.")
              .arg(
                  HostLanguage::languages().join(QLatin1Char('|')), HostLanguage::systemLanguage()),
          QStringLiteral("lang"))
{
    m_parser.addHelpOption();
    m_parser.addOptions({m_pluginOption, m_terminalOption, m_serviceOption, m_dataOption,
        m_delayOption, m_languageOption});
}

HostSetup::~HostSetup() = default;

bool HostSetup::parse(const QStringList &arguments)
{
    // A bad command line is a set-up error like any other, not the operator's cancel.
    if (!m_parser.parse(arguments)) {
        fail(m_parser.errorText());
        return false;
    }
    // Shows the help and ends when it was asked for; the line is known to be good by now.
    m_parser.process(arguments);
    if (!m_parser.positionalArguments().isEmpty()) {
        fail(QStringLiteral("unexpected argument \"%1\"")
                 .arg(m_parser.positionalArguments().first()));
        return false;
    }
    return true;
}

bool HostSetup::loadTerminal()
{
    // The language is the host's and is set before the plug-in loads: its root object picks
    // its translation from the default locale when it is created.
    const QString languageName = m_parser.isSet(m_languageOption) ? m_parser.value(m_languageOption)
                                                                  : HostLanguage::systemLanguage();
    if (!m_language.apply(languageName)) {
        fail(QStringLiteral("unknown language \"%1\"; the languages are %2")
                 .arg(languageName, HostLanguage::languages().join(QStringLiteral(", "))));
        return false;
    }
    m_language.switchOnKey();

    QString error;
    if (!m_terminal.load(m_parser.value(m_terminalOption), &error)) {
        fail(error);
        return false;
    }
    applyLook(m_terminal);
    return true;
}

void HostSetup::applyLook(const TerminalSettings &terminal)
{
    if (terminal.hasInterfaceFont)
        QApplication::setFont(terminal.interfaceFont);
    qApp->setStyleSheet(QString::fromLatin1(TOUCH_STYLE));
}

bool HostSetup::loadPlugin()
{
    // The plug-in: loaded through QPluginLoader only, known through its interface only.
    const QString moduleFile = m_parser.isSet(m_pluginOption) ? m_parser.value(m_pluginOption)
                                                              : PluginFinder::findModule();
    if (moduleFile.isEmpty()) {
        fail(QStringLiteral("no plug-in module in %1; name one with --plugin PATH")
                 .arg(PluginFinder::searchFolders().join(QStringLiteral(", "))));
        return false;
    }
    QString error;
    m_plugin = m_finder.load(moduleFile, &error);
    if (!m_plugin) {
        fail(error);
        return false;
    }
    if (!m_plugin->providerIsSupported(m_terminal.provider)) {
        fail(QStringLiteral("plug-in %1 does not serve provider %2")
                 .arg(moduleFile)
                 .arg(m_terminal.provider.id()));
        return false;
    }

    // The line to the service: the same channel either way, only the far end differs.
    if (m_parser.isSet(m_serviceOption)) {
        const QUrl url(m_parser.value(m_serviceOption));
        if (!WebSocketServiceLink::isUsable(url, &error)) {
            fail(error);
            return false;
        }
        m_link = std::make_unique<WebSocketServiceLink>(url);
    } else {
        if (!m_simulator.load(m_parser.value(m_dataOption), &error)) {
            fail(error);
            return false;
        }
        if (m_parser.isSet(m_delayOption)) {
            bool ok = false;
            const int delay = m_parser.value(m_delayOption).toInt(&ok);
            if (!ok || delay < 0 || delay > CorvexSimulator::MaxReplyDelay) {
                fail(QStringLiteral("--delay needs milliseconds from 0 to %1, not \"%2\"")
                         .arg(CorvexSimulator::MaxReplyDelay)
                         .arg(m_parser.value(m_delayOption)));
                return false;
            }
            m_simulator.setReplyDelay(delay);
        }
        m_link = std::make_unique<LocalServiceLink>(&m_simulator, m_parser.value(m_dataOption));
    }
    m_channel = std::make_unique<TerminalChannel>(m_link.get());
    return true;
}

bool HostSetup::start(bool logExchange)
{
    m_channel->setLog(logExchange ? &m_out : nullptr);
    // Everything the plug-in needs before a payment, then the payment itself.
    m_plugin->setInputFont(m_terminal.font);
    m_plugin->setMessageReciever(m_channel.get(), TerminalChannel::replySignal());
    m_plugin->setMessageSender(m_channel.get(), TerminalChannel::sendSlot());
    m_plugin->setBoxInfo(m_terminal.box);
    m_dialog.reset(m_plugin->start(m_terminal.currency, m_terminal.prepay, m_terminal.comProfile,
        m_terminal.provider, nullptr));
    if (!m_dialog) {
        fail(QStringLiteral("plug-in %1 started no payment dialog").arg(m_finder.fileName()));
        return false;
    }
    return true;
}

int HostSetup::report(bool finished)
{
    if (!finished) {
        m_out << "Payment cancelled by the operator." << Qt::endl;
        return Cancelled;
    }
    m_out << "Payment:" << Qt::endl
          << QString::fromUtf8(
                 QJsonDocument(paymentToJson(m_dialog->payment(), m_dialog->immidiatlyPost()))
                     .toJson());
    m_out.flush();
    return Paid;
}

int HostSetup::fail(const QString &problem)
{
    QTextStream(stderr) << m_program << ": " << problem << Qt::endl;
    return SetupError;
}

void HostSetup::describe()
{
    m_out << "terminal " << m_terminal.box.boxId() << ", plug-in " << m_finder.fileName()
          << Qt::endl
          << "service  " << m_link->describe() << Qt::endl;
}
