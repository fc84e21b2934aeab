#include "corvexpaywizard.h"
#include "cxphonewidget.h"
#include "cxwpmsgsender.h"
#include "cxwpregistrationaddress.h"
#include "cxwpregistrationbase.h"
#include "cxwpregistrationdocuments.h"
#include "fakehost.h"
#include "testutil.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

// A page that leads to a fixed page kind, so that a walk can enter a kind a second time.
struct RoutePage : QWizardPage
{
    RoutePage(QWizard *wizard, CorvexPayWizard::EPages kind)
        : QWizardPage(wizard)
        , kind(kind)
    { }
    int nextId() const override { return CorvexPayWizard::pageIdFor(wizard(), kind); }
    const CorvexPayWizard::EPages kind;
};

// A payment wizard on a fake host, walked by an operator from the action page to the
// registration.
struct Registration
{
    Registration()
        : host(new FakeHost)
    {
        Currency rub;
        rub.setNumber3(643);
        wizard.reset(new CorvexPayWizard(QFont("Sans", 13), rub, FixNumber()));
        BoxInfo info;
        info.setBoxId(77);
        wizard->setInfo(info);
        wizard->setMessageSender(host.get(), FakeHost::method());
        wizard->setMessageReciever(host.get(), FakeHost::signal());
        wizard->resize(640, 480);
        wizard->show();
        // A radio button takes clicks on its indicator and text only.
        auto *registration = wizard->currentPage()->findChild<QWidget *>("rbRegistration");
        QTest::mouseClick(registration, Qt::LeftButton, {}, QPoint(8, registration->height() / 2));
        Operator::next(wizard.get());
    }

