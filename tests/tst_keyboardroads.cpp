// An operator without a mouse: each road through the built plug-in module by keys alone, with
// the payment the clicking operator gets; and the keys that were missing on the way.
#include "corvexpaywizard.h"
#include "cxwpselecttemplate.h"
#include "demoprocess.h"
#include "fakehost.h"
#include "testutil.h"

#include <QApplication>
#include <QListView>

#include <memory>

namespace {

QString printed(const QString &output, const QString &head)
{
    const QRegularExpression line("^" + head + "\\s+(.*)$", QRegularExpression::MultilineOption);
    QStringList values;
    for (auto it = line.globalMatch(output); it.hasNext();)
        values << it.next().captured(1);
    return values.join(" | ");
}

// The payment record as the terminal printed it, but for the moment it was made.
QJsonObject payment(const QString &output)
{
    const int start = output.indexOf("Payment:\n");
    QJsonObject record = start < 0
        ? QJsonObject()
        : QJsonDocument::fromJson(output.mid(start + 9).toUtf8()).object();
    record.remove("created");
    return record;
}

QString focusName()
{
    const QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return "nothing";
    return focus->objectName().isEmpty() ? focus->metaObject()->className() : focus->objectName();
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

} // namespace

class TestKeyboardRoads : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roads_data();
    void roads();
    void actionBySpace_data();
    void actionBySpace();
    void templateRowByKeys_data();
    void templateRowByKeys();
    void paymentTabOrder();
    void enterFromAnyInput_data();
    void enterFromAnyInput();

private:
    RunResult drive(const QString &road, bool keyboard);
    std::unique_ptr<CorvexPayWizard> listWizard(FakeHost *host);
    QTemporaryDir m_dir;
    QString m_data;
};

void TestKeyboardRoads::initTestCase()
{
    QLoggingCategory::setFilterRules("corvex.exchange.debug=false");
    QVERIFY(m_dir.isValid());
    m_data = serviceFile(m_dir, 20);
}

RunResult TestKeyboardRoads::drive(const QString &road, bool keyboard)
{
    QStringList arguments
        = {"--road", road, "--plugin", CORVEX_PLUGIN_PATH, "--service-data", m_data};
    if (keyboard)
        arguments << "--keyboard";
    return runProgram(CORVEX_ROADS_PROGRAM, arguments, {{"CORVEX_REPLY_TIMEOUT", "10"}});
}

// Each page is entered with the focus on its first input (the sender page on its reply, the
// payment page on the form's first field), and the road ends with the clicking road's payment.
void TestKeyboardRoads::roads_data()
{
    const QString phone = "4 lePhone", list = "lvTemplates";
    addRows<QString, QString>({"road", "focus"},
        {{"code", "code", "0 rbRegistration | 15 account"},
            {"template", "template",
                "0 rbRegistration | " + phone + " | 14 tbData | 7 " + list + " | 15 account"},
            {"new customer", "new-customer",
                "0 rbRegistration | 1 lePhone | 2 cbDocumentType | 3 leCountrry | 14 tbData | 5 "
                "leBik | 30 tbData | 6 lePhone | 46 tbData | 4 lePhone | 62 tbData | 7 "
                    + list + " | 15 account"},
            {"add template", "add-template",
                "0 rbRegistration | " + phone + " | 14 tbData | 7 " + list
                    + " | 5 leBik | 30 tbData | 6 lePhone | 46 tbData | 20 lePhone | 62 tbData | "
                      "23 "
                    + list + " | 15 account"}});
}

void TestKeyboardRoads::roads()
{
    QFETCH(QString, road);
    const RunResult clicked = drive(road, false);
    QVERIFY2(clicked.exitCode == 0, qPrintable(clicked.out + clicked.err));
    const RunResult keyed = drive(road, true);
    QVERIFY2(keyed.finished, qPrintable(keyed.out + keyed.err));
    QVERIFY2(keyed.exitCode == 0, qPrintable(keyed.out + keyed.err));

    QCOMPARE(printed(keyed.out, "road"), road + ", by keyboard");
    QTEST(printed(keyed.out, "focus"), "focus");
    QCOMPARE(printed(keyed.out, "pages"), printed(clicked.out, "pages"));
    QVERIFY(!payment(keyed.out).isEmpty());
    QCOMPARE(payment(keyed.out), payment(clicked.out));
}

// The choices are one Tab stop, the first has the focus; the arrow keys move to the others
// without choosing, Space chooses, and Enter goes on to the chosen page.
void TestKeyboardRoads::actionBySpace_data()
{
    addRows<QString, int, int>({"choice", "downs", "next"},
        {{"registration", "rbRegistration", 0, CorvexPayWizard::PageRegistrationBase},
            {"templates", "rbRequirementsCodes", 1,
                CorvexPayWizard::PagePrepareAllTemplatesRequest},
            {"code", "rbPaymentByCode", 2, CorvexPayWizard::PagePayment}});
}

