#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QTimer>

// The service's side of the host channel: answers every request on the next turn of the event
// loop, echoing its uid, with the "params" queued for its function.
class ServiceStub : public QObject
{
    Q_OBJECT

public:
    static const char *method() { return SLOT(deliver(QString, QVariant)); }
    static const char *signal() { return SIGNAL(reply(QVariantMap, QString)); }

    QMap<QString, QVariantList> answers;
    QStringList functions;

public slots:
    void deliver(const QString &, const QVariant &data)
    {
        const QVariantMap request = data.toMap();
        const QString function = request.value(CorvexKey::Function).toString();
        functions << function;
        QVariantMap params {{CorvexKey::ErrorCode, 0}};
        if (!answers.value(function).isEmpty())
            params = answers[function].takeFirst().toMap();
        const QVariantMap reply {{CorvexKey::Uid, request.value(CorvexKey::Uid)},
            {CorvexKey::Error, false}, {CorvexKey::Params, params}};
        const QString text = QString::fromUtf8(
            QJsonDocument(QJsonObject::fromVariantMap(reply)).toJson(QJsonDocument::Compact));
        QTimer::singleShot(0, this, [this, text] { emit this->reply({}, text); });
    }

signals:
    void reply(const QVariantMap &headers, const QString &message);
};

static QVariantMap code(int errorCode)
{
    return {{CorvexKey::ErrorCode, errorCode}};
}

static QVariantMap templates(int count)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list << QVariantMap {{CorvexKey::CreditType, "Loan"}, {CorvexKey::BankName, "Bank"},
            {CorvexKey::CreditCode, QString("CODE%1").arg(i)}};
    return {{CorvexKey::ErrorCode, 0}, {CorvexKey::TemplateList, list},
        {CorvexKey::Phone, "9001234567"}, {CorvexKey::FullName, "Ivanov Ivan"}};
}

static const QVariantMap BANK {{CorvexKey::ErrorCode, 0}, {CorvexKey::Bank, "Sber"},
    {CorvexKey::Bik, "044525225"}, {CorvexKey::PName1, "Contract"}, {CorvexKey::PName2, "***"}};

class TestWizardRoads : public QObject
{
    Q_OBJECT

private slots:
    void roads_data();
    void roads();

private:
    void act(CorvexPayWizard *wizard, QList<int> *rows);
};

void TestWizardRoads::roads_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QVariantMap>("answers");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QStringList>("functions");

    QTest::newRow("existing customer")
        << "rbRequirementsCodes" << QVariantMap {{"listtid", QVariantList {templates(2)}}}
        << QList<int> {0} << QList<int> {0, 4, 14, 7, 15} << QStringList {"listtid"};
    for (int unknown : {18, 22, 26, 27, 29}) {
        QTest::addRow("unknown customer, code %d", unknown)
            << "rbRequirementsCodes"
            << QVariantMap {{"listtid", QVariantList {code(unknown), templates(1)}},
                   {"check_params", QVariantList {BANK}}}
            << QList<int> {0} << QList<int> {0, 4, 14, 1, 2, 3, 30, 5, 46, 6, 62, 20, 78, 7, 15}
            << QStringList {"listtid", "reg", "check_params", "check", "listtid"};
    }
    QTest::newRow("new customer") << "rbRegistration"
                                  << QVariantMap {{"listtid", QVariantList {templates(1)}},
                                         {"check_params", QVariantList {BANK}}}
                                  << QList<int> {0}
                                  << QList<int> {0, 1, 2, 3, 14, 5, 30, 6, 46, 4, 62, 7, 15}
                                  << QStringList {"reg", "check_params", "check", "listtid"};
    // The second template list offers the new template; the first row now pays it.
    QTest::newRow("add template") << "rbRequirementsCodes"
                                  << QVariantMap {{"listtid",
                                                      QVariantList {templates(1), templates(2)}},
                                         {"check_params", QVariantList {BANK}}}
                                  << QList<int> {1, 0}
                                  << QList<int> {0, 4, 14, 7, 5, 30, 6, 46, 20, 62, 23, 15}
                                  << QStringList {"listtid", "check_params", "check", "listtid"};
    // No template yet (code 19): straight to the bank; a second time round, a second BIK page
    // that must be filled again.
    QTest::newRow("no templates twice")
        << "rbRequirementsCodes"
        << QVariantMap {{"listtid", QVariantList {code(19), code(19), templates(1)}},
               {"check_params", QVariantList {BANK, BANK}}}
        << QList<int> {0}
        << QList<int> {0, 4, 14, 5, 30, 6, 46, 20, 62, 21, 78, 22, 94, 36, 110, 7, 15}
        << QStringList {
               "listtid", "check_params", "check", "listtid", "check_params", "check", "listtid"};
}

