#include "corvexpaywizard.h"
#include "cxphonewidget.h"
#include "cxwpregistrationaddress.h"
#include "cxwpregistrationdocuments.h"
#include "fakehost.h"
#include "testutil.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <memory>

static const char *const BASE_EDITS[] = {"lePhone", "leLastName", "leFirstName", "leSecondName"};
// A tab in a date edit moves on to its next section: two reach the year.
static const char *const DOCUMENT_EDITS[] = {"leSeries", "leNumber", "leIssuer", "leBirthplace",
    "leCitizenship", "deIssueDate", "deBirthday"};
static const char *const ADDRESS_EDITS[] = {"leCountrry", "leRegion", "leDistrict", "leCity",
    "leStreet", "leHouse", "leBuilding", "leApartment"};

// A page that leads to the base page, so that a walk enters that kind a second time.
struct RoutePage : QWizardPage
{
    using QWizardPage::QWizardPage;
    int nextId() const override
    {
        return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageRegistrationBase);
    }
};

// The compact JSON text of the given JSON objects merged into one, later keys winning.
static QString merged(const QStringList &objects)
{
    QVariantMap map;
    for (const QString &object : objects)
        map.insert(QJsonDocument::fromJson(object.toUtf8()).object().toVariantMap());
    return toJson(map);
}

// A payment wizard on a fake host, walked by an operator from the action page to the
// registration; unless told otherwise, the base page is filled with a valid phone and a name.
struct Registration
{
    explicit Registration(bool filled = true)
    {
        Currency rub;
        rub.setNumber3(643);
        wizard.reset(new CorvexPayWizard(QFont("Sans", 13), rub, FixNumber()));
        wizard->setMessageSender(host.get(), FakeHost::method());
        wizard->setMessageReciever(host.get(), FakeHost::signal());
        wizard->resize(640, 480);
        wizard->show();
        Operator::click(input("rbRegistration"));
        next();
        if (filled)
            typeInto(BASE_EDITS, {"9123456789", "Ivanov", "Ivan", "Ivanovich"});
    }

    template<typename T = QWidget> T *input(const char *name) const
    {
        return wizard->currentPage()->findChild<T *>(name);
    }
    bool next() const { return Operator::next(wizard.get()); }
    bool nextEnabled() const { return wizard->button(QWizard::NextButton)->isEnabled(); }
    void typeInto(const char *const *names, const QStringList &texts) const
    {
        for (int i = 0; i < texts.size(); ++i)
            Operator::type(input(names[i]), texts.at(i));
    }
    // Picks the document type at the given index, then types into the document edits.
    void fillDocuments(int type, const QStringList &texts) const
    {
        auto *box = input<QComboBox>("cbDocumentType");
        box->setFocus(Qt::MouseFocusReason);
        while (box->currentIndex() < type)
            QTest::keyClick(box, Qt::Key_Down);
        typeInto(DOCUMENT_EDITS, texts);
    }

    std::unique_ptr<FakeHost> host {new FakeHost};
    std::unique_ptr<CorvexPayWizard> wizard;
};

class TestCXWPRegistration : public QObject
{
    Q_OBJECT

private slots:
    void roads_data()
    {
        // Boxes the operator clicks: "d" skip documents and "a" skip address on the base page,
        // "A" skip address on the documents page; years typed into the issue date and the
        // birthday, where a future year is refused. The request as the host receives it,
        // without the uid; JSON shows the kind of each value.
        const QString base
            = R"({"currencyId":643,"firstName":"Ivan","function":"reg",)"
              R"("lastName":"Ivanov","phone":"9123456789","secondName":"Ivanovich"})";
        const QString docs
            = R"({"birthday":"2000-01-01","birthplace":"Moscow","citizenship":"RU",)"
              R"("docIssueDate":"2010-01-01","docIssuer":"OVD","docNumber":"567890",)"
              R"("docSeries":"1234","docType":4})";
        const QString all = merged({base, docs, R"({"address":"Country, , City, 1"})"});
        const QString nextYear = QString::number(QDate::currentDate().year() + 1);
        addRows<QString, QString, QString, QList<int>, QString>(
            {"clicks", "issued", "born", "route", "sent"},
            {
                {"all pages", "", "2010", "", {0, 1, 2, 3, 14}, all},
                {"documents skipped", "d", "", "", {0, 1, 14}, merged({base})},
                {"address skipped on the base page", "a", "2010", "", {0, 1, 2, 14},
                    merged({base, docs})},
                {"address skipped, taken back", "aA", "2010", "", {0, 1, 2, 3, 14}, all},
                {"address skipped on the documents page", "A", "2010", "", {0, 1, 2, 14},
                    merged({base, docs})},
                {"birthday next year", "A", "2010", nextYear, {0, 1, 2, 14}, merged({base, docs})},
                {"issued next year", "A", nextYear, "", {0, 1, 2, 14},
                    merged({base, docs, R"({"docIssueDate":"2000-01-01"})"})},
            });
    }