    template<typename T = QWidget> T *input(const char *name) const
    {
        return wizard->currentPage()->findChild<T *>(name);
    }
    void type(const char *name, const QString &text) const { Operator::type(input(name), text); }
    // A check box, like a radio button, takes clicks on its indicator and text only.
    void check(const char *name) const
    {
        QWidget *box = input(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    void typePhone(const QString &keys) const
    {
        auto *edit = input<QLineEdit>("lePhone");
        edit->setFocus(Qt::MouseFocusReason);
        edit->setCursorPosition(2);
        QTest::keyClicks(edit, keys);
    }
    void fillBase(const QString &phone = "9123456789", const QString &last = "Ivanov",
        const QString &first = "Ivan", const QString &second = "Ivanovich") const
    {
        typePhone(phone);
        type("leLastName", last);
        type("leFirstName", first);
        type("leSecondName", second);
    }
    void chooseDocument(int index) const
    {
        auto *box = input<QComboBox>("cbDocumentType");
        box->setFocus(Qt::MouseFocusReason);
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
    }
    void fillDocuments() const
    {
        chooseDocument(3);
        type("leSeries", "1234");
        type("leNumber", "567890");
        type("leIssuer", "OVD");
        auto *issued = input<QDateEdit>("deIssueDate");
        issued->setFocus(Qt::MouseFocusReason);
        issued->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(issued, "2010");
        type("leBirthplace", "Moscow");
        type("leCitizenship", "RU");
    }
    void fillAddress(const QStringList &parts) const
    {
        const char *names[] = {"leCountrry", "leRegion", "leDistrict", "leCity", "leStreet",
            "leHouse", "leBuilding", "leApartment"};
        for (int i = 0; i < parts.size(); ++i)
            type(names[i], parts.at(i));
    }
    CXWPMsgSender *sender() const { return qobject_cast<CXWPMsgSender *>(wizard->currentPage()); }
    // The request the host received, without its uid, which changes with every request.
    QString sent() const
    {
        QVariantMap map = host->requests.value(host->requests.size() - 1);
        map.remove("uid");
        return toJson(map);
    }

    std::unique_ptr<FakeHost> host;
    std::unique_ptr<CorvexPayWizard> wizard;
};

static QString shortDate(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

class TestCXWPRegistration : public QObject
{
    Q_OBJECT

private slots:
    void requests_data();
    void requests();
    void flow_data();
    void flow();
    void completeness_data();
    void completeness();
    void phoneHandedOn();
    void secondInstance();
    void address_data();
    void address();
    void previews_data();
    void previews();
    void noPreviousPage_data();
    void noPreviousPage();
    void futureDates_data();
    void futureDates();
    void languageChange();
    void labelsFit();
};

void TestCXWPRegistration::requests_data()
{
    // The maps as the host receives them, without the uid; JSON shows the kind of each value.
    addRows<int, QString>({"pages", "sent"},
        {
            {"skip documents", 1,
                R"({"currencyId":643,"firstName":"Ivan","function":"reg","lastName":"Ivanov",)"
                R"("phone":"9123456789","secondName":"Ivanovich"})"},
            {"skip address", 2,
                R"({"birthday":"2000-01-01","birthplace":"Moscow","citizenship":"RU",)"
                R"("currencyId":643,"docIssueDate":"2010-01-01","docIssuer":"OVD",)"
                R"("docNumber":"567890","docSeries":"1234","docType":4,"firstName":"Ivan",)"
                R"("function":"reg","lastName":"Ivanov","phone":"9123456789",)"
                R"("secondName":"Ivanovich"})"},
            {"all pages", 3,
                R"({"address":"Country, , City, 1","birthday":"2000-01-01",)"
                R"("birthplace":"Moscow","citizenship":"RU","currencyId":643,)"
                R"("docIssueDate":"2010-01-01","docIssuer":"OVD","docNumber":"567890",)"
                R"("docSeries":"1234","docType":4,"firstName":"Ivan","function":"reg",)"
                R"("lastName":"Ivanov","phone":"9123456789","secondName":"Ivanovich"})"},
        });
}

// Whichever registration page comes last sends one request with everything entered so far.
void TestCXWPRegistration::requests()
{
    QFETCH(int, pages);
    Registration reg;
    reg.fillBase();
    if (pages == 1)
        reg.check("cbSkipDocuments");
    else if (pages == 2)
        reg.check("cbSkipAddress");
    QVERIFY(Operator::next(reg.wizard.get()));
    if (pages >= 2) {
        reg.fillDocuments();
        QVERIFY(Operator::next(reg.wizard.get()));
    }
    if (pages == 3) {
        reg.fillAddress({"Country", "", "", "City", "", "1"});
        QVERIFY(Operator::next(reg.wizard.get()));
    }
    QCOMPARE(reg.wizard->currentId(), 14);
    QTEST(reg.sent(), "sent");
    QVERIFY(reg.sender());
    const CorvexRequest request = reg.sender()->request();
    QCOMPARE(request.type(), CorvexRequest::RegistrationRequest);
    QCOMPARE(reg.host->requests.last().value("uid"), QVariant(QString::number(request.uid())));
    // Every input of the pages passed takes the wizard's input font.
    for (int id : reg.wizard->visitedIds().mid(1, pages)) {
        for (QWidget *input : reg.wizard->page(id)->findChildren<QWidget *>(
                 QRegularExpression("^(le|de|cb)(?!Skip)")))
            QVERIFY2(input->font().pointSize() == 13, qPrintable(input->objectName()));
    }
}

void TestCXWPRegistration::flow_data()
{
    // Boxes the operator clicks: "d" skip documents and "a" skip address on the base page,
    // "A" skip address on the documents page.
    addRows<QString, bool, QList<int>>({"clicks", "arrivesChecked", "route"},
        {
            {"all pages", "", false, {0, 1, 2, 3, 14}},
            {"documents skipped", "d", false, {0, 1, 14}},
            {"address skipped on the base page", "a", true, {0, 1, 2, 14}},
            {"address skipped, taken back", "aA", true, {0, 1, 2, 3, 14}},
            {"address skipped on the documents page", "A", false, {0, 1, 2, 14}},
        });
}

void TestCXWPRegistration::flow()
{
    QFETCH(QString, clicks);
    Registration reg;
    reg.fillBase();
    if (clicks.contains('d')) {
        reg.check("cbSkipDocuments");
        QVERIFY(!reg.input("cbSkipAddress")->isEnabled());
    }
    if (clicks.contains('a'))
        reg.check("cbSkipAddress");
    QVERIFY(Operator::next(reg.wizard.get()));
    if (reg.wizard->currentId() == 2) {
        QTEST(reg.input<QCheckBox>("cbSkipAddress")->isChecked(), "arrivesChecked");
        if (clicks.contains('A'))
            reg.check("cbSkipAddress");
    }
    while (reg.wizard->currentId() != 14 && Operator::next(reg.wizard.get())) { }
    QTEST(reg.wizard->visitedIds(), "route");
}

void TestCXWPRegistration::completeness_data()
{
    // Keys typed into the phone, then text pasted into it; the digits its request carries.
    addRows<QString, QString, QStringList, bool, QString>(
        {"keys", "clipboard", "names", "complete", "phone"},
        {
            {"all filled", "9123456789", "", {"Ivanov", "Ivan", "Ivanovich"}, true, "9123456789"},
            {"second name empty", "9123456789", "", {"Ivanov", "Ivan", ""}, false, "9123456789"},
            {"last name empty", "9123456789", "", {"", "Ivan", "Ivanovich"}, false, "9123456789"},
            {"names of spaces", "9123456789", "", {" ", "  ", "   "}, true, "9123456789"},
            {"nine digits", "912345678", "", {"Ivanov", "Ivan", "Ivanovich"}, false, "912345678"},
            {"letters only", "abcdefghij", "", {"Ivanov", "Ivan", "Ivanovich"}, false, ""},
            {"letters between digits", "91a23b4567c89", "", {"Ivanov", "Ivan", "Ivanovich"}, true,
                "9123456789"},
            {"pasted with spaces and +7", "", "+7 912 345 67 89", {"Ivanov", "Ivan", "Ivanovich"},
                true, "9123456789"},
        });
}

// Next stays disabled until the phone is valid and every name has something in it; only a
// complete page hands its phone to the wizard.
void TestCXWPRegistration::completeness()
{
    QFETCH(QString, keys);
    QFETCH(QString, clipboard);
    QFETCH(QStringList, names);
    QFETCH(bool, complete);
    QFETCH(QString, phone);
    Registration reg;
    QVERIFY(!reg.wizard->button(QWizard::NextButton)->isEnabled());
    reg.typePhone(keys);
    if (!clipboard.isEmpty()) {
        QApplication::clipboard()->setText(clipboard);
        QTest::keySequence(reg.input("lePhone"), QKeySequence::Paste);
    }
    reg.fillBase("", names.at(0), names.at(1), names.at(2));
    auto *page = qobject_cast<CXWPRegistrationBase *>(reg.wizard->currentPage());
    QCOMPARE(page->isComplete(), complete);
    QCOMPARE(reg.wizard->button(QWizard::NextButton)->isEnabled(), complete);
    QCOMPARE(page->outputData().data().value("phone"), QVariant(phone));
    QCOMPARE(reg.wizard->phone(), complete ? phone : QString());
}

// The wizard keeps the number of the complete page, also when a digit is typed over it, and the
// page shows it again when it is entered anew.
void TestCXWPRegistration::phoneHandedOn()
{
    Registration reg;
    reg.fillBase();
    QCOMPARE(reg.wizard->phone(), QString("9123456789"));
    auto *edit = reg.input<QLineEdit>("lePhone");
    edit->setCursorPosition(2);
    QTest::keyClick(edit, '5');
    QCOMPARE(reg.wizard->phone(), QString("5123456789"));

    reg.wizard->back();
    QVERIFY(Operator::next(reg.wizard.get()));
    QCOMPARE(reg.input<CXPhoneWidget>("wPhone")->phone(), QString("5123456789"));
    QCOMPARE(reg.input<QLineEdit>("leLastName")->text(), QString());
    QCOMPARE(reg.input<QLineEdit>("leLastName")->font().pointSize(), 13);
    QCOMPARE(edit->font().pointSize(), 13);
    QVERIFY(!reg.wizard->button(QWizard::NextButton)->isEnabled());
}

// A base page entered a second time registers fields of its own, so Next waits for its inputs.
void TestCXWPRegistration::secondInstance()
{
    Registration reg;
    reg.wizard->removePage(2);
    reg.wizard->setPage(2, new RoutePage(reg.wizard.get(), CorvexPayWizard::PageRegistrationBase));
    reg.fillBase();
    QVERIFY(Operator::next(reg.wizard.get()));
    QVERIFY(Operator::next(reg.wizard.get()));
    QCOMPARE(reg.wizard->currentId(), 17);
    QVERIFY(qobject_cast<CXWPRegistrationBase *>(reg.wizard->currentPage()));
    QCOMPARE(reg.input<CXPhoneWidget>("wPhone")->phone(), QString("9123456789"));
    QVERIFY(!reg.wizard->button(QWizard::NextButton)->isEnabled());
    reg.type("leLastName", "Petrov");
    reg.type("leFirstName", "Petr");
    QVERIFY(!reg.wizard->button(QWizard::NextButton)->isEnabled());
    reg.type("leSecondName", "Petrovich");
    QVERIFY(reg.wizard->button(QWizard::NextButton)->isEnabled());
    QCOMPARE(reg.wizard->field("registration.base.lastName"), QVariant("Ivanov"));
    QCOMPARE(reg.wizard->field("registration.base.lastName#2"), QVariant("Petrov"));
}

void TestCXWPRegistration::address_data()
{
    addRows<QStringList, QString>({"parts", "address"},
        {
            {"country, city, house", {"Country", "", "", "City", "", "1"}, "Country, , City, 1"},
            {"all empty", {}, ", , , "},
            {"all parts", {"C", "R", "D", "T", "S", "H", "B", "A"}, "C, R, D, T, S, H, B, A"},
            {"optional parts only", {"", "", "D", "", "S", "", "B", "A"}, ", , D, , S, , B, A"},
        });
}

void TestCXWPRegistration::address()
{
    QFETCH(QStringList, parts);
    Registration reg;
    reg.fillBase();
    QVERIFY(Operator::next(reg.wizard.get()));
    QVERIFY(Operator::next(reg.wizard.get()));
    reg.fillAddress(parts);
    auto *page = qobject_cast<CXWPRegistrationAddress *>(reg.wizard->currentPage());
    QTEST(page->prepareAddress(), "address");
    QTEST(page->outputData().data().value("address").toString(), "address");
}

void TestCXWPRegistration::previews_data()
{
    // Last, first and second name, issuer, birthplace, citizenship, then the address parts.
    addRows<QStringList, QStringList>({"entered", "shown"},
        {
            {"plain",
                {"Ivanov", "Ivan", "Ivanovich", "OVD", "Moscow", "RU", "Country", "", "", "City",
                    "", "1"},
                {"Ivanov", "Ivan", "Ivanovich", "OVD", "Moscow", "RU", "Country, , City, 1"}},
            {"markup and placeholders",
                {"<b>%1</b>", "%2 & Co", "<i>%3", "<a href=x>%1", "%1<br>", "&lt;%2", "<C>%1", "%2",
                    "%3\"", "%4 City", "'%1'", "<1>", "%5", "%6"},
                {"&lt;b&gt;%1&lt;/b&gt;", "%2 &amp; Co", "&lt;i&gt;%3", "&lt;a href=x&gt;%1",
                    "%1&lt;br&gt;", "&amp;lt;%2",
                    "&lt;C&gt;%1, %2, %3&quot;, %4 City, '%1', &lt;1&gt;, %5, %6"}},
        });
}

// Each page's preview starts with the one before it; what the operator typed is shown as it
// was typed, whatever markup or placeholders it holds.
void TestCXWPRegistration::previews()
{
    QFETCH(QStringList, entered);
    QFETCH(QStringList, shown);
    Registration reg;
    reg.fillBase("9123456789", entered.at(0), entered.at(1), entered.at(2));
    QVERIFY(Operator::next(reg.wizard.get()));
    reg.chooseDocument(1);
    reg.type("leSeries", "12<%1>");
    reg.type("leNumber", "34");
    reg.type("leIssuer", entered.at(3));
    reg.type("leBirthplace", entered.at(4));
    reg.type("leCitizenship", entered.at(5));
    QVERIFY(Operator::next(reg.wizard.get()));
    reg.fillAddress(entered.mid(6));
    const auto *page = qobject_cast<CXWPRegistrationAddress *>(reg.wizard->currentPage());

    const QString expected = "<h3 align=\"center\">Registration</h3>"
                             "<p><b>Mobile phone: </b>8(912)345-67-89</p>"
                             "<p><b>Full name: </b>"
        + shown.mid(0, 3).join(' ') + "</p>" + "<p><b>Document: </b>Not passport</p>"
        + "<p><b>Series / Number: </b>121 / 34</p>" + "<p><b>Issuer: </b>" + shown.at(3) + "</p>"
        + "<p><b>Issue date: </b>" + shortDate(QDate(2000, 1, 1)) + "</p>"
        + "<p><b>Citizenship: </b>" + shown.at(5) + "</p>" + "<p><b>Birthday: </b>"
        + shortDate(QDate(2000, 1, 1)) + "</p>" + "<p><b>Birthplace: </b>" + shown.at(4) + "</p>"
        + "<p><b>Address: </b>" + shown.at(6) + "</p>";
    QCOMPARE(page->preview(), expected);

    // The request carries the texts as typed.
    QVERIFY(Operator::next(reg.wizard.get()));
    QCOMPARE(reg.host->requests.last().value("lastName"), QVariant(entered.at(0)));
    QCOMPARE(reg.host->requests.last().value("docSeries"), QVariant("121"));
    QVERIFY(reg.sender()->findChild<QTextBrowser *>("tbData")->toPlainText().contains(
        "Full name: " + entered.mid(0, 3).join(' ')));
}

void TestCXWPRegistration::noPreviousPage_data()
{
    addRows<int, QStringList>({"kind", "keys"},
        {
            {"documents", CorvexPayWizard::PageRegistrationDocuments,
                {"birthday", "birthplace", "citizenship", "docIssueDate", "docIssuer", "docNumber",
                    "docSeries", "docType"}},
            {"address", CorvexPayWizard::PageRegistrationAddress, {"address"}},
        });
}

// Entered first, a page has nothing to build on: its request holds only its own keys.
void TestCXWPRegistration::noPreviousPage()
{
    QFETCH(int, kind);
    QFETCH(QStringList, keys);
    QWizard wizard;
    QWizardPage *page = kind == CorvexPayWizard::PageRegistrationDocuments
        ? static_cast<QWizardPage *>(new CXWPRegistrationDocuments(&wizard))
        : new CXWPRegistrationAddress(&wizard);
    wizard.setPage(kind, page);
    wizard.show();
    const CorvexRequest request = ICXWizardPage::fromObject(page)->outputData();
    QCOMPARE(request.function(), QString());
    QCOMPARE(request.type(), CorvexRequest::NoRequest);
    QCOMPARE(request.data().keys(), keys);
    QVERIFY(request.uid() != 0);
    QVERIFY(ICXWizardPage::fromObject(page)->preview().startsWith(
        kind == CorvexPayWizard::PageRegistrationDocuments ? "<p><b>Document: "
                                                           : "<p><b>Address: "));
    QCOMPARE(page->nextId(), kind == CorvexPayWizard::PageRegistrationDocuments ? 3 : 14);
}

void TestCXWPRegistration::futureDates_data()
{
    const int nextYear = QDate::currentDate().year() + 1;
    addRows<QString, QString, QString>({"edit", "year", "key"},
        {
            {"birthday typed", "deBirthday", QString::number(nextYear), "birthday"},
            {"birthday far ahead", "deBirthday", "2999", "birthday"},
            {"issue date typed", "deIssueDate", QString::number(nextYear), "docIssueDate"},
        });
}

// Neither date can lie ahead: a future year is refused as it is typed, the edit steps no
// further than today, and the request carries no date after today.
void TestCXWPRegistration::futureDates()
{
    QFETCH(QString, edit);
    QFETCH(QString, year);
    QFETCH(QString, key);
    Registration reg;
    reg.fillBase();
    reg.check("cbSkipAddress");
    QVERIFY(Operator::next(reg.wizard.get()));
    auto *dateEdit = reg.input<QDateEdit>(edit.toLatin1().constData());
    const QDate before = dateEdit->date();
    dateEdit->setFocus(Qt::MouseFocusReason);
    dateEdit->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(dateEdit, year);
    QCOMPARE(dateEdit->date(), before);

    dateEdit->setDate(QDate::currentDate());
    dateEdit->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClick(dateEdit, Qt::Key_Up);
    QCOMPARE(dateEdit->date(), QDate::currentDate());
    QVERIFY(Operator::next(reg.wizard.get()));
    QCOMPARE(
        reg.host->requests.last().value(key), QVariant(QDate::currentDate().toString(Qt::ISODate)));
}

// A language change re-applies the texts and keeps what was typed, with the bullet masks.
void TestCXWPRegistration::languageChange()
{
    Registration reg;
    reg.fillBase();
    QVERIFY(Operator::next(reg.wizard.get()));
    reg.type("leSeries", "12");
    reg.type("leNumber", "345");
    QEvent event(QEvent::LanguageChange);
    for (int id : {1, 2, 3}) {
        QWizardPage *page = reg.wizard->page(id);
        page->setTitle("changed");
        page->setSubTitle("changed");
        QCoreApplication::sendEvent(page, &event);
        QCOMPARE(page->title(), QString("Registration"));
        QVERIFY(page->subTitle() != "changed");
    }
    QCOMPARE(reg.input<QLineEdit>("leSeries")->text(), QString("12"));
    QCOMPARE(reg.input<QLineEdit>("leSeries")->inputMask(), QString("9000000000;\u2022"));
    QCOMPARE(reg.input<QLineEdit>("leNumber")->displayText(),
        QString("345") + QString(17, QChar(0x2022)));
    QCOMPARE(reg.input<QComboBox>("cbDocumentType")->itemData(3), QVariant(4));
    QCOMPARE(reg.wizard->page(1)->findChild<QLineEdit *>("leLastName")->text(), QString("Ivanov"));
}

// At the wizard's size every label and check box shows its whole text and every input its full
// height. With CORVEX_GRAB_DIR set, each page is also saved there as a picture to look at.
void TestCXWPRegistration::labelsFit()
{
    Registration reg;
    reg.fillBase();
    for (int id : {1, 2, 3}) {
        QCOMPARE(reg.wizard->currentId(), id);
        QApplication::processEvents();
        if (!qEnvironmentVariableIsEmpty("CORVEX_GRAB_DIR"))
            reg.wizard->grab().save(QString("%1/registration-%2.png")
                                        .arg(qEnvironmentVariable("CORVEX_GRAB_DIR"))
                                        .arg(id));
        for (QLabel *label : reg.wizard->currentPage()->findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        for (QCheckBox *box : reg.wizard->currentPage()->findChildren<QCheckBox *>())
            QVERIFY2(box->width() >= box->sizeHint().width(), qPrintable(box->text()));
        // Inputs get their full height (a spin box's inner edit is sized by the spin box).
        for (QWidget *input : reg.wizard->currentPage()->findChildren<QWidget *>()) {
            if ((qobject_cast<QLineEdit *>(input) || qobject_cast<QAbstractSpinBox *>(input)
                    || qobject_cast<QComboBox *>(input))
                && input->objectName() != "qt_spinbox_lineedit")
                QVERIFY2(input->height() >= input->minimumSizeHint().height(),
                    qPrintable(input->objectName()));
        }
        Operator::next(reg.wizard.get());
    }
}

QTEST_MAIN(TestCXWPRegistration)
#include "tst_cxwpregistration.moc"
