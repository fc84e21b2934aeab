#ifndef FUZZAPPLICATION_H
#define FUZZAPPLICATION_H

#include <QApplication>
#include <QTimer>

// The widgets under test need an application on the offscreen platform. A message box that a
// bad input raises is closed at once, as an operator would, so that the run never waits.
inline void startFuzzApplication(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Warnings about bad input are expected by the thousand; keep the run's output readable.
    qSetMessagePattern(QStringLiteral("%{if-fatal}%{message}%{endif}"));
    static QApplication application(*argc, *argv);
    static QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(0);
}

#endif // FUZZAPPLICATION_H
