#include "roaddriver.h"

#include "hostlanguage.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHash>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextDocumentFragment>
#include <QTextStream>
#include <QTimer>
#include <QWizard>
#include <QtTest>

#include <algorithm>

namespace {

const int TICK_MS = 50;
// An ordinary page reacts at once; this only bounds a page that never lets the operator on.
const int PAGE_WAIT_MS = 10000;
// Tab presses to go once round any page, the wizard's buttons and a date's sections included.
const int MAX_TABS = 40;
// After a connection error the operator waits a moment and presses Retry, a few times a road.
const int RETRY_PAUSE_MS = 1000;
const int MAX_RETRIES = 5;

const QStringList ROAD_NAMES = {QStringLiteral("code"), QStringLiteral("template"),
    QStringLiteral("new-customer"), QStringLiteral("add-template")};

QString plainText(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

// The radio buttons that share one choice with `button`; empty for any other button.
QList<QWidget *> radioGroup(QAbstractButton *button)
{
    QList<QWidget *> group;
    if (!qobject_cast<QRadioButton *>(button))
        return group;
    if (button->group()) {
        for (QAbstractButton *member : button->group()->buttons())
            group << member;
    } else if (button->autoExclusive() && button->parentWidget()) {
        for (QRadioButton *member : button->parentWidget()->findChildren<QRadioButton *>(
                 QString(), Qt::FindDirectChildrenOnly))
            group << member;
    }
    return group;
}

QString nameOf(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

} // namespace

QStringList RoadDriver::roadNames()
{
    return ROAD_NAMES;
}

bool RoadDriver::roadFromName(const QString &name, Road *road)
{
    const int index = ROAD_NAMES.indexOf(name);
    if (index < 0)
        return false;
    *road = Road(index);
    return true;
}

RoadDriver::RoadDriver(
    QWizard *wizard, Road road, const QJsonObject &inputs, QTextStream *log, QObject *parent)
    : QObject(parent)
    , m_wizard(wizard)
    , m_road(road)
    , m_inputs(inputs)
    , m_log(log)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(TICK_MS);
    connect(m_timer, &QTimer::timeout, this, &RoadDriver::tick);
    connect(wizard, &QWizard::currentIdChanged, this, &RoadDriver::pageEntered);
    connect(wizard, &QDialog::finished, this, &RoadDriver::finished);
}

void RoadDriver::setLanguage(HostLanguage *language)
{
    m_language = language;
}

void RoadDriver::start()
{
    if (!m_screenshotDir.isEmpty())
        QDir().mkpath(m_screenshotDir);
    if (m_keyboard)
        qApp->installEventFilter(this);
    m_timer->start();
}

void RoadDriver::pageEntered(int id)
{
    if (id < 0)
        return;
    m_pageIds << id;
    QWizardPage *page = m_wizard->page(id);
    write(QStringLiteral("page     %1 %2 \"%3\"")
              .arg(id)
              .arg(QString::fromLatin1(page->metaObject()->className()), page->title()));
}

void RoadDriver::finished()
{
    m_timer->stop();
}

void RoadDriver::tick()
{
    // The wizard's own waiting loops process events, so a tick may arrive inside another.
    if (m_busy || !m_wizard || !m_wizard->isVisible() || stopped())
        return;
    QScopedValueRollback<bool> busy(m_busy, true);

    const int id = m_wizard->currentId();
    if (id != m_pageId) {
        m_pageId = id;
        m_phase = Filling;
        m_sinceChange.start();
        if (m_keyboard)
            write(
                QStringLiteral("focus    %1 %2").arg(id).arg(nameOf(QApplication::focusWidget())));
    }

    switch (m_phase) {
    case Filling:
        if (fillPage()) {
            m_phase = Waiting;
            m_sinceChange.start();
        }
        break;
    case Waiting:
        checkReadiness();
        break;
    case Leaving:
        if (m_sinceChange.elapsed() > PAGE_WAIT_MS)
            stop(QStringLiteral("the wizard stays on page %1").arg(id));
        break;
    }
}

bool RoadDriver::fillPage()
{
    // Pages are told apart by their class, as a tester would by their look: not by the
    // wizard's page ids, which are the plug-in's own business.
    using Filler = bool (RoadDriver::*)();
    static const QHash<QByteArray, Filler> fillers = {
        {"CXWPActionSelect", &RoadDriver::fillActionPage},
        {"CXWPRegistrationBase", &RoadDriver::fillRegistrationBase},
        {"CXWPRegistrationDocuments", &RoadDriver::fillDocuments},
        {"CXWPRegistrationAddress", &RoadDriver::fillAddress},
        {"CXWPPrepareAllTemplatesRequest", &RoadDriver::fillPhonePage},
        {"CXWPCheckParams", &RoadDriver::fillBikPage},
        {"CXWPRegistreTemplate", &RoadDriver::fillTemplateRegistration},
        {"CXWPSelectTemplate", &RoadDriver::selectTemplate},
        {"CXWPPayment", &RoadDriver::fillPaymentForm},
    };
    const Filler fill = fillers.value(m_wizard->currentPage()->metaObject()->className());
    // The sender page needs nothing but patience.
    return !fill || (this->*fill)();
}

bool RoadDriver::onSenderPage() const
{
    return qstrcmp(m_wizard->currentPage()->metaObject()->className(), "CXWPMsgSender") == 0;
}

bool RoadDriver::fillActionPage()
{
    switch (m_road) {
    case CodeRoad:
        return click(QStringLiteral("rbPaymentByCode"));
    case NewCustomerRoad:
        return click(QStringLiteral("rbRegistration"));
    case TemplateRoad:
    case AddTemplateRoad:
        return click(QStringLiteral("rbRequirementsCodes"));
    }
    return false;
}

bool RoadDriver::fillRegistrationBase()
{
    return fillPhonePage() && type(QStringLiteral("leLastName"), QStringLiteral("lastName"))
        && type(QStringLiteral("leFirstName"), QStringLiteral("firstName"))
        && type(QStringLiteral("leSecondName"), QStringLiteral("secondName"));
}

bool RoadDriver::fillDocuments()
{
    return type(QStringLiteral("leSeries"), QStringLiteral("docSeries"))
        && type(QStringLiteral("leNumber"), QStringLiteral("docNumber"))
        && type(QStringLiteral("leIssuer"), QStringLiteral("docIssuer"))
        && type(QStringLiteral("leBirthplace"), QStringLiteral("birthplace"))
        && type(QStringLiteral("leCitizenship"), QStringLiteral("citizenship"));
}

bool RoadDriver::fillAddress()
{
    return type(QStringLiteral("leCountrry"), QStringLiteral("country"))
        && type(QStringLiteral("leRegion"), QStringLiteral("region"))
        && type(QStringLiteral("leCity"), QStringLiteral("city"))
        && type(QStringLiteral("leStreet"), QStringLiteral("street"))
        && type(QStringLiteral("leHouse"), QStringLiteral("house"))
        && type(QStringLiteral("leApartment"), QStringLiteral("apartment"));
}

bool RoadDriver::fillPhonePage()
{
    auto *phone = widget<QWidget>(QStringLiteral("wPhone"));
    auto *edit = phone ? phone->findChild<QLineEdit *>(QStringLiteral("lePhone")) : nullptr;
    if (!edit) {
        stop(QStringLiteral("missing widget: lePhone on page %1").arg(m_pageId));
        return false;
    }
    return typeText(edit, m_inputs.value(QStringLiteral("phone")).toString());
}

bool RoadDriver::fillBikPage()
{
    return type(QStringLiteral("leBik"), QStringLiteral("bik"));
}

bool RoadDriver::fillTemplateRegistration()
{
    auto *params = widget<QGroupBox>(QStringLiteral("gbParams"));
    if (!params)
        return false;
    // One line edit per parameter the bank announced, named after the parameter.
    const QJsonObject values = m_inputs.value(QStringLiteral("templateParams")).toObject();
    for (QLineEdit *edit : params->findChildren<QLineEdit *>()) {
        if (!values.contains(edit->objectName())) {
            stop(QStringLiteral("no value for the template parameter \"%1\" on page %2")
                     .arg(edit->objectName())
                     .arg(m_pageId));
            return false;
        }
        if (!typeText(edit, values.value(edit->objectName()).toString()))
            return false;
    }
    const QString planned = m_inputs.value(QStringLiteral("plannedAmount")).toString();
    if (planned.isEmpty())
        return true;
    auto *amount = widget<QDoubleSpinBox>(QStringLiteral("dsbAmount"));
    return amount && click(QStringLiteral("cbAmount")) && typeAmount(amount, planned);
}

bool RoadDriver::selectTemplate()
{
    auto *view = widget<QAbstractItemView>(QStringLiteral("lvTemplates"));
    if (!view || !view->model())
        return false;
    const QStringList picks = m_inputs.value(QStringLiteral("pick")).toVariant().toStringList();
    const QString pick = picks.value(m_selectionVisits++);
    const int rows = view->model()->rowCount();
    // The last row adds a template; the one above it is the newest template.
    int row = -1;
    if (pick == QLatin1String("add")) {
        row = rows - 1;
    } else if (pick == QLatin1String("last")) {
        row = rows - 2;
    } else {
        for (int i = 0; i + 1 < rows && row < 0; ++i) {
            if (!pick.isEmpty() && view->model()->index(i, 0).data().toString().contains(pick))
                row = i;
        }
    }
    if (row < 0) {
        stop(QStringLiteral("no template \"%1\" among %2 rows on page %3")
                 .arg(pick)
                 .arg(rows)
                 .arg(m_pageId));
        return false;
    }
    return selectRow(view, row);
}

bool RoadDriver::selectRow(QAbstractItemView *view, int row)
{
    if (m_keyboard) {
        // Arrow keys move the current row; Enter on it chooses it.
        if (!tabTo(view))
            return false;
        press(Qt::Key_Home);
        for (int i = 0; i < row; ++i)
            press(Qt::Key_Down);
        if (view->currentIndex().row() != row) {
            stop(QStringLiteral("the arrow keys stop on row %1, not %2")
                     .arg(view->currentIndex().row())
                     .arg(row));
            return false;
        }
        press(Qt::Key_Return);
        return true;
    }
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(
        view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
    return true;
}

bool RoadDriver::fillPaymentForm()
{
    QWizardPage *page = m_wizard->currentPage();
    QList<QDoubleSpinBox *> boxes;
    for (QDoubleSpinBox *box : page->findChildren<QDoubleSpinBox *>()) {
        if (!box->isReadOnly())
            boxes << box;
    }
    if (boxes.isEmpty()) {
        write(QStringLiteral("missing widget: the payment form on page %1; finishing without it")
                  .arg(m_pageId));
        return true;
    }

    const QJsonObject form = m_inputs.value(QStringLiteral("form")).toObject();
    QStringList names = form.keys();
    if (m_keyboard) {
        // Down the form in its Tab order, as the operator goes.
        QList<QWidget *> chain;
        for (QWidget *next = page->nextInFocusChain(); next != page && chain.size() < 1000;
             next = next->nextInFocusChain())
            chain << next;
        std::stable_sort(
            names.begin(), names.end(), [page, &chain](const QString &a, const QString &b) {
                return chain.indexOf(page->findChild<QWidget *>(a))
                    < chain.indexOf(page->findChild<QWidget *>(b));
            });
    }
    for (const QString &name : names) {
        auto *target = widget<QWidget>(name);
        if (!target)
            return false;
        const QString value = form.value(name).toString();
        if (qobject_cast<QComboBox *>(target)) {
            if (!choose(name, value))
                return false;
        } else if (auto *edit = qobject_cast<QLineEdit *>(target)) {
            // A template fills the account in; the operator leaves such a field alone.
            if (edit->isReadOnly() || !edit->isEnabled())
                continue;
            if (!typeText(edit, value))
                return false;
        }
    }
    // The form's boxes in their order on screen: "Summ" (what the customer pays) first.
    const QString summ = m_inputs.value(QStringLiteral("summ")).toString();
    return summ.isEmpty() || typeAmount(boxes.first(), summ);
}

void RoadDriver::checkReadiness()
{
    QAbstractButton *finish = m_wizard->button(QWizard::FinishButton);
    QAbstractButton *commit = m_wizard->button(QWizard::CommitButton);
    QAbstractButton *next = m_wizard->button(QWizard::NextButton);
    // A sender page whose request changed the service shows Commit in Next's place.
    QAbstractButton *button = finish->isVisible() ? finish : (commit->isVisible() ? commit : next);

    auto *retry = m_wizard->currentPage()->findChild<QAbstractButton *>(QStringLiteral("pbRetry"));
    if (!button->isEnabled() && retry && retry->isVisible() && m_retries < MAX_RETRIES) {
        if (!m_retryPause.isValid())
            m_retryPause.start();
        if (m_retryPause.elapsed() < RETRY_PAUSE_MS)
            return;
        m_retryPause.invalidate();
        ++m_retries;
        write(QStringLiteral("retry    page %1, try %2").arg(m_pageId).arg(m_retries));
        if (m_keyboard) {
            if (!tabTo(retry))
                return;
            press(Qt::Key_Space);
        } else {
            QTest::mouseClick(retry, Qt::LeftButton);
        }
        m_sinceChange.start();
        return;
    }
    if (onSenderPage() && !button->isEnabled()) {
        // A red line under a page that cannot go on: the service said no, or never answered.
        auto *error = widget<QLabel>(QStringLiteral("lError"));
        if (error && !error->text().isEmpty()) {
            stop(plainText(error->text()));
            return;
        }
    }
    if (button->isEnabled()) {
        screenshot();
        m_phase = Leaving;
        m_sinceChange.start();
        goOn(button);
        return;
    }
    const int limit = onSenderPage() ? m_replyWait : PAGE_WAIT_MS;
    if (m_sinceChange.elapsed() > limit)
        stop(QStringLiteral("%1 stays disabled").arg(button->text().remove(QLatin1Char('&'))));
}

template<typename T> T *RoadDriver::widget(const QString &name)
{
    T *found = m_wizard->currentPage()->findChild<T *>(name);
    if (!found)
        stop(QStringLiteral("missing widget: %1 on page %2").arg(name).arg(m_pageId));
    return found;
}

bool RoadDriver::type(const QString &widgetName, const QString &inputKey)
{
    auto *edit = widget<QLineEdit>(widgetName);
    return edit && typeText(edit, m_inputs.value(inputKey).toString());
}

bool RoadDriver::typeText(QWidget *target, const QString &text)
{
    // Into the field, everything selected and wiped, then the keys one by one; an input mask
    // skips its own literals as the operator types.
    if (m_keyboard) {
        if (!tabTo(target))
            return false;
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_Backspace);
        press(Qt::Key_Home);
        QTest::keyClicks(focused(), text);
        m_keys << QLatin1Char('"') + text + QLatin1Char('"');
        return true;
    }
    QTest::mouseClick(target, Qt::LeftButton);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Backspace);
    QTest::keyClick(target, Qt::Key_Home);
    QTest::keyClicks(target, text);
    return true;
}

