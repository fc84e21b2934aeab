// Every road through the payment wizard, each from one description, walked every way a terminal
// reaches it: by mouse and by keys, in English and in Russian, at a terminal's screen size, in
// this process and by the scripted terminal over a WebSocket. Each walk is checked by the
// requests the service got and the payment the terminal got. The operator is the demo's
// RoadDriver, the service its simulator, the host its channel: the roads program's own parts.
#include "corvexhandler.h"
#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "corvexsimulator.h"
#include "corvextranslator.h"
#include "demoprocess.h"
#include "formfixtures.h"
#include "hostlanguage.h"
#include "hostsetup.h"
#include "icxwizardpage.h"
#include "paymentjson.h"
#include "roaddriver.h"
#include "servicelink.h"
#include "terminalchannel.h"
#include "terminalsettings.h"
#include "testutil.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QTextDocumentFragment>

#include <functional>
#include <memory>

namespace {

// What a road sends (function and the data that matter, in order) and the payment it ends with.
struct Road
{
    QStringList requests;
    QString account, paymentKind, comment, receipt;
};

const QString NEW_PHONE = "9035550101";
const QMap<QString, Road> ROADS = {
    {"code", {{}, "4081781001", "1", "", "Credit code=4081781001"}},
    {"template",
        {{"listtid phone=9161234567"}, "4081781001", "2", "Consumer credit: AO Alfa-Bank",
            "=9161234567"}},
    {"new-customer",
        {{"reg phone=" + NEW_PHONE + " lastName=Smirnova docSeries=4512",
             "check_params bik=044525593",
             "check phone=" + NEW_PHONE + " params=044525593;PIL-2023-0457;4417 amount=425000",
             "listtid phone=" + NEW_PHONE},
            "7000000001", "1", "Consumer credit: AO Alfa-Bank", "Contract number=PIL-2023-0457"}},
    {"add-template",
        {{"listtid phone=9161234567", "check_params bik=044525225",
             "check phone=9161234567 params=044525225;MG-77/2019", "listtid phone=9161234567"},
            "7000000001", "1", "Mortgage: PAO Sberbank", "Contract number=MG-77/2019"}},
};

// The page each kind of page (its id modulo 16) gives the focus to when entered.
const QMap<int, QString> FIRST_FOCUS = {{0, "rbRegistration"}, {1, "lePhone"},
    {2, "cbDocumentType"}, {3, "leCountrry"}, {4, "lePhone"}, {5, "leBik"}, {6, "lePhone"},
    {7, "lvTemplates"}, {14, "tbData"}, {15, "account"}};

const QSize SCREEN(1024, 768);
const QString LONG = " of the Moscow branch of the joint-stock company, as the register has it";

QStringList lines(const QString &out, const QString &head)
{
    QStringList found;
    const QRegularExpression line("^" + head + "\\s+(.*)$", QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(out); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

// A request as "function key=value ...", the keys that tell one road's data from another's.
QString request(const QString &json)
{
    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8()).object();
    QString text = object.value(CorvexKey::Function).toString();
    for (QLatin1String key : {CorvexKey::Phone, CorvexKey::LastName, CorvexKey::DocSeries,
             CorvexKey::Bik, CorvexKey::Params, CorvexKey::Amount}) {
        if (object.contains(key))
            text += " " + key + "=" + object.value(key).toVariant().toString();
    }
    return text;
}

QJsonObject printedPayment(const QString &out)
{
    const int start = out.indexOf("Payment:\n");
    return start < 0 ? QJsonObject()
                     : QJsonDocument::fromJson(out.mid(start + 9).toUtf8()).object();
}

QString focusName()
{
    const QWidget *focus = QApplication::focusWidget();
    return !focus                       ? "nothing"
        : focus->objectName().isEmpty() ? focus->metaObject()->className()
                                        : focus->objectName();
}

void press(const QKeySequence &key)
{
    QTest::keySequence(QApplication::focusWidget(), key);
}

// What a host does to change language: the default locale, then a LanguageChange.
void switchLanguage(const QString &locale)
{
    QLocale::setDefault(QLocale(locale));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &change);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

QString plain(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

} // namespace

// The terminal in this process: the terminal file, the simulator behind the host's channel, the
// plug-in's root object and one payment wizard, its exchange and road written to `out`.
struct Terminal
{
    TerminalSettings settings;
    CorvexSimulator simulator;
    QString out;
    QTextStream log {&out};
    LocalServiceLink link {&simulator, QString()};
    TerminalChannel channel {&link};
    CorvexHandler handler;
    std::unique_ptr<IPayDialog> dialog;
    CorvexPayWizard *wizard = nullptr;

    bool start(const QString &serviceFile, bool longForm = false, int pointSize = 0)
    {
        QString error;
        if (!settings.load(CORVEX_DEMO_DATA_DIR "/terminal.json", &error)
            || !simulator.load(serviceFile, &error))
            return false;
        for (QFont *font : {&settings.font, &settings.interfaceFont})
            font->setPointSize(pointSize > 0 ? pointSize : font->pointSize());
        HostSetup::applyLook(settings);
        channel.setLog(&log);
        handler.setInputFont(settings.font);
        handler.setMessageReciever(&channel, TerminalChannel::replySignal());
        handler.setMessageSender(&channel, TerminalChannel::sendSlot());
        handler.setBoxInfo(settings.box);
        if (longForm) { // nine inputs with long labels, as a bank's repayment form has them
            QList<ProviderParameter> parameters = settings.provider.parameters();
            QList<ProviderParameter> items = parameters.last().items();
            for (const char *label : {"First name", "Patronymic", "Mobile phone of the payer",
                     "Registered address of the payer", "Purpose of the payment"})
                items << Fixture::field(label, items.size() + 1);
            parameters.last().setItems(items);
            settings.provider.setParameters(parameters);
        }
        dialog.reset(handler.start(
            settings.currency, settings.prepay, settings.comProfile, settings.provider, nullptr));
        wizard = dynamic_cast<CorvexPayWizard *>(dialog.get());
        return wizard;
    }
};

// Watches the operator's presses on Next and Finish in a window of the given size. As either is
// pressed, the page is checked: no two inputs, labels or buttons overlap; every label gets the
// room its text needs; the wizard's buttons and, on the payment page, the amount boxes and the
// basket box are fully in view from 800x600 on. At the terminal's screen size the wizard asks for
// no more than the screen, no scroll bar shows but the payment form's, and every label is inside
// the window. With `holdFinish`, Finish is not let through, to leave the wizard open there.
class ScreenCheck : public QObject
{
public:
    QStringList problems;
    QPointer<QWizard> wizard;
    QSize size = SCREEN;
    int font = 0;
    bool holdFinish = false, held = false;
    QPointer<QWidget> lastTouched;

    void watch(QWizard *watched, bool hold = false)
    {
        wizard = watched;
        holdFinish = hold;
        wizard->resize(size);
        // Sees the presses on Next and Finish, and every key typed.
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Only presses: every object of the application passes here, the wizard's own while it
        // is being destroyed too.
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress
            && type != QEvent::MouseButtonRelease)
            return false;
        if (!wizard || !wizard->currentPage())
            return false;
        auto *touched = qobject_cast<QWidget *>(watched);
        if (type != QEvent::MouseButtonRelease && touched
            && wizard->currentPage()->isAncestorOf(touched))
            lastTouched = touched;
        const bool pressed = watched == wizard->button(QWizard::NextButton)
            || watched == wizard->button(QWizard::FinishButton);
        if (pressed && type == QEvent::MouseButtonPress)
            check(QString::number(wizard->currentId()) + ": ");
        const bool hold = holdFinish && type != QEvent::KeyPress
            && watched == wizard->button(QWizard::FinishButton);
        held = held || hold;
        return hold;
    }

private:
    QRect placed(QWidget *w) const { return QRect(w->mapTo(wizard, QPoint()), w->size()); }
    // The part of a widget in view: inside every widget it is in, the scroll areas' views too.
    QRect shown(QWidget *widget) const
    {
        QRect seen = placed(widget);
        for (QWidget *in = widget->parentWidget(); in && in != wizard; in = in->parentWidget())
            seen &= placed(in);
        return seen & wizard->rect();
    }

    void check(const QString &page)
    {
        const bool full = size == SCREEN;
        const bool last = wizard->currentId() % 16 == CorvexPayWizard::PagePayment;
        const QSize hint = wizard->sizeHint();
        if ((full && !last && hint.boundedTo(SCREEN) != hint) || wizard->size() != size)
            problems << page + QString("window %1 asks %2").arg(wizard->width()).arg(hint.height());
        for (QAbstractScrollArea *area :
            wizard->currentPage()->findChildren<QAbstractScrollArea *>()) {
            if (full && area->isVisible() && area->objectName() != "saParameters"
                && (area->verticalScrollBar()->isVisible()
                    || area->horizontalScrollBar()->isVisible()))
                problems << page + "scroll bar on " + area->objectName();
        }
        // Cut: smaller than it needs, or not all inside the window.
        const auto cut = [this, full](QWidget *widget, const QSize &needed) {
            return widget->width() < needed.width() || widget->height() < needed.height()
                || (full && !wizard->rect().contains(placed(widget)));
        };
        for (QLabel *label : wizard->findChildren<QLabel *>()) {
            const QSize needed = label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                                   : label->sizeHint();
            if (label->isVisible() && !label->text().isEmpty() && cut(label, needed))
                problems << page + "label cut: " + label->text().left(40);
        }
        for (auto which : {QWizard::BackButton, QWizard::CancelButton,
                 last ? QWizard::FinishButton : QWizard::NextButton}) {
            QAbstractButton *button = wizard->button(which);
            if ((!button->isVisible() && wizard->currentId() != 0)
                || cut(button, QSize(button->sizeHint().width(), 0))
                || shown(button) != placed(button))
                problems << page + "button hidden: " + button->text();
        }
        for (const char *name : {"sbSumm", "sbComission", "sbToAccount", "cbBasket"}) {
            QWidget *widget = wizard->currentPage()->findChild<QWidget *>(name);
            if (widget && size.height() >= 600 && shown(widget) != placed(widget))
                problems << page + "not in view: " + name;
        }
        if (lastTouched && wizard->currentPage()->isAncestorOf(lastTouched)
            && shown(lastTouched) != placed(lastTouched))
            problems << page + "touched out of view: " + lastTouched->objectName();
        // What the operator sees and touches, no widget of its own in view: none overlaps another.
        QList<QWidget *> leaves;
        for (QWidget *widget : wizard->findChildren<QWidget *>()) {
            const QList<QWidget *> inside = widget->findChildren<QWidget *>();
            if (!shown(widget).isEmpty() && widget->isVisible()
                && std::none_of(inside.cbegin(), inside.cend(), std::mem_fn(&QWidget::isVisible))) {
                for (QWidget *other : leaves) {
                    if (shown(other).intersects(shown(widget)))
                        problems << page + other->objectName() + " on " + widget->objectName();
                }
                leaves << widget;
            }
        }
    }
};

class TestRoads : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data, m_longData, m_unregistered, m_terminal;
    QJsonObject m_roads;
    HostLanguage m_language;
    std::unique_ptr<Terminal> m_open;

