#ifndef PAINTCOUNTER_H
#define PAINTCOUNTER_H

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

// Counts the paint events that reach any widget while it is installed on the application.
class PaintCounter : public QObject
{
public:
    PaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~PaintCounter() override { QCoreApplication::instance()->removeEventFilter(this); }

    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

#endif // PAINTCOUNTER_H