bool RoadDriver::typeAmount(QWidget *box, const QString &amount)
{
    QString text = amount;
    text.replace(QLatin1Char('.'), box->locale().decimalPoint());
    return typeText(box, text);
}

bool RoadDriver::choose(const QString &comboName, const QString &text)
{
    auto *combo = widget<QComboBox>(comboName);
    if (!combo)
        return false;
    const int wanted = combo->findText(text);
    if (wanted < 0) {
        stop(
            QStringLiteral("no choice \"%1\" in %2 on page %3").arg(text, comboName).arg(m_pageId));
        return false;
    }
    // Arrow keys through the closed drop-down, as on a terminal keyboard.
    if (m_keyboard) {
        if (!tabTo(combo))
            return false;
        press(Qt::Key_Home);
        for (int i = qMax(0, combo->currentIndex()); i < wanted; ++i)
            press(Qt::Key_Down);
        return combo->currentIndex() == wanted;
    }
    // A tap on the drop-down gives it the focus, as it would an operator's keys.
    combo->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = qMax(0, combo->currentIndex()); i < wanted; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    return combo->currentIndex() == wanted;
}

bool RoadDriver::click(const QString &buttonName)
{
    auto *button = widget<QAbstractButton>(buttonName);
    if (!button)
        return false;
    if (m_keyboard) {
        if (!tabTo(button, radioGroup(button)))
            return false;
        // A group of radio buttons is one stop for Tab; the arrow keys go from one to the next.
        for (int i = 0; i < 2 * MAX_TABS && QApplication::focusWidget() != button; ++i)
            press(i < MAX_TABS ? Qt::Key_Down : Qt::Key_Up);
        if (QApplication::focusWidget() != button) {
            stop(QStringLiteral("the arrow keys never reach %1").arg(buttonName));
            return false;
        }
        press(Qt::Key_Space);
        return true;
    }
    // Radio buttons and check boxes take clicks on their indicator, not across the whole row.
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
    return true;
}

