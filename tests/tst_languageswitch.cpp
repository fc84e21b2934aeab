#include "corvexhandler.h"
#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "corvextranslator.h"
#include "fakehost.h"
#include "formfixtures.h"
#include "icxwizardpage.h"
#include "testutil.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QTextDocumentFragment>
#include <QTranslator>

#include <memory>

namespace {

// What a host does to change language: the default locale first, then a LanguageChange of the
// application (installing or removing the host's own Qt translator sends one).
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

class TestLanguageSwitch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void followsHostLocale_data();
    void followsHostLocale();
    void swapsOnlyOnChange_data();
    void swapsOnlyOnChange();
    void everyPageKind();
    void liveSwitch_data();
    void liveSwitch();
    void wizardButtons_data();
    void wizardButtons();
    void finishAfterSwitch();

private:
    QVariant probe(int pageId, const QString &object, const QString &property) const;

    std::unique_ptr<CorvexHandler> m_handler;
    std::unique_ptr<QWizard> m_wizard;
    AnsweringHost m_service;
};

void TestLanguageSwitch::initTestCase()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
}

void TestLanguageSwitch::cleanupTestCase()
{
    m_wizard.reset();
    m_handler.reset();
    QLocale::setDefault(QLocale::c());
}

// One wizard of the real root object through every page kind, as a customer unknown to the
// service takes it: the template look-up fails with a red line, registration, the bank, a new
// template, the list, and the payment with the operator's input. The tests after this one
// switch language on it.
void TestLanguageSwitch::everyPageKind()
{
    m_handler = std::make_unique<CorvexHandler>();
    m_handler->setMessageSender(&m_service, AnsweringHost::method());
    m_handler->setMessageReciever(&m_service, AnsweringHost::signal());
    Currency rub;
    rub.setNumber3(643);
    rub.setRealMultiplier(100);
    m_wizard.reset(dynamic_cast<QWizard *>(m_handler->start(rub, FixNumber(100, 0LL),
        BoxComProfile(), Fixture::provider({Fixture::field("account", 1)}), nullptr)));
    QVERIFY(m_wizard);
    m_wizard->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard.get()));

    m_service.answers[CorvexFunction::AllTemplates]
        = {QVariantMap {
               {CorvexKey::ErrorCode, 18}, {CorvexKey::Description, "Customer is not registered"}},
            QVariantMap {{CorvexKey::ErrorCode, 0},
                {CorvexKey::TemplateList,
                    QVariantList {QVariantMap {{CorvexKey::CreditType, "Loan"},
                        {CorvexKey::BankName, "Bank"}, {CorvexKey::CreditCode, "CODE0"}}}}}};
    m_service.answers[CorvexFunction::CheckParams] = {QVariantMap {{CorvexKey::ErrorCode, 0},
        {CorvexKey::Bank, "Sber"}, {CorvexKey::Bik, "044525225"}, {CorvexKey::PName1, "Contract"}}};

    QWizard *wizard = m_wizard.get();
    const auto find
        = [wizard](const char *name) { return wizard->currentPage()->findChild<QWidget *>(name); };
    const QList<int> road = {0, 4, 14, 1, 2, 3, 30, 5, 46, 6, 62, 20, 78, 7, 15};
    for (int id : road) {
        QCOMPARE(wizard->currentId(), id);
        switch (id) {
        case 0:
            Operator::click(find("rbRequirementsCodes"));
            break;
        case 4:
            Operator::type(find("lePhone"), "9001234567");
            break;
        case 1:
            Operator::type(find("leLastName"), "Ivanov");
            Operator::type(find("leFirstName"), "Ivan");
            Operator::type(find("leSecondName"), "Ivanovich");
            break;
        case 2: {
            Operator::type(find("leSeries"), "4509");
            auto *type = qobject_cast<QComboBox *>(find("cbDocumentType"));
            type->setFocus();
            QTest::keyClick(type, Qt::Key_Down);
            QTest::keyClick(type, Qt::Key_Down);
            qobject_cast<QDateEdit *>(find("deBirthday"))->setDate(QDate(1980, 5, 17));
            break;
        }
        case 3:
            Operator::type(find("leCountrry"), "Russia");
            Operator::type(find("leCity"), "Moscow");
            break;
        case 5:
            Operator::type(find("leBik"), "044525225");
            break;
        case 6:
            Operator::type(find("Contract"), "A-17");
            break;
        case 7: {
            auto *list = qobject_cast<QAbstractItemView *>(find("lvTemplates"));
            const QModelIndex first = list->model()->index(0, 0);
            QTest::mouseClick(
                list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
            break;
        }
        case 15: {
            QWidget *account = find("account");
            Operator::type(account, "");
            QTest::keyClick(account, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(account, "40817");
            Operator::type(find("sbSumm"), "150");
            return;
        }
        default:
            break;
        }
        QTRY_VERIFY2(wizard->button(QWizard::NextButton)->isEnabled(),
            qPrintable(QStringLiteral("Next stays disabled on page %1").arg(id)));
        QVERIFY(Operator::next(wizard));
    }
}

// A property of a widget of a page (-1: the wizard itself; no name: the page itself). Some
// properties are read the way the operator sees them: "plain:" strips the markup, "buddy" is
// the text of the label that names the widget, "preview" is what a page shows of its request
// on the sender page, "card:N" and "selected" read the template list.
QVariant TestLanguageSwitch::probe(int pageId, const QString &object, const QString &property) const
{
    QWidget *owner = pageId < 0 ? static_cast<QWidget *>(m_wizard.get()) : m_wizard->page(pageId);
    QObject *target = object.isEmpty() ? owner : owner->findChild<QObject *>(object);
    if (!target)
        return QStringLiteral("no widget %1").arg(object);
    if (property.startsWith(QLatin1String("plain:")))
        return plain(target->property(qPrintable(property.mid(6))).toString());
    if (property == QLatin1String("preview"))
        return plain(ICXWizardPage::fromObject(target)->preview());
    if (property == QLatin1String("buddy")) {
        for (const QLabel *label : owner->findChildren<QLabel *>()) {
            if (label->buddy() == target)
                return label->text();
        }
        return QStringLiteral("no label for %1").arg(object);
    }
    if (auto *view = qobject_cast<QAbstractItemView *>(target)) {
        if (property == QLatin1String("selected"))
            return view->selectionModel()->selectedIndexes().value(0).row();
        const int row = property.mid(5).toInt();
        return plain(view->model()->index(row, 0).data().toString());
    }
    return target->property(qPrintable(property));
}

void TestLanguageSwitch::followsHostLocale_data()
{
    addRows<QString, QString, QString>({"locale", "title", "action"},
        {
            {"Russian", "ru_RU", "Платёж Corvex", "Оплата по коду"},
            {"Russian of another country", "ru_UA", "Платёж Corvex", "Оплата по коду"},
            {"English", "en_US", "Corvex payment", "Payment by code"},
            {"German: no translation, the source texts", "de_DE", "Corvex payment",
                "Payment by code"},
            {"C", "C", "Corvex payment", "Payment by code"},
        });
}

// The host's locale when the plug-in's root object is created decides the language; with the
// root object gone, the translation goes too.
void TestLanguageSwitch::followsHostLocale()
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
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
}

