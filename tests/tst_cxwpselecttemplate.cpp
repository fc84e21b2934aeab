#include "corvexpaywizard.h"
#include "cxpaytemplatesmodel.h"
#include "cxwpselecttemplate.h"
#include "fakehost.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QListView>
#include <QTextDocumentFragment>
#include <QtTest>

#include <memory>

// Stands in for the template request page: describes a fixed "listtid" request.
class RequestPage : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit RequestPage(QWizard *wizard)
        : QWizardPage(wizard)
    {
        m_request.setType(CorvexRequest::AllTemplatesRequest);
        m_request.setFunction("listtid");
        m_request.setUid(123);
        m_request.setData({{"phone", "9001234567"}});
    }
    int nextId() const override
    {
        return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
    }
    QString preview() const override { return QString(); }
    CorvexRequest outputData() const override { return m_request; }

private:
    CorvexRequest m_request;
};

// Counts the paints of a widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// A wizard walked as an operator does, from the action page through the template request and
// the sender page, which gets the given "templateList" (JSON text; none when empty) in its
// reply, to the selection page (or, when asked, up to the step onto it).
struct Selection
{
    explicit Selection(const QString &templateList, bool enterSelection = true)
        : host(new FakeHost)
        , wizard(new CorvexPayWizard(QFont(), Currency(), FixNumber()))
    {
        wizard->setMessageSender(host.get(), FakeHost::method());
        wizard->setMessageReciever(host.get(), FakeHost::signal());
        wizard->removePage(CorvexPayWizard::PagePrepareAllTemplatesRequest);
        wizard->setPage(
            CorvexPayWizard::PagePrepareAllTemplatesRequest, new RequestPage(wizard.get()));
        wizard->show();
        auto *radio = wizard->currentPage()->findChild<QAbstractButton *>("rbRequirementsCodes");
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
        Operator::next(wizard.get());
        Operator::next(wizard.get());
        const QString list
            = templateList.isEmpty() ? QString() : ", \"templateList\": " + templateList;
        emit host->reply({},
            "{\"uid\": 123, \"error\": false, \"params\": {\"errorCode\": 0, \"phone\": "
            "\"9001234567\", \"fullName\": \"Ivanov <Ivan>\""
                + list + "}}");
        if (enterSelection)
            enter();
    }

    void enter()
    {
        Operator::next(wizard.get());
        page = qobject_cast<CXWPSelectTemplate *>(wizard->currentPage());
        view = page->findChild<QListView *>("lvTemplates");
        model = qobject_cast<CXPayTemplatesModel *>(view->model());
    }