void TestWizardRoads::roads()
{
    QFETCH(QString, action);
    QFETCH(QVariantMap, answers);
    QFETCH(QList<int>, rows);
    ServiceStub service;
    for (auto it = answers.cbegin(); it != answers.cend(); ++it)
        service.answers[it.key()] = it.value().toList();
    Currency rub;
    rub.setNumber3(643);
    rub.setRealMultiplier(100);
    CorvexPayWizard wizard(QFont(), rub, FixNumber(100, 0));
    Provider provider;
    provider.setId(1586);
    wizard.setProvider(provider);
    wizard.setMessageSender(&service, ServiceStub::method());
    wizard.setMessageReciever(&service, ServiceStub::signal());
    QList<int> ids;
    connect(&wizard, &QWizard::currentIdChanged, [&ids](int id) { ids << id; });
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));

    auto *choice = wizard.currentPage()->findChild<QRadioButton *>(action);
    QVERIFY(choice);
    Operator::click(choice);
    while (wizard.currentId() != CorvexPayWizard::PagePayment && ids.size() < 40) {
        const int before = wizard.currentId();
        act(&wizard, &rows);
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY2(wizard.button(QWizard::NextButton)->isEnabled(),
            qPrintable(QString("stuck on %1").arg(before)));
        QVERIFY(Operator::next(&wizard));
    }
    QTEST(ids, "ids");
    QTEST(service.functions, "functions");
}

// What an operator does on each page before pressing Next. Pages with mandatory input must
// block Next until it is given, whichever instance of their kind they are.
void TestWizardRoads::act(CorvexPayWizard *wizard, QList<int> *rows)
{
    QWizardPage *page = wizard->currentPage();
    const auto blocked = [wizard] { return !wizard->button(QWizard::NextButton)->isEnabled(); };
    const auto type = [page](const char *name, const QString &text) {
        auto *edit = page->findChild<QLineEdit *>(name);
        QVERIFY2(edit, name);
        edit->setCursorPosition(0);
        Operator::type(edit, text);
    };
    switch (wizard->currentId() % 16) {
    case CorvexPayWizard::PageRegistrationBase:
        QVERIFY(blocked());
        type("lePhone", "9001234567");
        type("leLastName", "Ivanov");
        type("leFirstName", "Ivan");
        type("leSecondName", "Ivanovich");
        break;
    case CorvexPayWizard::PageRegistrationAddress:
        type("leCountrry", "Russia");
        type("leCity", "Moscow");
        type("leHouse", "1");
        break;
    case CorvexPayWizard::PagePrepareAllTemplatesRequest:
        // The phone comes from the wizard once a page has taken it.
        if (wizard->phone().isEmpty()) {
            QVERIFY(blocked());
            type("lePhone", "9001234567");
        }
        break;
    case CorvexPayWizard::PageCheckParams:
        QVERIFY(blocked());
        type("leBik", "044525225");
        break;
    case CorvexPayWizard::PageRegistreTemplate: {
        const QList<QLineEdit *> params
            = page->findChild<QWidget *>("gbParams")->findChildren<QLineEdit *>();
        QCOMPARE(params.size(), 1);
        QVERIFY(blocked());
        Operator::type(params.first(), "A-17");
        break;
    }
    case CorvexPayWizard::PageSelectTemplate: {
        QVERIFY(blocked());
        auto *list = page->findChild<QListView *>("lvTemplates");
        const int templates = list->model()->rowCount() - 1;
        const int row = rows->isEmpty() ? 0 : rows->takeFirst();
        // 0 picks the first template, 1 the "Add new" row after the templates.
        const QModelIndex index = list->model()->index(row == 1 ? templates : 0, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        break;
    }
    default:
        break;
    }
}

QTEST_MAIN(TestWizardRoads)
#include "tst_wizardroads.moc"