void TestLanguageSwitch::swapsOnlyOnChange_data()
{
    addRows<QString, QString, int, bool>({"from", "to", "events", "installed"},
        {
            {"English to English", "en_US", "en_GB", 1, false},
            {"Russian to Russian", "ru_RU", "ru_UA", 1, true},
            {"English to Russian", "en_US", "ru_RU", 2, true},
            {"Russian to English", "ru_RU", "en_US", 2, false},
            {"Russian to German", "ru_RU", "de_DE", 2, false},
        });
}

// The translation is swapped only when the host's language differs, and the swap's own
// LanguageChange is not taken for another switch.
void TestLanguageSwitch::swapsOnlyOnChange()
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
    switchLanguage(QStringLiteral("en_US"));
}

void TestLanguageSwitch::liveSwitch_data()
{
    const QString phone = QStringLiteral("8(900)123-45-67");
    addRows<int, QString, QString, QVariant, QVariant>(
        {"page", "object", "property", "english", "russian"},
        {
            {"wizard title", -1, "", "windowTitle", "Corvex payment", "Платёж Corvex"},
            {"action: subtitle", 0, "", "subTitle", "Select your first action",
                "Выберите действие"},
            {"action: choice", 0, "rbRequirementsCodes", "text", "Request all codes requirements",
                "Найти коды погашения клиента"},
            {"action: choice kept", 0, "rbRequirementsCodes", "checked", true, true},
            {"phone page: title", 4, "", "title", "All templates request",
                "Поиск шаблонов клиента"},
            {"phone page: label", 4, "lPhone", "text", "Mobile phone", "Мобильный телефон"},
            {"phone page: phone kept", 4, "lePhone", "text", phone, phone},
            {"sender: title", 14, "", "title", "Server exchange", "Обмен с сервером"},
            {"sender: error line, the service's text as sent", 14, "lError", "text",
                "<font color=\"red\"><b>Corvex error: </b>Customer is not registered</font>",
                "<font color=\"red\"><b>Ошибка Corvex: </b>Customer is not registered</font>"},
            {"sender: reply shown", 14, "tbData", "plainText",
                "AllTemplatesRequest\nMobile phone: 8(900)123-45-67\nDescription\n"
                "Customer is not registered",
                "Поиск шаблонов\nМобильный телефон: 8(900)123-45-67\nОписание\n"
                "Customer is not registered"},
            {"sender without an error: no line", 30, "lError", "text", "", ""},
            {"base: label", 1, "lLastName", "text", "Last name", "Фамилия"},
            {"base: name kept", 1, "leLastName", "text", "Ivanov", "Ivanov"},
            {"base: phone kept", 1, "lePhone", "text", phone, phone},
            {"documents: label", 2, "lSeries", "text", "Series", "Серия"},
            {"documents: series kept", 2, "leSeries", "text", "4509", "4509"},
            {"documents: type renamed", 2, "cbDocumentType", "currentText", "Foreign passport",
                "Иностранный паспорт"},
            {"documents: type kept", 2, "cbDocumentType", "currentData", 3, 3},
            {"documents: preview, dates in the terminal's language", 2, "", "preview",
                "Registration Mobile phone: 8(900)123-45-67 Full name: Ivanov Ivan Ivanovich "
                "Document: Foreign passport Series / Number: 4509 / Issuer: Issue date: 1/1/00 "
                "Citizenship: Birthday: 5/17/80 Birthplace:",
                "Регистрация клиента Мобильный телефон: 8(900)123-45-67 ФИО: Ivanov Ivan "
                "Ivanovich Документ: Иностранный паспорт Серия / Номер: 4509 / Кем выдан: "
                "Дата выдачи: 01.01.2000 Гражданство: Дата рождения: 17.05.1980 Место рождения:"},
            {"documents: birthday kept", 2, "deBirthday", "date", QDate(1980, 5, 17),
                QDate(1980, 5, 17)},
            {"address: label", 3, "lCountrry", "text", "Countrry", "Страна"},
            {"address: city kept", 3, "leCity", "text", "Moscow", "Moscow"},
            {"BIK: label", 5, "lBIK", "text", "BIK", "БИК"},
            {"BIK: kept", 5, "leBik", "text", "044525225", "044525225"},
            {"template: box", 6, "gbParams", "title", "Template parametres", "Параметры шаблона"},
            {"template: bank lines", 6, "lBank", "plain:text", "Bank: Sber Bik: 044525225",
                "Банк: Sber БИК: 044525225"},
            {"template: parameter kept", 6, "Contract", "text", "A-17", "A-17"},
            {"list: title", 7, "", "title", "Template selection", "Выбор шаблона"},
            {"list: template card", 7, "lvTemplates", "card:0", "Loan: Bank Credit code: CODE0",
                "Loan: Bank Код кредита: CODE0"},
            {"list: new template card", 7, "lvTemplates", "card:1", "Add new",
                "Добавить новый шаблон"},
            {"list: choice kept", 7, "lvTemplates", "selected", 0, 0},
            {"payment: the visit's title", 15, "", "title", "[Corvex]", "[Corvex]"},
            {"payment: the template", 15, "lTemplate", "plain:text",
                "Loan: Bank Credit code: CODE0", "Loan: Bank Код кредита: CODE0"},
            {"payment: basket", 15, "cbBasket", "text", "Add to the basket", "Добавить в корзину"},
            {"payment: summ label", 15, "sbSumm", "buddy", "Summ", "Сумма"},
            {"payment: commission label", 15, "sbComission", "buddy", "Comission", "Комиссия"},
            {"payment: to account label", 15, "sbToAccount", "buddy", "To Account", "К зачислению"},
            {"payment: account kept", 15, "account", "text", "40817", "40817"},
            {"payment: summ kept", 15, "sbSumm", "value", 150.0, 150.0},
        });
}