    // One road in this process, as corvex-roads prints it: the exchange, the pages, the focus on
    // each page entered by keys, and the payment.
    QString walk(RoadDriver::Road road, const QJsonObject &inputs, bool keys,
        const QString &language, ScreenCheck *screen)
    {
        m_language.apply(language);
        Terminal terminal;
        if (!terminal.start(screen ? m_unregistered : m_data, screen, screen ? screen->font : 0))
            return "no terminal";
        if (screen) {
            screen->watch(terminal.wizard);
            // The refusal holds until the customer registers.
            connect(terminal.wizard, &QWizard::currentIdChanged, &terminal.simulator, [&](int id) {
                if (id == CorvexPayWizard::PageRegistrationBase)
                    terminal.simulator.load(m_longData, nullptr);
            });
        }
        RoadDriver driver(terminal.wizard, road, inputs, &terminal.log);
        driver.setReplyWait(15000);
        driver.setKeyboard(keys);
        driver.start();
        if (terminal.dialog->execute()) {
            terminal.log << "Payment:\n"
                         << QJsonDocument(paymentToJson(terminal.dialog->payment(),
                                              terminal.dialog->immidiatlyPost()))
                                .toJson();
        }
        terminal.log.flush();
        m_language.apply("en");
        return terminal.out;
    }

