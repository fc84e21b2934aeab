#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "formfixtures.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListView>

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

using Answers = QMap<QString, QVariantList>;

// The service's side of the host channel: the test answers the wizard's requests through it.
class Service : public QObject
{
    Q_OBJECT

signals:
    void reply(const QVariantMap &headers, const QString &message);
};

class TestWizardRoads : public QObject
{
    Q_OBJECT

private slots:
    void roads_data()
    {
        addRows<QString, Answers, QList<int>, QList<int>, QStringList>(
            {"action", "answers", "rows", "ids", "functions"},
            {
                {"existing customer", "rbRequirementsCodes", {{"listtid", {templates(2)}}}, {0},
                    {0, 4, 14, 7, 15}, {"listtid"}},
                {"new customer", "rbRegistration",
                    {{"listtid", {templates(1)}}, {"check_params", {BANK}}}, {0},
                    {0, 1, 2, 3, 14, 5, 30, 6, 46, 4, 62, 7, 15},
                    {"reg", "check_params", "check", "listtid"}},
                // The second template list offers the new template; the first row now pays it.
                {"add template", "rbRequirementsCodes",
                    {{"listtid", {templates(1), templates(2)}}, {"check_params", {BANK}}}, {1, 0},
                    {0, 4, 14, 7, 5, 30, 6, 46, 20, 62, 23, 15},
                    {"listtid", "check_params", "check", "listtid"}},
                // No template yet (code 19): straight to the bank; a second time round, a second
                // BIK page that must be filled again.
                {"no templates twice", "rbRequirementsCodes",
                    {{"listtid", {code(19), code(19), templates(1)}},
                        {"check_params", {BANK, BANK}}},
                    {0}, {0, 4, 14, 5, 30, 6, 46, 20, 62, 21, 78, 22, 94, 36, 110, 7, 15},
                    {"listtid", "check_params", "check", "listtid", "check_params", "check",
                        "listtid"}},
            });
        for (int unknown : {18, 22, 26, 27, 29}) {
            QTest::addRow("unknown customer, code %d", unknown)
                << QString("rbRequirementsCodes")
                << Answers {{"listtid", {code(unknown), templates(1)}}, {"check_params", {BANK}}}
                << QList<int> {0} << QList<int> {0, 4, 14, 1, 2, 3, 30, 5, 46, 6, 62, 20, 78, 7, 15}
                << QStringList {"listtid", "reg", "check_params", "check", "listtid"};
        }
    }

    // The service answers every request on the next turn of the event loop, echoing its uid,
    // with the "params" queued for its function (a bare success when none is left).
    void roads()
    {
        QFETCH(QString, action);
        QFETCH(Answers, answers);
        QFETCH(QList<int>, rows);
        CorvexPayWizard wizard(QFont(), Fixture::currency(643, "RUB", 100), FixNumber(100, 0));
        wizard.setProvider(Fixture::provider({}));
        Service service;
        wizard.setMessageReciever(&service, SIGNAL(reply(QVariantMap, QString)));
        QStringList functions;
        connect(&wizard, &CorvexPayWizard::sendMessage, &service, [&](QString, QVariant data) {
            const QVariantMap request = data.toMap();
            functions << request.value(CorvexKey::Function).toString();
            QVariantList &queued = answers[functions.last()];
            const QString text = toJson(
                {{CorvexKey::Uid, request.value(CorvexKey::Uid)}, {CorvexKey::Error, false},
                    {CorvexKey::Params, queued.isEmpty() ? code(0) : queued.takeFirst()}});
            QTimer::singleShot(0, &service, [&service, text] { emit service.reply({}, text); });
        });
        QList<int> ids;
        connect(&wizard, &QWizard::currentIdChanged, [&ids](int id) { ids << id; });
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        Operator::click(wizard.currentPage()->findChild<QWidget *>(action));
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
        QTEST(functions, "functions");
    }

private:
    // What an operator does on each page before pressing Next. Pages with mandatory input must
    // block Next until it is given, whichever instance of their kind they are.
    void act(CorvexPayWizard *wizard, QList<int> *rows)
    {
        static const QMap<int, QStringList> typed = {
            {CorvexPayWizard::PageRegistrationBase,
                {"lePhone", "9001234567", "leLastName", "Ivanov", "leFirstName", "Ivan",
                    "leSecondName", "Ivanovich"}},
            {CorvexPayWizard::PagePrepareAllTemplatesRequest, {"lePhone", "9001234567"}},
            {CorvexPayWizard::PageCheckParams, {"leBik", "044525225"}},
            {CorvexPayWizard::PageRegistreTemplate, {"gbParams", "A-17"}},
            {CorvexPayWizard::PageSelectTemplate, {}},
        };
        const int kind = wizard->currentId() % 16;
        // The phone look-up takes the phone from the wizard once a page has taken it.
        if (!typed.contains(kind)
            || (kind == CorvexPayWizard::PagePrepareAllTemplatesRequest
                && !wizard->phone().isEmpty()))
            return;
        QVERIFY(!wizard->button(QWizard::NextButton)->isEnabled());
        QWizardPage *page = wizard->currentPage();
        const QStringList fields = typed.value(kind);
        for (int i = 0; i < fields.size(); i += 2) {
            auto *edit = page->findChild<QLineEdit *>(fields[i]);
            if (!edit) // the template's one parameter, in its box
                edit = page->findChild<QWidget *>(fields[i])->findChild<QLineEdit *>();
            edit->setCursorPosition(0);
            Operator::type(edit, fields[i + 1]);
        }
        if (kind == CorvexPayWizard::PageSelectTemplate) {
            auto *list = page->findChild<QListView *>("lvTemplates");
            // Row 0 picks the first template, 1 the "Add new" row after the templates.
            const int row = rows->isEmpty() ? 0 : rows->takeFirst();
            const QModelIndex index
                = list->model()->index(row * (list->model()->rowCount() - 1), 0);
            list->scrollTo(index);
            QTest::mouseClick(
                list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        }
    }
};

QTEST_MAIN(TestWizardRoads)
#include "tst_wizardroads.moc"
