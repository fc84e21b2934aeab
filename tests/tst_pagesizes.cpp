#include "corvexhandler.h"
#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "fakehost.h"
#include "formfixtures.h"
#include "testutil.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QScrollBar>
#include <QTranslator>

#include <memory>

namespace {

// The screen of a terminal: every page has to fit it whole.
const QSize SCREEN(1024, 768);

// Long texts as the service sends them: a description of two sentences on two lines.
const QString LONG_DESCRIPTION = QStringLiteral(
    "No customer is registered with this mobile phone number, or the registration has not been "
    "confirmed by the bank yet; register the customer or check the number with the customer.\n"
    "The customer's templates can be looked up again once the registration is complete.");

ProviderParameter labelled(ProviderParameter parameter, const QString &label)
{
    parameter.setLabel(label);
    return parameter;
}

// A payee with ten inputs, as a bank's repayment form has them.
Provider payee()
{
    using namespace Fixture;
    Provider result = provider({
        labelled(field("account", 1, QString(), "0000000000"), "Credit code"),
        labelled(
            choice("paymentKind", 2, {{"Regular payment", "1"}, {"Early repayment", "2"}}, "1"),
            "Payment"),
        labelled(field("contract", 3), "Contract number"),
        labelled(group("payer", 4,
                     {labelled(field("payerLastName", 1), "Last name"),
                         labelled(field("payerFirstName", 2), "First name"),
                         labelled(field("payerSecondName", 3), "Patronymic"),
                         labelled(field("payerDocument", 4, QString(), "00 00 000000"),
                             "Passport series and number"),
                         labelled(field("payerPhone", 5), "Mobile phone of the payer"),
                         labelled(field("payerAddress", 6), "Registered address of the payer")}),
            "Payer"),
        labelled(field("purpose", 5), "Purpose of the payment"),
    });
    result.setName("Corvex: credit repayment");
    return result;
}

QVariantMap card(const QString &type, const QString &bank, const QString &code, int extra)
{
    QVariantMap info {
        {"Contract number", "CC-2021/18834-" + code.right(2)}, {"Monthly payment", "4 250.00"}};
    if (extra)
        info.insert("Purpose", "Repayment of the principal and the interest for the month");
    return {{CorvexKey::CreditType, type}, {CorvexKey::BankName, bank},
        {CorvexKey::CreditCode, code}, {CorvexKey::AddInfo, info}};
}

} // namespace

class TestPageSizes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fits_data();
    void fits();

private:
    void answerRoad();
    void fill(int id);
    QWidget *find(const char *name) const;

    QWizard *m_wizard = nullptr;
    AnsweringHost m_service;
};

void TestPageSizes::initTestCase()
{
    // Every reply reaches every sender page of the wizard; their log lines are no help here.
    QLoggingCategory::setFilterRules(QStringLiteral("corvex.exchange.debug=false"));
}

// Every page a customer unknown to the service passes: the failed look-up, registration, the
// bank, a new template, the list and the payment; in English and in Russian.
void TestPageSizes::fits_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("page");
    const QList<QPair<const char *, int>> pages
        = {{"action", 0}, {"phone", 4}, {"sender: long error line", 14}, {"registration", 1},
            {"documents", 2}, {"address", 3}, {"sender: registration", 30}, {"BIK", 5},
            {"sender: bank", 46}, {"template registration", 6}, {"sender: template", 62},
            {"template list", 7}, {"payment by a template", 15}};
    const QList<QPair<const char *, const char *>> languages = {{"en", "en_US"}, {"ru", "ru_RU"}};
    for (const auto &language : languages) {
        for (const auto &page : pages) {
            QTest::addRow("%s, %s", page.first, language.first)
                << QString::fromLatin1(language.second) << page.second;
        }
    }
}

