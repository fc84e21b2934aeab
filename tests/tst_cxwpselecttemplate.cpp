#include "corvexpaywizard.h"
#include "cxpaytemplatesmodel.h"
#include "cxwpselecttemplate.h"
#include "fakehost.h"
#include "testutil.h"

#include <QElapsedTimer>
#include <QListView>
#include <QTextDocumentFragment>
#include <QtTest>

#include <memory>

// A wizard walked from the template request through the sender page, whose reply carries the
// given "templateList" (JSON text; none when empty), onto the selection page unless told not to.
struct Selection
{
    explicit Selection(const QString &templateList, bool enterList = true)
        : host(new FakeHost)
        , wizard(new CorvexPayWizard(QFont(), Currency(), FixNumber()))
    {
        wizard->setMessageSender(host.get(), FakeHost::method());
        wizard->setMessageReciever(host.get(), FakeHost::signal());
        wizard->setPhone("9001234567");
        wizard->setStartId(CorvexPayWizard::PagePrepareAllTemplatesRequest);
        wizard->show();
        Operator::next(wizard.get());
        const QString list = templateList.isEmpty() ? "" : ", \"templateList\": " + templateList;
        emit host->reply({},
            QString("{\"uid\": %1, \"error\": false, \"params\": {\"errorCode\": 0, \"phone\": "
                    "\"9001234567\", \"fullName\": \"Ivanov <Ivan>\"%2}}")
                .arg(host->requests.value(0).value("uid").toString(), list));
        if (enterList)
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
        view->scrollTo(model->index(row, 0));
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, {}, view->visualRect(model->index(row, 0)).center());
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
                         "\"%1\", \"addInfo\": {\"Contract\": \"C-%1\"}}")
                     .arg(i);
    return "[" + items.join(", ") + "]";
}

class TestCXWPSelectTemplate : public QObject
{
    Q_OBJECT

private slots:
    // The sender page logs every reply; the long ones would flood the output.
    void initTestCase() { QLoggingCategory::setFilterRules("corvex.exchange.debug=false"); }