    void click(int row)
    {
        const QModelIndex index = model->index(row, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

    std::unique_ptr<FakeHost> host;
    std::unique_ptr<CorvexPayWizard> wizard;
    CXWPSelectTemplate *page = nullptr;
    QListView *view = nullptr;
    CXPayTemplatesModel *model = nullptr;
};

static QString templates(int count)
{
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QString("{\"creditType\": \"Loan\", \"bankName\": \"Bank %1\", \"creditCode\": "
                         "\"%1\", \"addInfo\": {\"Contract\": \"C-%1\", \"Due\": \"%2\"}}")
                     .arg(i)
                     .arg(i % 28 + 1);
    return "[" + items.join(", ") + "]";
}

static const QString HEAD = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                            "charset=UTF-8\"></head><body>";

class TestCXWPSelectTemplate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rows_data();
    void rows();
    void details_data();
    void details();
    void additionalData_data();
    void additionalData();
    void keyboardDoesNotSelect();
    void idleListDoesNotRepaint();
    void manyTemplates();
};

void TestCXWPSelectTemplate::initTestCase()
{
    // The sender page logs every reply; the long ones would flood the output.
    QLoggingCategory::setFilterRules("corvex.exchange.debug=false");
}

void TestCXWPSelectTemplate::rows_data()
{
    QTest::addColumn<QString>("templateList");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<int>("warnings");
    QTest::newRow("empty") << "[]" << QStringList() << 0;
    QTest::newRow("missing") << "" << QStringList() << 0;
    QTest::newRow("three") << templates(3) << QStringList {"0", "1", "2"} << 0;
    QTest::newRow("text") << "\"[{}]\"" << QStringList() << 1;
    QTest::newRow("object") << "{\"creditCode\": \"1\"}" << QStringList() << 1;
    QTest::newRow("number") << "5" << QStringList() << 1;
    QTest::newRow("not objects") << "[1, \"x\", {\"creditCode\": \"7\"}, [{}], null, {}]"
                                 << QStringList {"7", ""} << 4;
}

// Only entries that are objects become rows; the last row is always "Add new", which leads to
// the bank check.
void TestCXWPSelectTemplate::rows()
{
    QFETCH(QString, templateList);
    QFETCH(QStringList, codes);
    QFETCH(int, warnings);
    for (int i = 0; i < warnings; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Template"));
    Selection s(templateList);
    QCOMPARE(s.wizard->currentId(), 7);
    QCOMPARE(s.model->rowCount(), codes.size() + 1);
    QStringList shown;
    for (int row = 0; row < codes.size(); ++row)
        shown << s.model->requestCode(row);
    QCOMPARE(shown, codes);
    QCOMPARE(QTextDocumentFragment::fromHtml(s.model->index(codes.size(), 0).data().toString())
                 .toPlainText(),
        QString("Add new"));
    QVERIFY(!s.page->isComplete());

    s.click(codes.size());
    QVERIFY(s.page->isComplete());
    QCOMPARE(s.page->requestCode(), QString());
    QVERIFY(Operator::next(s.wizard.get()));
    QCOMPARE(s.wizard->currentId(), 5);

    // Back and forth again: the list is read anew and nothing is chosen.
    s.wizard->back();
    s.wizard->back();
    Operator::next(s.wizard.get());
    QVERIFY(!s.page->isComplete());
}

void TestCXWPSelectTemplate::details_data()
{
    QTest::addColumn<QString>("addInfo");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("plain");
    const QString heading = HEAD
        + "\n<h3 align=\"center\"><b>Loan &amp; more: </b>Sber &lt;b&gt;</h3>"
          "\n<div align=\"center\"><b>Credit code: </b>%1</div>";
    const QString plain = "Loan & more: Sber <b>\nCredit code: %1";
    const QString tail = "\n</body></html>";
    QTest::newRow("B then A") << "{\"B\": \"2\", \"A <x>\": \"1 & <i>\"}"
                              << "12<3>"
                              << heading.arg("12&lt;3&gt;")
            + "\n<table align=\"center\" width = \"80%\">"
              "\n<tr><td>A &lt;x&gt;</td><td>1 &amp; &lt;i&gt;</td></tr>"
              "\n<tr><td>B</td><td>2</td></tr>\n</table>"
            + tail
                              << HEAD
            + "<table align=\"left\" width = \"80%\">"
              "\n<tr><th align=\"left\">A &lt;x&gt;</th><td>1 &amp; &lt;i&gt;</td></tr>"
              "\n<tr><th align=\"left\">B</th><td>2</td></tr>\n</table></body></html>"
                              << plain.arg("12<3>") + "\n\tA <x> 1 & <i>\n\tB 2";
    QTest::newRow("empty") << "{}"
                           << "12" << heading.arg("12") + tail << "" << plain.arg("12");
    QTest::newRow("text") << "\"A: 1\""
                          << "12" << heading.arg("12") + tail << "" << plain.arg("12");
    QTest::newRow("list") << "[{\"A\": 1}]"
                          << "12" << heading.arg("12") + tail << "" << plain.arg("12");
    QTest::newRow("number") << "5"
                            << "12" << heading.arg("12") + tail << "" << plain.arg("12");
    QTest::newRow("no code") << "{}"
                             << "" << heading.arg("") + tail << "" << plain.arg("");
}

// The chosen template's card, details and code, as the payment page reads them: service texts
// are escaped in the rich text and kept as they are in the plain text.
void TestCXWPSelectTemplate::details()
{
    QFETCH(QString, addInfo);
    QFETCH(QString, code);
    QFETCH(QString, card);
    QFETCH(QString, info);
    QFETCH(QString, plain);
    const QString item = "{\"creditType\": \"Loan & more\", \"bankName\": \"Sber <b>\", "
        + (code.isEmpty() ? QString() : QString("\"creditCode\": \"%1\", ").arg(code))
        + "\"addInfo\": " + addInfo + "}";
    Selection s(QString("[%1, %1]").arg(item));
    s.click(1);
    QVERIFY(s.page->isComplete());
    QCOMPARE(s.page->requestCode(), code);
    QCOMPARE(s.page->description(), card);
    QCOMPARE(s.model->index(1, 0).data().toString(), card);
    QCOMPARE(s.page->info(), info);
    QCOMPARE(s.page->plainDescription(), plain);
    QVERIFY(Operator::next(s.wizard.get()));
    QCOMPARE(s.wizard->currentId(), 15);
}

void TestCXWPSelectTemplate::additionalData_data()
{
    QTest::addColumn<QString>("addInfo");
    QTest::addColumn<int>("row");
    QTest::addColumn<QVariantMap>("corvex");
    QTest::addColumn<QVariantMap>("printable");
    const QMultiMap<QString, QVariant> fields {{"creditType", "Loan"}, {"bankName", "Sber <b>"},
        {"creditCode", 12}, {"phone", "9001234567"}, {"fullName", "Ivanov <Ivan>"}};
    const QMultiMap<QString, QVariant> customer {
        {"phone", "9001234567"}, {"fullName", "Ivanov <Ivan>"}};
    const auto with
        = [](QMultiMap<QString, QVariant> map, const QMultiMap<QString, QVariant> &more) {
              return QVariantMap(map.unite(more));
          };
    QTest::newRow("details") << "{\"B\": \"2\", \"A\": \"<1>\"}" << 0
                             << with(fields, {{"A", "<1>"}, {"B", "2"}})
                             << with(customer, {{"A", "<1>"}, {"B", "2"}});
    QTest::newRow("none") << "{}" << 0 << QVariantMap(fields) << QVariantMap(customer);
    // A detail that repeats a name keeps both values; the customer's own is read first.
    QTest::newRow("repeated") << "{\"phone\": \"555\", \"bankName\": \"Alfa\"}" << 0
                              << QVariantMap(QMultiMap<QString, QVariant> {{"creditType", "Loan"},
                                     {"bankName", "Sber <b>"}, {"creditCode", 12},
                                     {"bankName", "Alfa"}, {"phone", "555"},
                                     {"phone", "9001234567"}, {"fullName", "Ivanov <Ivan>"}})
                              << with(customer, {{"phone", "555"}, {"bankName", "Alfa"}});
    QTest::newRow("add new") << "{}" << 1 << QVariantMap() << QVariantMap();
}

void TestCXWPSelectTemplate::additionalData()
{
    QFETCH(QString, addInfo);
    QFETCH(int, row);
    QFETCH(QVariantMap, corvex);
    QFETCH(QVariantMap, printable);
    Selection s("[{\"creditType\": \"Loan\", \"bankName\": \"Sber <b>\", \"creditCode\": 12, "
                "\"addInfo\": "
        + addInfo + "}]");
    s.click(row);
    const QVariantMap data = s.page->additionalData();
    QCOMPARE(data.value("corvex").toMap(), corvex);
    QCOMPARE(data.value("detailsForPrint").toMap(), printable);
    QCOMPARE(data.size(), corvex.isEmpty() ? 0 : 2);
    QCOMPARE(data.value("corvex").toMap().value("phone").toString(),
        corvex.isEmpty() ? QString() : QString("9001234567"));
}

// Moving through the list with the keys neither chooses nor highlights a row; a click does.
void TestCXWPSelectTemplate::keyboardDoesNotSelect()
{
    Selection s(templates(3));
    s.view->setFocus();
    QTest::keyClick(s.view, Qt::Key_Down);
    QTest::keyClick(s.view, Qt::Key_Down);
    QCOMPARE(s.view->currentIndex().row(), 1);
    QVERIFY(!s.page->isComplete());
    QVERIFY(!s.wizard->button(QWizard::NextButton)->isEnabled());
    QVERIFY(s.view->selectionModel()->selectedIndexes().isEmpty());

    s.click(2);
    QTest::keyClick(s.view, Qt::Key_Up);
    QCOMPARE(s.page->requestCode(), QString("2"));
    QCOMPARE(s.view->selectionModel()->selectedIndexes(), {s.model->index(2, 0)});
    QVERIFY(s.wizard->button(QWizard::NextButton)->isEnabled());

    QEvent event(QEvent::LanguageChange);
    s.page->setTitle("changed");
    QCoreApplication::sendEvent(s.page, &event);
    QCOMPARE(s.page->title(), QString("Template selection"));
}

// A list that is shown and left alone does not keep painting itself.
void TestCXWPSelectTemplate::idleListDoesNotRepaint()
{
    Selection s(templates(3));
    QVERIFY(QTest::qWaitForWindowExposed(s.wizard.get()));
    PaintCounter counter;
    s.view->viewport()->installEventFilter(&counter);
    s.view->viewport()->update();
    QTRY_VERIFY(counter.paints > 0);
    counter.paints = 0;
    QTest::qWait(1000);
    QVERIFY2(counter.paints <= 2, qPrintable(QString::number(counter.paints)));
}

// A long list shows its first cards at once and is laid out to its end without holding the
// event loop for long, so the screen stays live meanwhile.
void TestCXWPSelectTemplate::manyTemplates()
{
    Selection s(templates(5000), false);
    PaintCounter counter;
    s.wizard->page(7)->findChild<QListView *>()->viewport()->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    s.enter();
    qint64 longestPause = clock.elapsed();
    qint64 lastTick = longestPause;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] {
        longestPause = qMax(longestPause, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
    });
    ticker.start(5);
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 5000);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY_WITH_TIMEOUT(s.view->visualRect(s.model->index(5000, 0)).isValid(), 30000);
    QVERIFY2(longestPause < 1000, qPrintable(QString::number(longestPause)));
    s.click(4999);
    QCOMPARE(s.page->requestCode(), QString("4999"));
}

QTEST_MAIN(TestCXWPSelectTemplate)
#include "tst_cxwpselecttemplate.moc"
