// corvex-roads: the demo terminal with a scripted operator instead of a person. It sets up the
// terminal exactly as corvex-terminal does, then drives the payment wizard along one road on
// the offscreen platform, prints every request and reply, the pages passed and the payment,
// and can save a picture of every page. A tool of the build tree; it is not installed.
#include "hostsetup.h"
#include "roaddriver.h"

#include <QApplication>
#include <QWizard>

#include <QRegularExpression>

namespace {

// The screen of the terminals this plug-in serves.
const QSize TERMINAL_SCREEN(1024, 768);

// "WxH" as a size, or an invalid one.
QSize screenSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{3,5})x(\\d{3,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
}

// How long the scripted operator waits on a page that waits for the service: the plug-in's
// reply time-out, which CORVEX_REPLY_TIMEOUT may shorten, and some slack.
int replyWait()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("CORVEX_REPLY_TIMEOUT", &ok);
    return ((ok && seconds > 0 ? seconds : 60) + 15) * 1000;
}

} // namespace

int main(int argc, char *argv[])
{
    // A scripted road needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    HostSetup::Arguments arguments(argc, argv);
    QApplication app(arguments.qtCount, arguments.forQt.data());
    QApplication::setApplicationName(QStringLiteral("corvex-roads"));
    HostSetup setup(QStringLiteral("corvex-roads"));
    QCommandLineParser &parser = setup.parser();
    parser.setApplicationDescription(
        QStringLiteral("The demo terminal with a scripted operator: drives the payment wizard "
                       "for the Corvex provider along a road without a display."));
    const QCommandLineOption roadOption(QStringLiteral("road"),
        QStringLiteral("The road: %1 (default: code).")
            .arg(RoadDriver::roadNames().join(QStringLiteral(", "))),
        QStringLiteral("name"), QStringLiteral("code"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshots"),
        QStringLiteral("Save a picture of every page passed into this folder, in both languages, "
                       "as the window shows it."),
        QStringLiteral("dir"));
    const QCommandLineOption screenOption(QStringLiteral("screen"),
        QStringLiteral("The terminal's screen: the payment window's size (default: %1x%2).")
            .arg(TERMINAL_SCREEN.width())
            .arg(TERMINAL_SCREEN.height()),
        QStringLiteral("WxH"),
        QStringLiteral("%1x%2").arg(TERMINAL_SCREEN.width()).arg(TERMINAL_SCREEN.height()));
    const QCommandLineOption keyboardOption(QStringLiteral("keyboard"),
        QStringLiteral("Keys only (Tab, typing, Space, Enter), no mouse."));
    parser.addOptions({roadOption, screenshotOption, screenOption, keyboardOption});
    if (!setup.parse(arguments.all))
        return HostSetup::SetupError;
    const QSize screen = screenSize(parser.value(screenOption));
    if (!screen.isValid()) {
        return setup.fail(QStringLiteral("--screen needs WIDTHxHEIGHT in pixels, such as 800x600, "
                                         "not \"%1\"")
                              .arg(parser.value(screenOption)));
    }

    const QString roadName = parser.value(roadOption);
    RoadDriver::Road road = RoadDriver::CodeRoad;
    if (!RoadDriver::roadFromName(roadName, &road)) {
        return setup.fail(QStringLiteral("unknown road \"%1\"; the roads are %2")
                              .arg(roadName, RoadDriver::roadNames().join(QStringLiteral(", "))));
    }
    if (!setup.loadTerminal())
        return HostSetup::SetupError;
    if (!setup.terminal().roads.value(roadName).isObject()) {
        return setup.fail(
            QStringLiteral("%1: key \"roads.%2\" is missing").arg(setup.terminalFile(), roadName));
    }
    if (!setup.loadPlugin() || !setup.start(true))
        return HostSetup::SetupError;

    auto *wizard = dynamic_cast<QWizard *>(setup.dialog());
    if (!wizard)
        return setup.fail(QStringLiteral("the payment dialog is not a wizard; no road to drive"));
    setup.describe();
    QTextStream &out = setup.out();
    out << "road     " << roadName << (parser.isSet(keyboardOption) ? ", by keyboard" : "")
        << Qt::endl;
    RoadDriver driver(wizard, road, setup.terminal().roads.value(roadName).toObject(), &out);
    driver.setReplyWait(replyWait());
    driver.setKeyboard(parser.isSet(keyboardOption));
    // The window fills the terminal's screen, in the terminal's fonts and look.
    wizard->resize(screen);
    if (parser.isSet(screenshotOption)) {
        driver.setScreenshotDir(parser.value(screenshotOption));
        driver.setLanguage(setup.language());
    }
    driver.start();

    const bool finished = setup.dialog()->execute();

    QStringList ids;
    for (int id : driver.pageIds())
        ids << QString::number(id);
    out << "pages    " << ids.join(QStringLiteral(" -> ")) << Qt::endl;
    for (const QString &shot : driver.screenshots())
        out << "picture  " << shot << Qt::endl;
    if (driver.stopped()) {
        setup.fail(QStringLiteral("the %1 road stopped on %2").arg(roadName, driver.reason()));
        return HostSetup::RoadStopped;
    }
    return setup.report(finished);
}