    QString drive(const QString &road, const QStringList &arguments)
    {
        const RunResult run = runProgram(CORVEX_ROADS_PROGRAM,
            QStringList {"--road", road, "--plugin", CORVEX_PLUGIN_PATH} + arguments, 120000);
        return QString("exit %1\n").arg(run.exitCode) + run.err + run.out;
    }

    bool onPayment() const
    {
        return m_open && m_open->wizard->currentId() == CorvexPayWizard::PagePayment;
    }

    // A property of a widget of a page (-1: the wizard itself; no name: the page itself). Some
    // properties are read the way the operator sees them: "plain:" strips the markup, "buddy" is
    // the text of the label that names the widget, "preview" is what a page shows of its request
    // on the sender page, "card:N" and "selected" read the template list.
    QVariant probe(int pageId, const QString &object, const QString &property) const
    {
        QWidget *owner
            = pageId < 0 ? static_cast<QWidget *>(m_open->wizard) : m_open->wizard->page(pageId);
        QObject *target = object.isEmpty() ? owner : owner->findChild<QObject *>(object);
        if (!target)
            return QStringLiteral("no widget %1").arg(object);
        if (property.startsWith("plain:"))
            return plain(target->property(qPrintable(property.mid(6))).toString());
        if (property == "preview")
            return plain(ICXWizardPage::fromObject(target)->preview());
        if (property == "buddy") {
            for (const QLabel *label : owner->findChildren<QLabel *>()) {
                if (label->buddy() == target)
                    return label->text();
            }
            return QStringLiteral("no label for %1").arg(object);
        }
        if (auto *view = qobject_cast<QAbstractItemView *>(target)) {
            if (property == "selected")
                return view->selectionModel()->selectedIndexes().value(0).row();
            return plain(view->model()->index(property.mid(5).toInt(), 0).data().toString());
        }
        return target->property(qPrintable(property));
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules("corvex.exchange.debug=false");
        // A reply lost would cost ten seconds, not a minute, here and in the roads programs.
        qputenv("CORVEX_REPLY_TIMEOUT", "10");
        QVERIFY(m_dir.isValid());
        m_data = editedCopy(m_dir.filePath("service.json"), "service.json", "replyDelayMs=20");
        QString text = fileText(m_data);
        // The service as a terminal meets it at its longest: long bank names and purposes, and a
        // customer not yet registered told so in two long sentences, until registered.
        for (const char *name : {"AO Alfa-Bank", "PAO Sberbank", "Repayment of a consumer credit",
                 "Repayment of a mortgage", "CC-2021/18834"})
            text.replace(QString("\"%1\"").arg(name), QString("\"%1%2\"").arg(name, LONG));
        m_longData = written(m_dir.filePath("long.json"), text);
        m_unregistered = written(m_dir.filePath("unregistered.json"),
            text.replace("\"failures\": [",
                "\"failures\": [{\"when\": {\"function\": \"listtid\", \"phone\": \"" + NEW_PHONE
                    + "\"}, \"reply\": {\"error\": false, \"params\": {\"errorCode\": 18, "
                      "\"description\": \"No customer is registered with this mobile phone number, "
                      "or the registration has not been confirmed by the bank yet; register the "
                      "customer or check the number with the customer.\\nThe customer's templates "
                      "can be looked up again once the registration is complete.\"}}},"));
        const QString terminal = fileText(CORVEX_DEMO_DATA_DIR "/terminal.json");
        m_roads = QJsonDocument::fromJson(terminal.toUtf8()).object().value("roads").toObject();
        // A terminal file whose template road has a phone the service refuses.
        m_terminal = written(m_dir.filePath("terminal.json"),
            QString(terminal).replace("\"9161234567\"", "\"9990000007\""));
    }