    // The documents page's "Skip address" starts from the base page's; whichever registration
    // page comes last sends one request with everything entered so far.
    void roads()
    {
        QFETCH(QString, clicks);
        QFETCH(QString, issued);
        QFETCH(QString, born);
        Registration reg;
        if (clicks.contains('d'))
            Operator::click(reg.input("cbSkipDocuments"));
        if (clicks.contains('a'))
            Operator::click(reg.input("cbSkipAddress"));
        QVERIFY(reg.next());
        if (reg.wizard->currentId() == 2) {
            QCOMPARE(reg.input<QCheckBox>("cbSkipAddress")->isChecked(), clicks.contains('a'));
            if (clicks.contains('A'))
                Operator::click(reg.input("cbSkipAddress"));
            reg.fillDocuments(
                3, {"1234", "567890", "OVD", "Moscow", "RU", "\t\t" + issued, "\t\t" + born});
            QVERIFY(reg.next());
        }
        if (reg.wizard->currentId() == 3) {
            reg.typeInto(ADDRESS_EDITS, {"Country", "", "", "City", "", "1"});
            QVERIFY(reg.next());
        }
        QTEST(reg.wizard->visitedIds(), "route");
        QVariantMap sent = reg.host->requests.value(0);
        sent.remove("uid");
        QTEST(toJson(sent), "sent");
    }

    void completeness_data()
    {
        // Keys typed into the phone and the names, comma separated, then text pasted into the
        // phone; the digits the page's request carries.
        addRows<QString, QString, bool, QString>({"typed", "pasted", "complete", "phone"},
            {
                {"all filled", "9123456789,Ivanov,Ivan,Ivanovich", "", true, "9123456789"},
                {"second name empty", "9123456789,Ivanov,Ivan,", "", false, "9123456789"},
                {"names of spaces", "9123456789, ,  ,   ", "", true, "9123456789"},
                {"nine digits", "912345678,Ivanov,Ivan,Ivanovich", "", false, "912345678"},
                {"letters only", "abcdefghij,Ivanov,Ivan,Ivanovich", "", false, ""},
                {"pasted with spaces and +7", ",Ivanov,Ivan,Ivanovich", "+7 912 345 67 89", true,
                    "9123456789"},
            });
    }

