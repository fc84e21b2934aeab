#ifndef HOSTSETUP_H
#define HOSTSETUP_H

#include "corvexsimulator.h"
#include "hostlanguage.h"
#include "ipaydialog.h"
#include "pluginfinder.h"
#include "servicelink.h"
#include "terminalchannel.h"
#include "terminalsettings.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QTextStream>

#include <memory>
#include <vector>

// What a terminal host does before the operator sees a payment: it reads its options, sets the
// terminal's language, reads the terminal file, loads the plug-in, opens the line to the
// service, hands the plug-in what it needs and starts a payment; at the end it prints the
// payment it got. The demo terminal and the scripted roads share it, in that order of calls.
class HostSetup
{
public:
    // Exit codes: what a calling script can tell apart.
    enum ExitCode { Paid = 0, Cancelled = 1, SetupError = 2, RoadStopped = 3 };

    // The command line whole for the parser, and for Qt's application object without
    // "--plugin PATH": Qt claims "-plugin"/"--plugin" for its own plug-ins.
    struct Arguments
    {
        Arguments(int argc, char *argv[]);
        QStringList all;
        std::vector<char *> forQt;
        int qtCount = 0;
    };

    static bool argumentGiven(int argc, char *argv[], const char *option);
    // Whether a window can open: a display, or a platform named in QT_QPA_PLATFORM. --help
    // needs none and gets the offscreen platform.
    static bool canShowWindows(int argc, char *argv[]);

    explicit HostSetup(const QString &program);
    ~HostSetup();

    // The options every host has (--plugin, --terminal, --service, --service-data, --delay,
    // --lang) and --help; a program adds its own to parser() before parse().
    QCommandLineParser &parser() { return m_parser; }
    // False on a bad command line, the problem written out; shows the help and ends on --help.
    bool parse(const QStringList &arguments);
    // The language, then the terminal file and the terminal's look; false with the problem
    // written out.
    bool loadTerminal();
    // A terminal's look for every window of the application: the interface font of the terminal
    // file, and buttons, check boxes and choices large enough for a finger.
    static void applyLook(const TerminalSettings &terminal);
    // The plug-in module, then the line to the service; false with the problem written out.
    bool loadPlugin();
    // Hands the plug-in the font, the channel and the terminal's data and starts a payment;
    // with `logExchange`, every request and reply is written to out().
    bool start(bool logExchange = false);
    // After the dialog ran: prints the payment, or that the operator cancelled.
    int report(bool finished);

    // Writes "program: problem" and gives SetupError.
    int fail(const QString &problem);
    // The lines saying which terminal, plug-in and service this run uses.
    void describe();

    // The standard output, which every line of the run goes through.
    QTextStream &out() { return m_out; }
    const TerminalSettings &terminal() const { return m_terminal; }
    QString terminalFile() const { return m_parser.value(m_terminalOption); }
    HostLanguage *language() { return &m_language; }
    IPayDialog *dialog() const { return m_dialog.get(); }

private:
    QString m_program;
    QTextStream m_out;
    QCommandLineParser m_parser;
    QCommandLineOption m_pluginOption;
    QCommandLineOption m_terminalOption;
    QCommandLineOption m_serviceOption;
    QCommandLineOption m_dataOption;
    QCommandLineOption m_delayOption;
    QCommandLineOption m_languageOption;

    // In this order, so that the dialog goes first and the language last.
    HostLanguage m_language;
    TerminalSettings m_terminal;
    PluginFinder m_finder;
    IPayByProvider *m_plugin = nullptr;
    CorvexSimulator m_simulator;
    std::unique_ptr<ServiceLink> m_link;
    std::unique_ptr<TerminalChannel> m_channel;
    std::unique_ptr<IPayDialog> m_dialog;
};

#endif // HOSTSETUP_H