    // A row walks a road one way: in this process by keys, or by mouse at the terminal's screen
    // size in a language; or by keys in the roads program over the WebSocket, in both languages.
    void roads_data()
    {
        addRows<QString, QString, QString>({"road", "phone", "way"}, {});
        for (const QString &road : ROADS.keys()) {
            for (const char *way : {"keys en", "screen en", "screen ru", "websocket"})
                QTest::addRow("%s, %s", qPrintable(road), way) << road << QString() << way;
        }
        // A customer the service does not know, or will not serve until registered again, goes from
        // the template look-up through registration to the new template.
        for (const char *phone : {"9260000022", "9260000026", "9260000027", "9260000029"})
            QTest::addRow("unknown customer %s", phone) << "template" << phone << "mouse en";
        // The new customer's phone; smaller screens and other fonts, the page scrolls below
        // 800x600.
        for (const char *way : {"screen en", "screen ru", "screen en 800x600", "screen ru 800x600",
                 "screen ru 800x600 12", "screen en 1024x768 12", "screen ru 640x480"}) {
            QTest::addRow("unknown customer, %s", way) << "template" << NEW_PHONE << way;
            if (QByteArray(way).count(' ') > 1)
                QTest::addRow("template, %s", way) << "template" << QString() << way;
        }
    }

    void roads()
    {
        QFETCH(QString, road);
        QFETCH(QString, phone);
        QFETCH(QString, way);
        // An unknown customer goes the new customer's way once the template look-up has failed.
        const QString described = phone.isEmpty() ? road : "new-customer";
        Road expected = ROADS.value(described);
        QJsonObject inputs = m_roads.value(described).toObject();
        if (!phone.isEmpty()) {
            expected.requests.replaceInStrings(NEW_PHONE, phone);
            expected.requests.prepend("listtid phone=" + phone);
            inputs.insert("phone", phone);
        }
        ScreenCheck check;
        const QStringList screen = way.split(QRegularExpression("[ x]"));
        check.size = QSize(screen.value(2, "1024").toInt(), screen.value(3, "768").toInt());
        check.font = screen.value(4).toInt();
        const QString shots = m_dir.filePath(QString(QTest::currentDataTag()).replace(' ', '_'));
        ServiceProcess service;
        QString out = "exit 0\n";
        const bool keys = way == "keys en" || way == "websocket";
        if (way == "websocket") {
            QVERIFY(service.start(m_data));
            out = drive(road, {"--service", service.url(), "--screenshots", shots, "--keyboard"});
        } else {
            RoadDriver::Road kind = RoadDriver::CodeRoad;
            QVERIFY(RoadDriver::roadFromName(road, &kind));
            out += walk(
                kind, inputs, keys, screen.at(1), way.startsWith("screen") ? &check : nullptr);
        }
        QVERIFY2(out.startsWith("exit 0\n") && lines(out, "stopped").isEmpty(), qPrintable(out));

        QStringList sent;
        for (const QString &line : lines(out, "request"))
            sent << request(line);
        QCOMPARE(sent, expected.requests);

        const QJsonObject payment = printedPayment(out);
        const QJsonObject provider = payment.value("provider").toObject();
        QCOMPARE(provider.value("id").toInt(), 1586);
        QCOMPARE(provider.value("name").toString(), QString("Corvex: credit repayment"));
        QCOMPARE(provider.value("checkTitle").toString(), QString("Credit repayment via Corvex"));
        QCOMPARE(payment.value("currencyId").toInt(), 643);
        QCOMPARE(payment.value("account").toString(), expected.account);
        // The customer's 1000.00 already paid in reach the account; 1.5 %, at least 30.00, on top.
        QCOMPARE(payment.value("summ").toString(), QString("1000.00"));
        QCOMPARE(payment.value("commission").toString(), QString("30.00"));
        QCOMPARE(payment.value("total").toString(), QString("1030.00"));
        QCOMPARE(payment.value("checkFlags").toArray(), QJsonArray({"online", "printCheck"}));
        QCOMPARE(payment.value("immediatePost"), QJsonValue(true));
        const QJsonArray details = payment.value("details").toArray();
        QStringList names;
        for (const QJsonValue &detail : details)
            names << detail.toObject().value("name").toString();
        QCOMPARE(names, QStringList({"account", "payer", "paymentKind"}));
        QCOMPARE(details.at(0).toObject().value("value").toString(), expected.account);
        QCOMPARE(details.at(2).toObject().value("value").toString(), expected.paymentKind);
        const QString comment = payment.value("comment").toString();
        QVERIFY2(comment.contains(expected.comment), qPrintable(comment));
        const QString receipt = payment.value("receipt").toString();
        QVERIFY2(receipt.contains(expected.receipt), qPrintable(receipt));

        // By keys, each page is entered with the focus on its first input.
        QStringList focus = lines(out, "focus"), first;
        for (const QString &line : focus)
            first << line.section(' ', 0, 0) + " "
                    + FIRST_FOCUS.value(line.section(' ', 0, 0).toInt() % 16);
        QCOMPARE(focus, first);
        QCOMPARE(!focus.isEmpty(), keys);

        // Over the WebSocket, two pictures of each page passed, one in each language.
        QStringList pictures = QDir(shots).entryList(QDir::Files, QDir::Name), wanted;
        pictures.replaceInStrings(QRegularExpression("^(\\d+)-[a-z]+-"), "\\1-");
        for (int step = 1; way == "websocket" && step <= lines(out, "page").size(); ++step)
            wanted << QString("%1-en.png").arg(step, 2, 10, QChar('0'))
                   << QString("%1-ru.png").arg(step, 2, 10, QChar('0'));
        QCOMPARE(pictures, wanted);

        QCOMPARE(check.problems.join('\n'), QString());
    }