    // Next stays disabled until the phone is valid and every name has something in it; only a
    // complete page hands its phone to the wizard.
    void completeness()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(bool, complete);
        QFETCH(QString, phone);
        Registration reg(false);
        reg.typeInto(BASE_EDITS, typed.split(','));
        QApplication::clipboard()->setText(pasted);
        QTest::keySequence(reg.input("lePhone"), QKeySequence::Paste);
        QCOMPARE(reg.nextEnabled(), complete);
        const CorvexRequest request
            = ICXWizardPage::fromObject(reg.wizard->currentPage())->outputData();
        QCOMPARE(request.data().value("phone"), QVariant(phone));
        QCOMPARE(reg.wizard->phone(), complete ? phone : QString());
    }

    void reentry_data()
    {
        // The names typed on the base page entered anew, comma separated.
        addRows<QString, bool>({"names", "complete"},
            {
                {"all names", "Petrov,Petr,Petrovich", true},
                {"no last name", ",Petr,Petrovich", false},
                {"no first name", "Petrov,,Petrovich", false},
                {"no second name", "Petrov,Petr,", false},
            });
    }

    // The wizard follows a digit typed over a complete number and pre-fills the phone of a
    // base page entered anew. That page, a second instance, registers fields of its own, so
    // Next waits for all its names.
    void reentry()
    {
        QFETCH(QString, names);
        Registration reg;
        reg.input<QLineEdit>("lePhone")->setCursorPosition(2);
        QTest::keyClick(reg.input("lePhone"), '5');
        reg.wizard->removePage(2);
        reg.wizard->setPage(2, new RoutePage(reg.wizard.get()));
        QVERIFY(reg.next());
        QVERIFY(reg.next());
        QCOMPARE(reg.wizard->currentId(), 17);
        QCOMPARE(reg.input<CXPhoneWidget>("wPhone")->phone(), QString("5123456789"));
        reg.typeInto(BASE_EDITS, ("," + names).split(','));
        QTEST(reg.nextEnabled(), "complete");
    }

    // Each page's preview starts with the one before it; what the operator typed is shown as it
    // was typed, whatever markup or placeholders it holds, and is sent unchanged. A language
    // change keeps the typed series and number with their bullet masks.
    void previews()
    {
        Registration reg(false);
        reg.typeInto(BASE_EDITS, {"9123456789", "<b>%1</b>", "%2 & Co", "<i>%3"});
        QVERIFY(reg.next());
        reg.fillDocuments(1, {"12<%1>", "34", "<a href=x>%1", "%1<br>", "&lt;%2"});
        QEvent event(QEvent::LanguageChange);
        QCoreApplication::sendEvent(reg.wizard->currentPage(), &event);
        const QString bullets(25, QChar(0x2022));
        QCOMPARE(reg.input<QLineEdit>("leSeries")->displayText()
                + reg.input<QLineEdit>("leNumber")->displayText(),
            "121" + bullets.left(7) + "34" + bullets.left(18));
        QVERIFY(reg.next());
        reg.typeInto(ADDRESS_EDITS, {"<C>%1", "%2", "%3\"", "%4 City", "'%1'", "<1>", "%5", "%6"});
        const QString date = QLocale::system().toString(QDate(2000, 1, 1), QLocale::ShortFormat);
        QCOMPARE(ICXWizardPage::fromObject(reg.wizard->currentPage())->preview(),
            "<h3 align=\"center\">Registration</h3><p><b>Mobile phone: </b>8(912)345-67-89</p>"
            "<p><b>Full name: </b>&lt;b&gt;%1&lt;/b&gt; %2 &amp; Co &lt;i&gt;%3</p>"
            "<p><b>Document: </b>Not passport</p><p><b>Series / Number: </b>121 / 34</p>"
            "<p><b>Issuer: </b>&lt;a href=x&gt;%1</p><p><b>Issue date: </b>"
                + date + "</p><p><b>Citizenship: </b>&amp;lt;%2</p><p><b>Birthday: </b>" + date
                + "</p><p><b>Birthplace: </b>%1&lt;br&gt;</p><p><b>Address: </b>"
                  "&lt;C&gt;%1, %2, %3&quot;, %4 City, '%1', &lt;1&gt;, %5, %6</p>");
        QVERIFY(reg.next());
        QCOMPARE(reg.host->requests.value(0).value("lastName"), QVariant("<b>%1</b>"));
    }

    void pageAlone_data()
    {
        // The data of the page's request; empty address parts keep their places.
        addRows<int, QString>({"kind", "data"},
            {
                {"documents", CorvexPayWizard::PageRegistrationDocuments,
                    R"({"birthday":"2000-01-01","birthplace":"","citizenship":"",)"
                    R"("docIssueDate":"2000-01-01","docIssuer":"","docNumber":"",)"
                    R"("docSeries":"","docType":1})"},
                {"address", CorvexPayWizard::PageRegistrationAddress, R"({"address":", , , "})"},
            });
    }

    // Entered first, a page has nothing to build on: its request holds only its own keys and
    // its preview only its own lines.
    void pageAlone()
    {
        QFETCH(int, kind);
        QWizard wizard;
        QWizardPage *page = kind == CorvexPayWizard::PageRegistrationDocuments
            ? static_cast<QWizardPage *>(new CXWPRegistrationDocuments(&wizard))
            : new CXWPRegistrationAddress(&wizard);
        wizard.setPage(kind, page);
        wizard.show();
        QTEST(toJson(ICXWizardPage::fromObject(page)->outputData().data()), "data");
        QVERIFY(ICXWizardPage::fromObject(page)->preview().startsWith("<p><b>"));
    }

    // At the wizard's size every label and check box on the three pages shows its whole text.
    void labelsFit()
    {
        Registration reg;
        do {
            QApplication::processEvents();
            for (QWidget *w : reg.wizard->currentPage()->findChildren<QWidget *>())
                if (qobject_cast<QLabel *>(w) || qobject_cast<QCheckBox *>(w))
                    QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
        } while (reg.next() && reg.wizard->currentId() != 14);
    }
};

QTEST_MAIN(TestCXWPRegistration)
#include "tst_cxwpregistration.moc"