void RoadDriver::goOn(QAbstractButton *button)
{
    if (!m_keyboard) {
        QTest::mouseClick(button, Qt::LeftButton);
        return;
    }
    // Enter goes on from wherever the focus is: an input passes it to the wizard's Next or
    // Finish. Both act at once, so a page still showing has swallowed the key.
    const int id = m_wizard->currentId();
    QWidget *target = focused();
    m_keys << QKeySequence(Qt::Key_Return).toString();
    writeKeys();
    QTest::keyClick(target, Qt::Key_Return);
    if (m_wizard && m_wizard->isVisible() && m_wizard->currentId() == id)
        stop(QStringLiteral("Enter on %1 does not go on").arg(nameOf(target)));
}

QWidget *RoadDriver::focused() const
{
    // Keys reach the window itself while no widget has the focus.
    QWidget *widget = QApplication::focusWidget();
    return widget ? widget : m_wizard.data();
}

void RoadDriver::press(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(focused(), Qt::Key(key), modifiers);
    m_keys << QKeySequence(int(modifiers) | key).toString();
}

bool RoadDriver::tabTo(QWidget *target, const QList<QWidget *> &group)
{
    const auto arrived = [target, &group] {
        QWidget *focus = QApplication::focusWidget();
        return focus && (focus == target || group.contains(focus));
    };
    // The road fills each page in the order its form defines for Tab; one that needs to go
    // round through the wizard's buttons has its Tab order wrong.
    QList<QWidget *> buttons;
    for (QWizard::WizardButton which : {QWizard::BackButton, QWizard::NextButton,
             QWizard::CommitButton, QWizard::FinishButton, QWizard::CancelButton})
        buttons << m_wizard->button(which);
    for (int presses = 0; presses < MAX_TABS && !arrived(); ++presses) {
        press(Qt::Key_Tab);
        if (buttons.contains(QApplication::focusWidget())) {
            stop(QStringLiteral("Tab goes to the wizard's buttons before it reaches %1")
                     .arg(nameOf(target)));
            return false;
        }
    }
    if (arrived())
        return true;
    stop(QStringLiteral("Tab never reaches %1; the focus stays on %2")
             .arg(nameOf(target), nameOf(QApplication::focusWidget())));
    return false;
}