void TestKeyboardRoads::actionBySpace()
{
    QFETCH(QString, choice);
    QFETCH(int, downs);
    CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
    wizard.show();
    QVERIFY(QTest::qWaitForWindowActive(&wizard, 20000));
    for (int i = 0; i < downs; ++i)
        press(Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget()->objectName(), choice);
    press(Qt::Key_Return);
    QCOMPARE(wizard.currentId(), int(CorvexPayWizard::PageActionSelect));
    press(Qt::Key_Space);
    QVERIFY(wizard.currentPage()->isComplete());
    press(Qt::Key_Return);
    QTEST(wizard.currentId(), "next");
}

// A wizard on the template list of a reply with two templates, entered by keys.
std::unique_ptr<CorvexPayWizard> TestKeyboardRoads::listWizard(FakeHost *host)
{
    auto wizard = std::make_unique<CorvexPayWizard>(QFont(), Currency(), FixNumber());
    wizard->setMessageSender(host, FakeHost::method());
    wizard->setMessageReciever(host, FakeHost::signal());
    wizard->setPhone("9001234567");
    wizard->setStartId(CorvexPayWizard::PagePrepareAllTemplatesRequest);
    wizard->show();
    if (!QTest::qWaitForWindowActive(wizard.get(), 20000))
        return nullptr;
    press(Qt::Key_Return);
    emit host->reply({},
        QString("{\"uid\": %1, \"error\": false, \"params\": {\"errorCode\": 0, \"templateList\": "
                "[{\"creditCode\": \"A\"}, {\"creditCode\": \"B\"}]}}")
            .arg(host->requests.value(0).value("uid").toString()));
    press(Qt::Key_Return);
    return wizard;
}

// Arrow keys move; Enter or Space on a row chooses it, as a click does, without leaving the
// page; Enter on the chosen row goes on.
void TestKeyboardRoads::templateRowByKeys_data()
{
    addRows<QList<int>, int, int>({"keys", "chosen", "next"},
        {{"arrows only", {Qt::Key_Down, Qt::Key_Down}, -1, -1},
            {"enter", {Qt::Key_Down, Qt::Key_Return}, 1, -1},
            {"space", {Qt::Key_Down, Qt::Key_Space}, 1, -1},
            {"enter twice", {Qt::Key_Return, Qt::Key_Return}, 0, CorvexPayWizard::PagePayment},
            {"space, enter", {Qt::Key_End, Qt::Key_Space, Qt::Key_Return}, 2,
                CorvexPayWizard::PageCheckParams},
            {"another row, enter", {Qt::Key_Space, Qt::Key_Down, Qt::Key_Return}, 1, -1}});
}

void TestKeyboardRoads::templateRowByKeys()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, chosen);
    QFETCH(int, next);
    FakeHost host;
    const auto wizard = listWizard(&host);
    QVERIFY(wizard);
    QCOMPARE(wizard->currentId(), int(CorvexPayWizard::PageSelectTemplate));
    auto *list = wizard->currentPage()->findChild<QListView *>("lvTemplates");
    QCOMPARE(QApplication::focusWidget(), list);
    for (int key : keys)
        press(key);
    if (next >= 0) {
        QCOMPARE(wizard->currentId(), next);
        return;
    }
    QCOMPARE(wizard->currentId(), int(CorvexPayWizard::PageSelectTemplate));
    QCOMPARE(wizard->currentPage()->isComplete(), chosen >= 0);
    const QModelIndexList shown = list->selectionModel()->selectedIndexes();
    QCOMPARE(shown.isEmpty() ? -1 : shown.first().row(), chosen);
}

// On the payment page Tab goes down the form, then to the basket box below it, and only then to
// the wizard's buttons.
void TestKeyboardRoads::paymentTabOrder()
{
    CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
    ProviderParameter account;
    account.setName("account");
    account.setLabel("Code");
    account.setPos(1);
    Provider provider;
    provider.setParameters({account});
    wizard.setProvider(provider);
    wizard.setStartId(CorvexPayWizard::PagePayment);
    wizard.show();
    QVERIFY(QTest::qWaitForWindowActive(&wizard, 20000));
    QStringList path;
    for (int i = 0; i < 6; ++i) {
        path << focusName();
        press(Qt::Key_Tab);
    }
    QCOMPARE(path,
        QStringList(
            {"account", "sbSumm", "sbComission", "sbToAccount", "cbBasket", "qt_wizard_cancel"}));
}

// No kind of input keeps Enter to itself: from each, Enter is the wizard's Next.
void TestKeyboardRoads::enterFromAnyInput_data()
{
    QTest::addColumn<QString>("input");
    for (const char *input : {"cbDocumentType", "leSeries", "deIssueDate", "cbSkipAddress"})
        QTest::newRow(input) << input;
}

void TestKeyboardRoads::enterFromAnyInput()
{
    QFETCH(QString, input);
    CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
    wizard.setStartId(CorvexPayWizard::PageRegistrationDocuments);
    wizard.show();
    QVERIFY(QTest::qWaitForWindowActive(&wizard, 20000));
    for (int i = 0; i < 20 && focusName() != input; ++i)
        press(Qt::Key_Tab);
    QCOMPARE(focusName(), input);
    press(Qt::Key_Return);
    QCOMPARE(wizard.currentId(), int(CorvexPayWizard::PageRegistrationAddress));
}

QTEST_MAIN(TestKeyboardRoads)
#include "tst_keyboardroads.moc"
