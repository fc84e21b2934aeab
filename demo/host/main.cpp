// corvex-terminal: the least terminal host that runs a payment plug-in for real. It loads the
// plug-in module, hands it the terminal's data and its message channel, shows the payment
// window for the Corvex provider and prints the payment the plug-in hands back.
#include "hostsetup.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[])
{
    const QString program = QStringLiteral("corvex-terminal");
    // The scripted operator is a program of the build tree, not part of a terminal.
    for (const char *option : {"--road", "--keyboard", "--screenshots"}) {
        if (HostSetup::argumentGiven(argc, argv, option)) {
            QTextStream(stderr) << program << ": " << option
                                << " is an option of corvex-roads, the scripted operator in the "
                                   "build tree's bin/ folder; corvex-terminal shows a window"
                                << Qt::endl;
            return HostSetup::SetupError;
        }
    }
    if (!HostSetup::canShowWindows(argc, argv)) {
        QTextStream(stderr) << program
                            << ": no display; run a scripted road with corvex-roads --road NAME "
                               "from the build tree's bin/ folder"
                            << Qt::endl;
        return HostSetup::SetupError;
    }

    HostSetup::Arguments arguments(argc, argv);
    QApplication app(arguments.qtCount, arguments.forQt.data());
    QApplication::setApplicationName(program);

    HostSetup setup(program);
    setup.parser().setApplicationDescription(
        QStringLiteral("A terminal host that runs a payment for the Corvex provider through the "
                       "payment plug-in, full screen as at a terminal."));
    const QCommandLineOption windowedOption(QStringLiteral("windowed"),
        QStringLiteral("Show the payment in a window of its own size instead of full screen."));
    setup.parser().addOption(windowedOption);
    if (!setup.parse(arguments.all) || !setup.loadTerminal() || !setup.loadPlugin()
        || !setup.start())
        return HostSetup::SetupError;
    setup.describe();

    // A terminal shows nothing but the payment; on a desktop the window takes the size the
    // plug-in asks for.
    auto *window = dynamic_cast<QWidget *>(setup.dialog());
    if (window) {
        if (!setup.parser().isSet(windowedOption)) {
            // The screen's whole size as well: a kiosk's X server may run no window manager
            // to carry out the full-screen state.
            if (QScreen *screen = QGuiApplication::primaryScreen())
                window->setGeometry(screen->geometry());
            window->setWindowState(window->windowState() | Qt::WindowFullScreen);
        }
        QTimer::singleShot(0, window, [window, &setup] {
            setup.out() << "window   "
                        << (window->isFullScreen() ? QStringLiteral("full screen")
                                                   : QStringLiteral("windowed %1x%2")
                                                         .arg(window->width())
                                                         .arg(window->height()))
                        << Qt::endl;
        });
    }
    return setup.report(setup.dialog()->execute());
}