// The host switches language with the wizard open on its last page: every page turns, and
// nothing the operator typed or chose is lost, there and back.
void TestLanguageSwitch::liveSwitch()
{
    QFETCH(int, page);
    QFETCH(QString, object);
    QFETCH(QString, property);
    QFETCH(QVariant, english);
    QFETCH(QVariant, russian);
    QVERIFY2(m_wizard && m_wizard->currentId() == CorvexPayWizard::PagePayment,
        "the wizard did not reach the payment page");
    QCOMPARE(probe(page, object, property), english);
    switchLanguage(QStringLiteral("ru_RU"));
    QCOMPARE(probe(page, object, property), russian);
    switchLanguage(QStringLiteral("en_US"));
    QCOMPARE(probe(page, object, property), english);
}

void TestLanguageSwitch::wizardButtons_data()
{
    addRows<int, QString>({"button", "source"},
        {
            {"Back", QWizard::BackButton, "< &Back"},
            {"Next", QWizard::NextButton, "&Next >"},
            {"Finish", QWizard::FinishButton, "&Finish"},
            {"Cancel", QWizard::CancelButton, "Cancel"},
        });
}

// Qt's own texts are the host's to translate: when the host installs Qt's Russian translation,
// the open wizard's buttons turn with the plug-in's texts, and back again.
void TestLanguageSwitch::wizardButtons()
{
    QFETCH(int, button);
    QFETCH(QString, source);
    QVERIFY2(m_wizard, "no wizard open");
    QTranslator qt;
    if (!qt.load(QLocale(QStringLiteral("ru_RU")), QStringLiteral("qtbase"), QStringLiteral("_"),
            qtFolder(QLibraryInfo::TranslationsPath)))
        QSKIP("Qt's Russian translation is not installed (Debian: qttranslations5-l10n or "
              "qt6-translations-l10n)");
    QAbstractButton *shown = m_wizard->button(QWizard::WizardButton(button));
    QCOMPARE(shown->text(), source);

    QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
    QVERIFY(QCoreApplication::installTranslator(&qt));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(shown->text(), QCoreApplication::translate("QWizard", qPrintable(source)));
    QVERIFY(shown->text() != source);
    QCOMPARE(m_wizard->windowTitle(), QStringLiteral("Платёж Corvex"));

    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QVERIFY(QCoreApplication::removeTranslator(&qt));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(shown->text(), source);
    QCOMPARE(m_wizard->windowTitle(), QStringLiteral("Corvex payment"));
}

// A switch leaves the wizard working as it was: the field being typed in keeps the focus, and
// Finish hands over the payment typed before the switch.
void TestLanguageSwitch::finishAfterSwitch()
{
    QVERIFY2(m_wizard && m_wizard->currentId() == CorvexPayWizard::PagePayment,
        "the wizard did not reach the payment page");
    QWidget *typing = m_wizard->focusWidget();
    QVERIFY(typing);
    switchLanguage(QStringLiteral("ru_RU"));
    QCOMPARE(m_wizard->focusWidget(), typing);
    QVERIFY(Operator::finish(m_wizard.get()));
    QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
    const Payment payment = dynamic_cast<IPayDialog *>(m_wizard.get())->payment();
    QCOMPARE(payment.account(), QStringLiteral("40817"));
    QCOMPARE(payment.summ().value(), 15000LL);
    switchLanguage(QStringLiteral("en_US"));
}

QTEST_MAIN(TestLanguageSwitch)
#include "tst_languageswitch.moc"
