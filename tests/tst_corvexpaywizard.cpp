#include "corvexpaywizard.h"
#include "fakehost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QtTest>

#include <memory>

// A page that leads to a fixed page kind, so that a test can walk the wizard to any visit.
struct RoutePage : QWizardPage
{
    RoutePage(QWizard *wizard, int kind)
        : QWizardPage(wizard)
        , kind(CorvexPayWizard::EPages(kind))
    { }
    int nextId() const override { return CorvexPayWizard::pageIdFor(wizard(), kind); }
    const CorvexPayWizard::EPages kind;
};

static const QMap<int, QByteArray> PAGE_CLASSES = {{0, "CXWPActionSelect"},
    {1, "CXWPRegistrationBase"}, {2, "CXWPRegistrationDocuments"}, {3, "CXWPRegistrationAddress"},
    {4, "CXWPPrepareAllTemplatesRequest"}, {5, "CXWPCheckParams"}, {6, "CXWPRegistreTemplate"},
    {7, "CXWPSelectTemplate"}, {14, "CXWPMsgSender"}, {15, "CXWPPayment"}};

class TestCorvexPayWizard : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_wizard = std::make_unique<CorvexPayWizard>(QFont(), Currency(), FixNumber()); }
    void pages();
    void hostAnswers();
    void checkAndAddPage_data();
    void checkAndAddPage();
    void uniqueFieldName();
    void execute();

private:
    std::unique_ptr<CorvexPayWizard> m_wizard;
};

void TestCorvexPayWizard::pages()
{
    for (int id : PAGE_CLASSES.keys()) {
        QCOMPARE(m_wizard->page(id)->metaObject()->className(), PAGE_CLASSES[id].constData());
        QVERIFY(m_wizard->page(id)->qt_metacast("ICXWizardPage"));
    }
}

void TestCorvexPayWizard::hostAnswers()
{
    QCOMPARE(m_wizard->windowTitle(), QString("Corvex payment"));
    QCOMPARE(m_wizard->minimumSize(), QSize(480, 320));
    QCOMPARE(m_wizard->providerId(), qint64(-1));
    QCOMPARE(m_wizard->newProviderId(), qint64(-1));
    QVERIFY(!m_wizard->immidiatlyPost());

    Provider provider;
    provider.setId(1586);
    m_wizard->setProvider(provider);
    const QSharedPointer<Provider> shared = m_wizard->provider();
    provider.setId(1587);
    m_wizard->setProvider(provider);
    QCOMPARE(shared->id(), qint64(1586));
    QCOMPARE(m_wizard->newProviderId(), qint64(1587));
    QVERIFY(!m_wizard->needChangeProvider());
    QVERIFY(!m_wizard->setTemplatesConnection(this, SLOT(deleteLater())));

    QVERIFY(!m_wizard->setMessageReciever(nullptr, SIGNAL(destroyed())));
    QVERIFY(!m_wizard->setMessageSender(nullptr, SLOT(deleteLater())));
    // Every call adds a connection: twice delivers every request twice.
    FakeHost host;
    QVERIFY(m_wizard->setMessageSender(&host, FakeHost::method()));
    QVERIFY(m_wizard->setMessageSender(&host, FakeHost::method()));
    emit m_wizard->sendMessage("/app/corvexRequest", QVariant());
    QCOMPARE(host.destinations.count(), 2);

    m_wizard->setWindowTitle("changed");
    QEvent event(QEvent::LanguageChange);
    QApplication::sendEvent(m_wizard.get(), &event);
    QCOMPARE(m_wizard->windowTitle(), QString("Corvex payment"));
}

void TestCorvexPayWizard::checkAndAddPage_data()
{
    QTest::addColumn<QList<int>>("route");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("created");
    QTest::newRow("not visited") << QList<int>() << 5 << 5 << false;
    QTest::newRow("no page kind") << QList<int>() << 9 << 9 << false;
    for (int kind : {1, 2, 3, 4, 5, 6, 7, 14})
        QTest::addRow("visited %d", kind) << QList<int> {kind} << kind << kind + 16 << true;
    QTest::newRow("visited twice") << QList<int> {5, 5} << 5 << 37 << true;
    QTest::newRow("start page") << QList<int> {4} << 0 << 0 << false;
    QTest::newRow("payment page") << QList<int> {15} << 15 << 15 << false;
    QTest::newRow("beyond kinds") << QList<int> {4, 4} << 20 << 36 << false;
}