// The page, with what the operator typed and the service sent, at the terminal's screen size:
// the wizard asks for no more than the screen, no scroll bar shows, every label gets the room
// its text needs inside the window, and the wizard's buttons are on screen.
void TestPageSizes::fits()
{
    QFETCH(QString, locale);
    QFETCH(int, page);

    // The host's language and Qt's own translation of the wizard's buttons, as a host sets them
    // before it creates the plug-in's root object.
    QLocale::setDefault(QLocale(locale));
    QTranslator qt;
    if (qt.load(QLocale(locale), QStringLiteral("qtbase"), QStringLiteral("_"),
            qtFolder(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    CorvexHandler handler;
    handler.setInputFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    handler.setMessageSender(&m_service, AnsweringHost::method());
    handler.setMessageReciever(&m_service, AnsweringHost::signal());
    answerRoad();
    std::unique_ptr<QWizard> wizard(
        dynamic_cast<QWizard *>(handler.start(Fixture::currency(643, "RUB", 100),
            FixNumber(100, 100000LL), Fixture::profile(100, 0, 150, 3000), payee(), nullptr)));
    QVERIFY(wizard);
    m_wizard = wizard.get();
    wizard->resize(SCREEN);
    wizard->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard));

    const QList<int> road = {0, 4, 14, 1, 2, 3, 30, 5, 46, 6, 62, 20, 78, 7, 15};
    for (int id : road) {
        QCOMPARE(wizard->currentId(), id);
        fill(id);
        if (id == page)
            break;
        QTRY_VERIFY2(wizard->button(QWizard::NextButton)->isEnabled(),
            qPrintable(QStringLiteral("Next stays disabled on page %1").arg(id)));
        QVERIFY(Operator::next(m_wizard));
    }
    if (page % 16 == 14)
        QTRY_VERIFY(wizard->button(QWizard::NextButton)->isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QTest::qWait(50);

    const QSize hint = wizard->sizeHint();
    QVERIFY2(hint.width() <= SCREEN.width() && hint.height() <= SCREEN.height(),
        qPrintable(QStringLiteral("size hint %1x%2").arg(hint.width()).arg(hint.height())));
    QCOMPARE(wizard->size(), SCREEN);

    QStringList scrolled;
    for (QAbstractScrollArea *area : wizard->currentPage()->findChildren<QAbstractScrollArea *>()) {
        if (area->isVisible()
            && (area->verticalScrollBar()->isVisible() || area->horizontalScrollBar()->isVisible()))
            scrolled << area->objectName() + " " + area->metaObject()->className();
    }
    QVERIFY2(scrolled.isEmpty(), qPrintable(scrolled.join(QStringLiteral("; "))));

    QStringList cut;
    const QRect window = wizard->rect();
    for (QLabel *label : wizard->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const QSize needed = label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                               : label->sizeHint();
        const QRect place(label->mapTo(m_wizard, QPoint()), label->size());
        if (label->width() < needed.width() || label->height() < needed.height()
            || !window.contains(place)) {
            cut << QStringLiteral("\"%1\": %2x%3 at %4,%5, needs %6x%7")
                       .arg(label->text().left(40))
                       .arg(label->width())
                       .arg(label->height())
                       .arg(place.x())
                       .arg(place.y())
                       .arg(needed.width())
                       .arg(needed.height());
        }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));

    QStringList hidden;
    const bool last = page % 16 == 15;
    for (auto which : {QWizard::BackButton, QWizard::CancelButton,
             last ? QWizard::FinishButton : QWizard::NextButton}) {
        QAbstractButton *button = wizard->button(which);
        const QRect place(button->mapTo(m_wizard, QPoint()), button->size());
        if (!button->isVisible() || !window.contains(place)
            || button->width() < button->sizeHint().width())
            hidden << button->text();
    }
    if (page == 0)
        hidden.removeOne(wizard->button(QWizard::BackButton)->text());
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(QStringLiteral("; "))));

    m_wizard = nullptr;
    wizard.reset();
    QCoreApplication::removeTranslator(&qt);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
}