    void rows_data()
    {
        addRows<QString, QStringList, int>({"templateList", "codes", "warnings"},
            {{"empty", "[]", {}, 0}, {"missing", "", {}, 0},
                {"three", templates(3), {"0", "1", "2"}, 0}, {"text", "\"[{}]\"", {}, 1},
                {"object", "{\"creditCode\": \"1\"}", {}, 1}, {"number", "5", {}, 1},
                {"not objects", "[1, \"x\", {\"creditCode\": \"7\"}, [{}], null, {}]", {"7", ""},
                    4}});
    }
    // Only entries that are objects become rows; the last row is always "Add new", which leads
    // to the bank check. Only a click chooses and highlights a row, never the keys.
    void rows()
    {
        QFETCH(QString, templateList);
        QFETCH(QStringList, codes);
        QFETCH(int, warnings);
        for (int i = 0; i < warnings; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Template"));
        Selection s(templateList);
        QStringList shown;
        for (int row = 0; row + 1 < s.model->rowCount(); ++row)
            shown << s.model->requestCode(row);
        QCOMPARE(shown, codes);
        const QString last = s.model->index(codes.size(), 0).data().toString();
        QCOMPARE(QTextDocumentFragment::fromHtml(last).toPlainText(), QString("Add new"));

        s.view->setFocus();
        QTest::keyClick(s.view, Qt::Key_Down);
        QTest::keyClick(s.view, Qt::Key_Down);
        QCOMPARE(s.view->currentIndex().row(), qMin(1, codes.size()));
        QVERIFY(!s.page->isComplete());
        QVERIFY(s.view->selectionModel()->selectedIndexes().isEmpty());
        s.click(codes.size());
        QTest::keyClick(s.view, Qt::Key_Up);
        QCOMPARE(s.view->selectionModel()->selectedIndexes(), {s.model->index(codes.size(), 0)});
        QCOMPARE(s.page->additionalData(), QVariantMap());
        QVERIFY(Operator::next(s.wizard.get()));
        QCOMPARE(s.wizard->currentId(), 5);
        // Back and forth again: the list is read anew and nothing is chosen.
        s.wizard->back();
        s.wizard->back();
        Operator::next(s.wizard.get());
        QVERIFY(!s.page->isComplete());
    }

    // Further details as label and value, in the order they are shown.
    void chosen_data()
    {
        addRows<QString, QString, QStringList>({"addInfo", "code", "details"},
            {{"B then A", "{\"B\": \"2\", \"phone\": \"555\", \"A <x>\": \"1 & <i>\"}", "<i>12",
                 {"A <x>", "1 & <i>", "B", "2", "phone", "555"}},
                {"empty", "{}", "12", {}}, {"text", "\"A: 1\"", "12", {}},
                {"list", "[{\"A\": 1}]", "12", {}}, {"number", "5", "12", {}},
                {"no code", "{}", "", {}}});
    }
    // The chosen template, as the payment page reads it: service texts are escaped in the rich
    // text and kept as they are in the plain text and the additional data.
    void chosen()
    {
        QFETCH(QString, addInfo);
        QFETCH(QString, code);
        QFETCH(QStringList, details);
        const QString item = "{\"creditType\": \"<i>Loan\", \"bankName\": \"Sber <b>\", "
            + (code.isEmpty() ? "" : "\"creditCode\": \"" + code + "\", ")
            + "\"addInfo\": " + addInfo + "}";
        Selection s("[{\"creditCode\": \"x\"}, " + item + ", {}]");
        s.click(1);
        QVERIFY(Operator::next(s.wizard.get()));
        QCOMPARE(s.wizard->currentId(), 15);
        QCOMPARE(s.page->requestCode(), code);

        // A rich text table shows each label and value on lines of their own.
        QString cells;
        QString plain = "<i>Loan: Sber <b>\nCredit code: " + code;
        QMultiMap<QString, QVariant> added;
        for (int i = 0; i < details.size(); i += 2) {
            cells += "\n" + details[i] + "\n" + details[i + 1];
            plain += "\n\t" + details[i] + " " + details[i + 1];
            added.insert(details[i], details[i + 1]);
        }
        cells += details.isEmpty() ? "" : "\n";
        const auto shown = [](const QString &html) {
            return QTextDocumentFragment::fromHtml(html).toPlainText();
        };
        QCOMPARE(shown(s.page->description()), "<i>Loan: Sber <b>\nCredit code: " + code + cells);
        QCOMPARE(s.model->index(1, 0).data().toString(), s.page->description());
        QCOMPARE(shown(s.page->info()), cells);
        QCOMPARE(s.page->plainDescription(), plain);

        // The details join the template's fields and the customer's, whose own phone a reader of
        // single values gets first.
        QMultiMap<QString, QVariant> printable {
            {"phone", "9001234567"}, {"fullName", "Ivanov <Ivan>"}};
        QMultiMap<QString, QVariant> corvex {
            {"creditType", "<i>Loan"}, {"bankName", "Sber <b>"}, {"creditCode", code}};
        corvex.unite(added).unite(printable);
        printable.unite(added);
        const QVariantMap data = s.page->additionalData();
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        QCOMPARE(data,
            (QVariantMap {{"corvex", QVariantMap(corvex)},
                { "detailsForPrint",
                    QVariantMap(printable) }}));
#else
        // One value per key: the one a reader of single values gets from the multi-map.
        QCOMPARE(data.keys(), QStringList({"corvex", "detailsForPrint"}));
        for (const auto &[name, multi] : {std::pair(QString("corvex"), corvex),
                 std::pair(QString("detailsForPrint"), printable)}) {
            const QVariantMap single = data.value(name).toMap();
            QCOMPARE(single.keys(), multi.uniqueKeys());
            for (const QString &key : single.keys())
                QCOMPARE(single.value(key), multi.value(key));
        }
#endif
        QCOMPARE(data.value("corvex").toMap().value("phone"), QVariant("9001234567"));
    }

    // A card shows every text of its template bounded, with a note of what was left out, and is
    // laid out within moments whatever the service sent.
    void boundedCard_data()
    {
        QStringList details;
        for (int i = 0; i < 60; ++i)
            details << QString("\"D%1\": \"%1\"").arg(i, 2, 10, QChar('0'));
        addRows<QString, QString, int, QString>({"item", "text", "shown", "note"},
            {{"long bank", QString("{\"bankName\": \"%1\"}").arg(QString(1000000, 'z')), "z", 500,
                 "999500 more characters not shown"},
                {"long detail", QString("{\"addInfo\": {\"%1\": 1}}").arg(QString(100000, 'z')),
                    "z", 500, "99500 more characters not shown"},
                {"NUL", "{\"bankName\": \"Sber\\u0000Bank\"}", "Bank", 1,
                    QString("Sber%1Bank").arg(QChar(0xFFFD))},
                {"many details", "{\"addInfo\": {" + details.join(", ") + "}}", "D", 50,
                    "(10 more details not shown)"}});
    }
    void boundedCard()
    {
        QFETCH(QString, item);
        QElapsedTimer clock;
        clock.start();
        Selection s("[" + item + "]");
        QTRY_VERIFY(s.view->visualRect(s.model->index(1, 0)).isValid());
        QCoreApplication::processEvents();
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        const QString card
            = QTextDocumentFragment::fromHtml(s.model->index(0, 0).data().toString()).toPlainText();
        QFETCH(QString, text);
        QTEST(int(card.count(text)), "shown");
        QFETCH(QString, note);
        QVERIFY2(card.contains(note), qPrintable(card.right(100)));
    }

    // A long list shows its first cards at once and is laid out to its end without holding the
    // event loop for long, so the screen stays live meanwhile; then, left alone, it does not
    // keep painting itself.
    void manyTemplates()
    {
        Selection s(templates(5000), false);
        PaintSpy counter;
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
        QTRY_VERIFY_WITH_TIMEOUT(!counter.painted.isEmpty(), 5000);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(s.view->visualRect(s.model->index(5000, 0)).isValid(), 30000);
        QVERIFY2(longestPause < 1000, qPrintable(QString::number(longestPause)));
        counter.painted.clear();
        QTest::qWait(1000);
        QVERIFY2(counter.painted.size() <= 2, qPrintable(QString::number(counter.painted.size())));
        s.click(4999);
        QCOMPARE(s.page->requestCode(), QString("4999"));
    }
};

QTEST_MAIN(TestCXWPSelectTemplate)
#include "tst_cxwpselecttemplate.moc"