void TestCorvexPayWizard::checkAndAddPage()
{
    QFETCH(QList<int>, route);
    QFETCH(int, kind);
    QFETCH(int, expected);
    QFETCH(bool, created);
    // Walk 0 -> route[0] -> route[1] ...: the start page and the first visit of each kind on
    // the way lead on to the next kind of the route.
    for (int i = 0; i < route.count(); ++i) {
        const int id = i == 0 ? 0 : route.at(i - 1);
        m_wizard->removePage(id);
        m_wizard->setPage(id, new RoutePage(m_wizard.get(), route.at(i)));
    }
    m_wizard->restart();
    for (int step = 0; step < route.count(); ++step)
        m_wizard->next();
    QCOMPARE(m_wizard->visitedIds().count(), route.count() + 1);

    const int pages = m_wizard->pageIds().count();
    QCOMPARE(m_wizard->checkAndAddPage(CorvexPayWizard::EPages(kind)), expected);
    QCOMPARE(m_wizard->checkAndAddPage(CorvexPayWizard::EPages(kind)), expected);
    QCOMPARE(m_wizard->pageIds().count(), pages + (created ? 1 : 0));
    if (created)
        QCOMPARE(m_wizard->page(expected)->metaObject()->className(), PAGE_CLASSES[kind].data());
}

// What the operator does in the modal wizard: cancel on the first page, or pick "Payment by
// code" and finish on the payment page.
static void operate(QWizard *modal, bool finish)
{
    if (!finish) {
        QTest::mouseClick(modal->button(QWizard::CancelButton), Qt::LeftButton);
        return;
    }
    // A radio button takes clicks on its indicator and label, not across its whole row.
    auto *byCode = modal->currentPage()->findChild<QAbstractButton *>("rbPaymentByCode");
    QTest::mouseClick(byCode, Qt::LeftButton, {}, QPoint(8, byCode->height() / 2));
    QTest::mouseClick(modal->button(QWizard::NextButton), Qt::LeftButton);
    QCOMPARE(modal->currentId(), int(CorvexPayWizard::PagePayment));
    QTest::mouseClick(modal->button(QWizard::FinishButton), Qt::LeftButton);
}

void TestCorvexPayWizard::execute()
{
    // The payment page completes with a provider and an amount: here the 1.00 paid in.
    m_wizard = std::make_unique<CorvexPayWizard>(QFont(), Currency(), FixNumber(100, 100LL));
    Provider provider;
    provider.setId(1586);
    m_wizard->setProvider(provider);
    for (bool finish : {false, true}) {
        QPointer<QWizard> modal;
        QTimer::singleShot(0, this, [&modal, finish] {
            modal = qobject_cast<QWizard *>(QApplication::activeModalWidget());
            if (!modal)
                return;
            operate(modal, finish);
            // A failed step must not leave the modal loop running.
            if (modal->isVisible())
                modal->reject();
        });
        QCOMPARE(m_wizard->execute(), finish);
        QCOMPARE(modal.data(), m_wizard.get());
        QCOMPARE(m_wizard->result(), finish ? int(QDialog::Accepted) : int(QDialog::Rejected));
        m_wizard->restart();
    }
}

void TestCorvexPayWizard::uniqueFieldName()
{
    const QStringList names = {"a.phone*", "a.phone*", "b", "a.phone*", "b"};
    QStringList unique;
    for (const QString &name : names)
        unique << m_wizard->uniqueFieldName(name);
    QCOMPARE(unique, QStringList({"a.phone*", "a.phone#2*", "b", "a.phone#3*", "b#2"}));
    QWizard plain;
    QCOMPARE(CorvexPayWizard::fieldNameFor(&plain, "a.phone*"), QString("a.phone*"));
}

QTEST_MAIN(TestCorvexPayWizard)
#include "tst_corvexpaywizard.moc"