    // A road that cannot be finished ends with a reason: from the scripted terminal an exit code a
    // script can tell apart and the service's message, in this process the driver's.
    void stops()
    {
        QString out = drive("template", {"--service-data", m_data, "--terminal", m_terminal});
        QVERIFY2(out.startsWith("exit 3\n"), qPrintable(out));
        QVERIFY2(out.contains("corvex-roads: the template road stopped on page 14: Dalmor error: "
                              "The payment gateway is closed for maintenance"),
            qPrintable(out));
        QJsonObject inputs = m_roads.value("template").toObject();
        inputs.insert("pick", QJsonArray({"4081789999"}));
        out = walk(RoadDriver::TemplateRoad, inputs, false, "en", nullptr);
        QVERIFY2(out.contains("stopped  page 7: no template \"4081789999\" among 3 rows on page 7"),
            qPrintable(out));
        QVERIFY2(!out.contains("Payment:"), qPrintable(out));
    }

    // Two terminals on one service process at the same time each finish their own payment, also
    // when the service is killed while their requests wait and then started again: each terminal
    // answers its request as undelivered within a second, and its operator presses Retry.
    void twoTerminalsAtOnce()
    {
        auto service = std::make_unique<ServiceProcess>();
        QVERIFY(service->start(m_data, {"--delay", "5000"}));
        const QString url = service->url();
        QProcess roads[2];
        QString out[2];
        for (int i : {0, 1}) {
            connect(&roads[i], &QProcess::readyReadStandardOutput,
                [&, i] { out[i] += roads[i].readAll(); });
            roads[i].start(CORVEX_ROADS_PROGRAM,
                {"--road", "template", "--plugin", CORVEX_PLUGIN_PATH, "--service", url});
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            out[0].contains("request  ") && out[1].contains("request  "), 20000);
        QElapsedTimer sinceKill;
        sinceKill.start();
        service.reset();
        QTRY_VERIFY(out[0].contains("undelivered ") && out[1].contains("undelivered "));
        QVERIFY2(sinceKill.elapsed() < 1000, qPrintable(QString::number(sinceKill.elapsed())));
        service = std::make_unique<ServiceProcess>();
        QVERIFY(service->start(m_data, {"--listen", QString::number(QUrl(url).port())}));
        for (int i : {0, 1}) {
            QTRY_VERIFY_WITH_TIMEOUT(roads[i].state() == QProcess::NotRunning, 60000);
            QVERIFY2(roads[i].exitCode() == 0 && out[i].contains("retry    page 14"),
                qPrintable(out[i]));
            // One reply, to the request sent again: none of the other terminal's.
            QCOMPARE(lines(out[i], "reply").size(), 1);
            QCOMPARE(printedPayment(out[i]).value("account").toString(), ROADS["template"].account);
        }
    }

