#ifndef ROADDRIVER_H
#define ROADDRIVER_H

#include "hostlanguage.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QAbstractButton;
class QAbstractItemView;
class QTextStream;
class QTimer;
class QWidget;
class QWizard;

// Plays the operator of a payment wizard along one road: it clicks the choices, types the
// customer's data, waits for the service's replies and presses Next and finally Finish, the
// way a person at the terminal would. Widgets are found by their object names only.
class RoadDriver : public QObject
{
    Q_OBJECT

public:
    enum Road { CodeRoad, TemplateRoad, NewCustomerRoad, AddTemplateRoad };

    static QStringList roadNames();
    static bool roadFromName(const QString &name, Road *road);

    // `inputs` holds what the operator enters on this road (the terminal file's road entry).
    RoadDriver(QWizard *wizard, Road road, const QJsonObject &inputs, QTextStream *log,
        QObject *parent = nullptr);

    // Saves a picture of every page passed into `dir`, named by step and page id; with the
    // terminal's language given, one in each language, named by step, page class and language.
    void setScreenshotDir(const QString &dir) { m_screenshotDir = dir; }
    void setLanguage(HostLanguage *language);
    // How long a page may wait for the service before the road is given up.
    void setReplyWait(int milliseconds) { m_replyWait = milliseconds; }
    // Keys only, as at a terminal without a pointer: Tab to move, typing, Space on buttons and
    // rows, Enter to go on. Every key goes to the widget that has the focus; a road that would
    // need the mouse stops instead. Each page's focus on entry is written out.
    void setKeyboard(bool keyboard) { m_keyboard = keyboard; }

    // Starts driving as soon as the wizard is on screen; call before running it.
    void start();

    bool stopped() const { return !m_reason.isEmpty(); }
    QString reason() const { return m_reason; }
    QList<int> pageIds() const { return m_pageIds; }
    QStringList screenshots() const { return m_screenshots; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void tick();
    void pageEntered(int id);
    void finished();

private:
    enum Phase { Filling, Waiting, Leaving };

    bool fillPage();
    bool onSenderPage() const;
    bool fillActionPage();
    bool fillRegistrationBase();
    bool fillDocuments();
    bool fillAddress();
    bool fillPhonePage();
    bool fillBikPage();
    bool fillTemplateRegistration();
    bool selectTemplate();
    bool fillPaymentForm();
    void checkReadiness();

    template<typename T> T *widget(const QString &name);
    bool type(const QString &widgetName, const QString &inputKey);
    bool typeText(QWidget *target, const QString &text);
    bool typeAmount(QWidget *box, const QString &amount);
    bool choose(const QString &comboName, const QString &text);
    bool click(const QString &buttonName);
    bool selectRow(QAbstractItemView *view, int row);
    void goOn(QAbstractButton *button);

    QWidget *focused() const;
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Tab until the focus is on `target`, or on one of `group` that shares its Tab stop.
    bool tabTo(QWidget *target, const QList<QWidget *> &group = QList<QWidget *>());

    void screenshot();
    void writeKeys();
    void stop(const QString &reason);
    void write(const QString &line);

    QPointer<QWizard> m_wizard;
    Road m_road;
    QJsonObject m_inputs;
    QTextStream *m_log;
    QTimer *m_timer;
    QString m_screenshotDir;
    QPointer<HostLanguage> m_language;
    int m_screenshotStep = 0;
    int m_replyWait = 75000;
    bool m_keyboard = false;
    // The keys pressed on the current page, written out when the page is left.
    QStringList m_keys;

    QList<int> m_pageIds;
    QStringList m_screenshots;
    QString m_reason;
    int m_pageId = -1;
    int m_selectionVisits = 0;
    int m_retries = 0;
    // Since Retry was first seen on offer; not valid while it is not.
    QElapsedTimer m_retryPause;
    Phase m_phase = Filling;
    QElapsedTimer m_sinceChange;
    bool m_busy = false;
};

#endif // ROADDRIVER_H