// The service's answers along the road, with the long texts a real service sends.
void TestPageSizes::answerRoad()
{
    m_service.answers.clear();
    const QVariantList templates = {card("Consumer credit", "AO Alfa-Bank", "4081781001", 1),
        card("Car loan", "PAO Sberbank", "4081781002", 0),
        card("Mortgage", "PAO Bank Otkritie Financial Corporation", "4081781003", 1),
        card("Credit card", "AO Tinkoff Bank", "4081781004", 0)};
    m_service.answers[CorvexFunction::AllTemplates]
        = {QVariantMap {{CorvexKey::ErrorCode, 18}, {CorvexKey::Description, LONG_DESCRIPTION}},
            QVariantMap {{CorvexKey::ErrorCode, 0}, {CorvexKey::TemplateList, templates},
                {CorvexKey::Phone, "9001234567"},
                {CorvexKey::FullName, "Konstantinopolskaya Ekaterina Aleksandrovna"}}};
    m_service.answers[CorvexFunction::Registration] = {QVariantMap {{CorvexKey::ErrorCode, 0},
        {CorvexKey::Description,
            "Registered: Konstantinopolskaya Ekaterina Aleksandrovna\nThe customer may now "
            "register templates of the banks the service works with."}}};
    m_service.answers[CorvexFunction::CheckParams] = {QVariantMap {{CorvexKey::ErrorCode, 0},
        {CorvexKey::Bank, "PAO Bank Otkritie Financial Corporation"}, {CorvexKey::Bik, "044525985"},
        {CorvexKey::Destination, "Repayment of a consumer credit under a contract of the bank"},
        {CorvexKey::PName1, "Contract number"},
        {CorvexKey::PName2, "Last four digits of the card the credit is paid out to"},
        {CorvexKey::PName3, "Date of the contract as printed on its first page"}}};
    m_service.answers[CorvexFunction::RegistreTemplate] = {QVariantMap {{CorvexKey::ErrorCode, 0},
        {CorvexKey::Description, "Template registered: Consumer credit, code 4081781003"}}};
}

// What the operator types and chooses on the page.
void TestPageSizes::fill(int id)
{
    switch (id) {
    case 0:
        Operator::click(find("rbRequirementsCodes"));
        break;
    case 4:
        Operator::type(find("lePhone"), "9001234567");
        break;
    case 1:
        Operator::type(find("leLastName"), "Konstantinopolskaya");
        Operator::type(find("leFirstName"), "Ekaterina");
        Operator::type(find("leSecondName"), "Aleksandrovna");
        break;
    case 2:
        Operator::type(find("leSeries"), "4509");
        Operator::type(find("leNumber"), "123456");
        Operator::type(find("leIssuer"), "Department of the Federal Migration Service of Russia");
        Operator::type(find("leBirthplace"), "Sankt-Peterburg");
        Operator::type(find("leCitizenship"), "Russian Federation");
        break;
    case 3:
        Operator::type(find("leCountrry"), "Russian Federation");
        Operator::type(find("leRegion"), "Moskovskaya oblast");
        Operator::type(find("leCity"), "Sergiev Posad");
        Operator::type(find("leStreet"), "Prospekt Krasnoy Armii");
        Operator::type(find("leHouse"), "212");
        break;
    case 5:
        Operator::type(find("leBik"), "044525985");
        break;
    case 6:
        for (QWidget *edit : find("gbParams")->findChildren<QLineEdit *>())
            Operator::type(edit, "A-17/2023");
        break;
    case 7: {
        auto *list = qobject_cast<QAbstractItemView *>(find("lvTemplates"));
        const QModelIndex first = list->model()->index(0, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
        break;
    }
    case 15:
        Operator::type(find("contract"), "CC-2021/18834");
        Operator::type(find("purpose"), "Regular repayment for the month");
        Operator::type(find("sbSumm"), "4250");
        break;
    default:
        break;
    }
}

QWidget *TestPageSizes::find(const char *name) const
{
    QWidget *found = m_wizard->currentPage()->findChild<QWidget *>(name);
    if (!found)
        qFatal("no widget %s on page %d", name, m_wizard->currentId());
    return found;
}

QTEST_MAIN(TestPageSizes)
#include "tst_pagesizes.moc"