    // Keys on one page: the focus after each key, where the wizard is then, and which template row
    // is chosen. Enter chooses an action only once Space has; on the list Enter or Space chooses a
    // row, Enter on the chosen one goes on; Tab goes down the payment form to the basket box before
    // the wizard's buttons; and no input keeps Enter from being the wizard's Next.
    void keysOnPage_data()
    {
        const int list = CorvexPayWizard::PageSelectTemplate;
        const QString onList = "7 lvTemplates, 7 lvTemplates, 7 lvTemplates";
        addRows<int, QString, QString, QString, int>({"page", "tabTo", "keys", "focus", "chosen"},
            {{"registration by space", 0, "", "Return Space Return",
                 "0 rbRegistration, 0 rbRegistration, 0 rbRegistration, 1 lePhone", -1},
                {"templates by space", 0, "", "Down Return Space Return",
                    "0 rbRegistration, 0 rbRequirementsCodes, 0 rbRequirementsCodes, "
                    "0 rbRequirementsCodes, 4 lePhone",
                    -1},
                {"code by space", 0, "", "Down Down Space Return",
                    "0 rbRegistration, 0 rbRequirementsCodes, 0 rbPaymentByCode, "
                    "0 rbPaymentByCode, 15 account",
                    -1},
                {"rows: arrows only", list, "", "Down Down", onList, -1},
                {"rows: enter", list, "", "Down Return", onList, 1},
                {"rows: space", list, "", "Down Space", onList, 1},
                {"rows: enter twice", list, "", "Return Return",
                    "7 lvTemplates, 7 lvTemplates, 15 account", 0},
                {"rows: space, enter on the new row", list, "", "End Space Return",
                    onList + ", 5 leBik", 2},
                {"rows: another row, enter", list, "", "Space Down Return",
                    onList + ", 7 lvTemplates", 1},
                {"payment: tab order", 15, "", "Tab Tab Tab Tab Tab Tab Tab Tab",
                    "15 account, 15 paymentKind, 15 payerLastName, 15 payerDocument, 15 sbSumm, "
                    "15 sbComission, 15 sbToAccount, 15 cbBasket, 15 qt_wizard_cancel",
                    -1}});
        for (const char *input : {"cbDocumentType", "leSeries", "deIssueDate", "cbSkipAddress"})
            QTest::addRow("enter from %s", input)
                << int(CorvexPayWizard::PageRegistrationDocuments) << input << QString("Return")
                << QString("2 %1, 3 leCountrry").arg(input) << -1;
    }

    void keysOnPage()
    {
        QFETCH(int, page);
        QFETCH(QString, tabTo);
        QFETCH(QString, keys);
        Terminal terminal;
        QVERIFY(terminal.start(m_data));
        CorvexPayWizard *wizard = terminal.wizard;
        const bool list = page == CorvexPayWizard::PageSelectTemplate;
        wizard->setPhone("9161234567");
        wizard->setStartId(list ? CorvexPayWizard::PagePrepareAllTemplatesRequest : page);
        wizard->show();
        QVERIFY(QTest::qWaitForWindowActive(wizard, 20000));
        if (list) { // the list of the customer's two templates, reached by Enter
            press(Qt::Key_Return);
            QTRY_VERIFY(wizard->button(QWizard::NextButton)->isEnabled());
            press(Qt::Key_Return);
        }
        for (int i = 0; i < 20 && focusName() != tabTo && !tabTo.isEmpty(); ++i)
            press(Qt::Key_Tab);
        QStringList focus = {QString("%1 %2").arg(wizard->currentId()).arg(focusName())};
        for (const QString &key : keys.split(' ')) {
            press(QKeySequence(key, QKeySequence::PortableText));
            focus << QString("%1 %2").arg(wizard->currentId()).arg(focusName());
        }
        QTEST(focus.join(", "), "focus");
        QWizardPage *rows = wizard->page(CorvexPayWizard::PageSelectTemplate);
        const QModelIndexList chosen = rows
            ? rows->findChild<QListView *>("lvTemplates")->selectionModel()->selectedIndexes()
            : QModelIndexList();
        QTEST(chosen.isEmpty() ? -1 : chosen.first().row(), "chosen");
        QCOMPARE(rows && rows->isComplete(), !chosen.isEmpty());
    }

    // The host's locale when the plug-in's root object is created decides the language; with the
    // root object gone, the translation goes too.
    void followsHostLocale_data()
    {
        addRows<QString, QString, QString>({"locale", "title", "action"},
            {{"Russian", "ru_RU", "Платёж Corvex", "Оплата по коду"},
                {"Russian of another country", "ru_UA", "Платёж Corvex", "Оплата по коду"},
                {"English", "en_US", "Corvex payment", "Pay by code"},
                {"German: no translation, the source texts", "de_DE", "Corvex payment",
                    "Payment by code"}});
    }