bool RoadDriver::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (m_keyboard && m_wizard && watched->isWidgetType()
            && (watched == m_wizard || m_wizard->isAncestorOf(static_cast<QWidget *>(watched))))
            stop(QStringLiteral("a mouse button on %1 in a road by keys")
                     .arg(nameOf(static_cast<QWidget *>(watched))));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void RoadDriver::screenshot()
{
    if (m_screenshotDir.isEmpty())
        return;
    const QString step = QStringLiteral("%1").arg(++m_screenshotStep, 2, 10, QLatin1Char('0'));
    const auto save = [this](const QString &name) {
        const QString path = QDir(m_screenshotDir).absoluteFilePath(name);
        if (m_wizard->grab().save(path))
            m_screenshots << path;
        else
            write(QStringLiteral("cannot save %1").arg(path));
    };
    if (!m_language) {
        save(QStringLiteral("%1-page-%2.png").arg(step).arg(m_pageId));
        return;
    }

    // The page in the terminal's language and in the other one: grabbed, switched, grabbed,
    // switched back, each switch carried out at once so that the picture shows its texts.
    QWizardPage *page = m_wizard->currentPage();
    const QString kind = page ? QString::fromLatin1(page->metaObject()->className()).toLower()
                              : QStringLiteral("wizard");
    const auto switchTo = [this](const QString &language) {
        m_language->apply(language);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    };
    const QString own = m_language->language();
    const QString other = m_language->other();
    save(QStringLiteral("%1-%2-%3.png").arg(step, kind, own));
    switchTo(other);
    save(QStringLiteral("%1-%2-%3.png").arg(step, kind, other));
    switchTo(own);
}

void RoadDriver::writeKeys()
{
    if (!m_keys.isEmpty())
        write(QStringLiteral("keys     %1 %2").arg(m_pageId).arg(m_keys.join(QLatin1Char(' '))));
    m_keys.clear();
}

void RoadDriver::stop(const QString &reason)
{
    if (stopped())
        return;
    writeKeys();
    m_reason = QStringLiteral("page %1: %2").arg(m_pageId).arg(reason);
    write(QStringLiteral("stopped  ") + m_reason);
    screenshot();
    m_timer->stop();
    // Closed as a host closes it, without the operator's "discard?" question.
    static_cast<QDialog *>(m_wizard.data())->done(QDialog::Rejected);
}

void RoadDriver::write(const QString &line)
{
    if (m_log)
        *m_log << line << Qt::endl;
}