    void followsHostLocale()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        auto handler = std::make_unique<CorvexHandler>();
        std::unique_ptr<QWizard> wizard(dynamic_cast<QWizard *>(
            handler->start(Currency(), FixNumber(), BoxComProfile(), Provider(), nullptr)));
        QTEST(wizard->windowTitle(), "title");
        QTEST(wizard->page(0)->findChild<QWidget *>("rbPaymentByCode")->property("text").toString(),
            "action");
        handler.reset();
        QCOMPARE(QCoreApplication::translate("CorvexPayWizard", "Corvex payment"),
            QStringLiteral("Corvex payment"));
        QLocale::setDefault(QLocale("en_US"));
    }

    // The translation is swapped only when the host's language differs, and the swap's own
    // LanguageChange is not taken for another switch.
    void swapsOnlyOnChange_data()
    {
        addRows<QString, QString, int, bool>({"from", "to", "events", "installed"},
            {{"English to English", "en_US", "en_GB", 1, true},
                {"Russian to Russian", "ru_RU", "ru_UA", 1, true},
                {"English to Russian", "en_US", "ru_RU", 3, true},
                {"Russian to English", "ru_RU", "en_US", 3, true},
                {"Russian to German", "ru_RU", "de_DE", 2, false}});
    }

    void swapsOnlyOnChange()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QLocale::setDefault(QLocale(from));
        CorvexTranslator translator;
        LanguageChanges changes;
        qApp->installEventFilter(&changes);
        switchLanguage(to);
        qApp->removeEventFilter(&changes);
        QTEST(changes.count, "events");
        QTEST(translator.isInstalled(), "installed");
        QCOMPARE(translator.language(), QLocale(to).language());
        switchLanguage("en_US");
    }

    // The unknown customer's road passes every page kind; the wizard stays open on the payment page
    // with everything the operator gave, and the tests after this one switch language on it.
    void everyPageKind()
    {
        switchLanguage("en_US");
        m_open = std::make_unique<Terminal>();
        QVERIFY(m_open->start(m_data));
        CorvexPayWizard *wizard = m_open->wizard;
        // What the road leaves as it is: the document type and the birthday.
        connect(wizard, &QWizard::currentIdChanged, wizard, [wizard](int id) {
            if (id != CorvexPayWizard::PageRegistrationDocuments)
                return;
            auto *type = wizard->page(id)->findChild<QComboBox *>("cbDocumentType");
            type->setCurrentIndex(type->findData(3));
            wizard->page(id)->findChild<QDateEdit *>("deBirthday")->setDate(QDate(1980, 5, 17));
        });
        QJsonObject inputs = m_roads.value("new-customer").toObject();
        inputs.insert("summ", "1250.50");
        auto driver
            = std::make_unique<RoadDriver>(wizard, RoadDriver::TemplateRoad, inputs, &m_open->log);
        ScreenCheck hold;
        hold.watch(wizard, true);
        wizard->show();
        driver->start();
        QTRY_VERIFY2_WITH_TIMEOUT(hold.held, qPrintable(m_open->out), 60000);
        driver.reset();
        QCOMPARE(wizard->currentId(), int(CorvexPayWizard::PagePayment));
    }

    void liveSwitch_data()
    {
        const QString phone = "8(903)555-01-01";
        const QString refusal
            = "No customer with the phone 9035550101; register the customer first";
        const QString card = " Contract number PIL-2023-0457 Last four digits of the card 4417 "
                             "Planned amount 4250.00";
        const QString cardEn = "Consumer credit: AO Alfa-Bank Credit code: 7000000001" + card;
        const QString cardRu = "Consumer credit: AO Alfa-Bank Код кредита: 7000000001" + card;
        addRows<int, QString, QString, QVariant, QVariant>(
            {"page", "object", "property", "english", "russian"},
            {
                {"wizard title", -1, "", "windowTitle", "Corvex payment", "Платёж Corvex"},
                {"action: choice", 0, "rbRequirementsCodes", "text",
                    "Find the customer's templates", "Найти коды погашения клиента"},
                {"action: choice kept", 0, "rbRequirementsCodes", "checked", true, {}},
                {"phone page: title", 4, "", "title", "Find the customer's templates",
                    "Поиск шаблонов клиента"},
                {"phone page: phone kept", 4, "lePhone", "text", phone, {}},
                {"sender: title", 14, "", "title", "Exchange with the service", "Обмен с сервером"},
                {"sender: error line, the service's text as sent", 14, "lError", "text",
                    "<font color=\"red\"><b>Corvex error: </b>" + refusal + "</font>",
                    "<font color=\"red\"><b>Ошибка Corvex: </b>" + refusal + "</font>"},
                {"sender: reply shown", 14, "tbData", "plainText",
                    "Customer's templates\nMobile phone: " + phone + "\nDescription\n" + refusal,
                    "Поиск шаблонов\nМобильный телефон: " + phone + "\nОписание\n" + refusal},
                {"sender without an error: no line", 30, "lError", "text", "", {}},
                {"base: label", 1, "lLastName", "text", "Last name", "Фамилия"},
                {"base: name kept", 1, "leLastName", "text", "Smirnova", {}},
                {"base: phone kept", 1, "lePhone", "text", phone, {}},
                {"documents: label", 2, "lSeries", "text", "Series", "Серия"},
                {"documents: series kept", 2, "leSeries", "text", "4512", {}},
                {"documents: type renamed", 2, "cbDocumentType", "currentText", "Foreign passport",
                    "Иностранный паспорт"},
                {"documents: type kept", 2, "cbDocumentType", "currentData", 3, {}},
                {"documents: preview, dates in the terminal's language", 2, "", "preview",
                    "Registration Mobile phone: 8(903)555-01-01 Full name: Smirnova Anna Olegovna "
                    "Document: Foreign passport Series / Number: 4512 / 654321 Issuer: OVD "
                    "Tverskoy, Moscow Issue date: 1/1/00 Citizenship: Russia Date of birth: "
                    "5/17/80 Place of birth: Moscow",
                    "Регистрация клиента Мобильный телефон: 8(903)555-01-01 ФИО: Smirnova Anna "
                    "Olegovna Документ: Иностранный паспорт Серия / Номер: 4512 / 654321 Кем "
                    "выдан: OVD Tverskoy, Moscow Дата выдачи: 01.01.2000 Гражданство: Russia Дата "
                    "рождения: 17.05.1980 Место рождения: Moscow"},
                {"documents: birthday kept", 2, "deBirthday", "date", QDate(1980, 5, 17), {}},
                {"address: label", 3, "lCountrry", "text", "Country", "Страна"},
                {"address: city kept", 3, "leCity", "text", "Moscow", {}},
                {"BIK: label", 5, "lBIK", "text", "BIK", "БИК"},
                {"BIK: kept", 5, "leBik", "text", "044525593", {}},
                {"template: box", 6, "gbParams", "title", "Template parameters",
                    "Параметры шаблона"},
                {"template: bank lines", 6, "lBank", "plain:text",
                    "Bank: AO Alfa-Bank BIK: 044525593", "Банк: AO Alfa-Bank БИК: 044525593"},
                {"template: parameter kept", 6, "Contract number", "text", "PIL-2023-0457", {}},
                {"list: title", 7, "", "title", "Choose a template", "Выбор шаблона"},
                {"list: template card", 7, "lvTemplates", "card:0", cardEn, cardRu},
                {"list: new template card", 7, "lvTemplates", "card:1", "Add a new template",
                    "Добавить новый шаблон"},
                {"list: choice kept", 7, "lvTemplates", "selected", 0, {}},
                {"payment: the visit's title", 15, "", "title", "[Corvex: credit repayment]", {}},
                {"payment: the template", 15, "lTemplate", "plain:text", cardEn, cardRu},
                {"payment: basket", 15, "cbBasket", "text", "Add to the basket",
                    "Добавить в корзину"},
                {"payment: summ label", 15, "sbSumm", "buddy", "Amount", "Сумма"},
                {"payment: commission label", 15, "sbComission", "buddy", "Commission", "Комиссия"},
                {"payment: to account label", 15, "sbToAccount", "buddy", "To account",
                    "К зачислению"},
                {"payment: payer kept", 15, "payerLastName", "text", "Smirnova", {}},
                {"payment: summ kept", 15, "sbSumm", "value", 1250.5, {}},
            });
    }

    // The host switches language with the wizard open on its last page: every page turns, and
    // nothing typed or chosen is lost, there and back (no Russian value: the English one stays).
    void liveSwitch()
    {
        QFETCH(int, page);
        QFETCH(QString, object);
        QFETCH(QString, property);
        QFETCH(QVariant, english);
        QFETCH(QVariant, russian);
        QVERIFY2(onPayment(), "the wizard did not reach the payment page");
        QCOMPARE(probe(page, object, property), english);
        switchLanguage("ru_RU");
        QCOMPARE(probe(page, object, property), russian.isValid() ? russian : english);
        switchLanguage("en_US");
        QCOMPARE(probe(page, object, property), english);
    }

    void wizardButtons_data()
    {
        addRows<int, QString>({"button", "source"},
            {{"Back", QWizard::BackButton, "< &Back"}, {"Next", QWizard::NextButton, "&Next >"},
                {"Finish", QWizard::FinishButton, "&Finish"},
                {"Cancel", QWizard::CancelButton, "Cancel"}});
    }

    // Qt's own texts are the host's to translate: when the host installs Qt's Russian translation,
    // the open wizard's buttons turn with the plug-in's texts, and back again.
    void wizardButtons()
    {
        QFETCH(int, button);
        QFETCH(QString, source);
        QVERIFY2(m_open, "no wizard open");
        if (!QFile::exists(qtFolder(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
            QSKIP("Qt's Russian translation is not installed (Debian: qttranslations5-l10n or "
                  "qt6-translations-l10n)");
        QAbstractButton *shown = m_open->wizard->button(QWizard::WizardButton(button));
        QCOMPARE(shown->text(), source);
        // As the demo terminal switches: the locale, then Qt's translation installed.
        QVERIFY(m_language.apply("ru"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(shown->text(), QCoreApplication::translate("QWizard", qPrintable(source)));
        QVERIFY(shown->text() != source);
        QCOMPARE(m_open->wizard->windowTitle(), QString("Платёж Corvex"));
        QVERIFY(m_language.apply("en"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(shown->text(), source);
    }

    // A switch leaves the wizard working as it was: the field being typed in keeps the focus, and
    // Finish hands over the payment typed before the switch.
    void finishAfterSwitch()
    {
        QVERIFY2(onPayment(), "the wizard did not reach the payment page");
        QWidget *typing = m_open->wizard->focusWidget();
        QVERIFY(typing);
        switchLanguage("ru_RU");
        QCOMPARE(m_open->wizard->focusWidget(), typing);
        QVERIFY(Operator::finish(m_open->wizard));
        QCOMPARE(m_open->wizard->result(), int(QDialog::Accepted));
        const Payment payment = m_open->dialog->payment();
        QCOMPARE(payment.account(), QString("7000000001"));
        // 1250.50 paid in: 30.00 commission (1.5 %, at least 30.00), the rest to the account.
        QCOMPARE(payment.summ().value(), 122050LL);
        switchLanguage("en_US");
    }
};

QTEST_MAIN(TestRoads)
#include "tst_roads.moc"
