#include "corvexpaywizard.h"
#include "fakehost.h"
#include "testutil.h"

#include <QMessageBox>
#include <QTimer>

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

    void pages()
    {
        for (int id : PAGE_CLASSES.keys()) {
            QCOMPARE(m_wizard->page(id)->metaObject()->className(), PAGE_CLASSES[id].constData());
            QVERIFY(m_wizard->page(id)->qt_metacast("ICXWizardPage"));
        }
    }

    void hostAnswers()
    {
        QCOMPARE(m_wizard->newProviderId(), qint64(-1));
        QVERIFY(!m_wizard->needChangeProvider());
        QVERIFY(!m_wizard->setTemplatesConnection(this, SLOT(deleteLater())));
        // The wizard keeps its own copy: a provider handed out stays as it was.
        Provider provider;
        provider.setId(1586);
        m_wizard->setProvider(provider);
        const QSharedPointer<Provider> shared = m_wizard->provider();
        provider.setId(1587);
        m_wizard->setProvider(provider);
        QCOMPARE(shared->id(), qint64(1586));
        QCOMPARE(m_wizard->newProviderId(), qint64(1587));

        QVERIFY(!m_wizard->setMessageReciever(nullptr, SIGNAL(destroyed())));
        QVERIFY(!m_wizard->setMessageSender(nullptr, SLOT(deleteLater())));
        // Every call adds a connection: twice delivers every request twice.
        FakeHost host;
        QVERIFY(m_wizard->setMessageSender(&host, FakeHost::method()));
        QVERIFY(m_wizard->setMessageSender(&host, FakeHost::method()));
        emit m_wizard->sendMessage("/app/corvexRequest", QVariant());
        QCOMPARE(host.destinations.count(), 2);
    }

    void checkAndAddPage_data()
    {
        addRows<QList<int>, int, int, bool>({"route", "kind", "expected", "created"},
            {
                {"not visited", {}, 5, 5, false},
                {"no page kind", {}, 9, 9, false},
                {"visited twice", {5, 5}, 5, 37, true},
                {"start page", {4}, 0, 0, false},
                {"payment page", {15}, 15, 15, false},
                {"beyond kinds", {4, 4}, 20, 36, false},
            });
        for (int kind : {1, 2, 3, 4, 5, 6, 7, 14})
            QTest::addRow("visited %d", kind) << QList<int> {kind} << kind << kind + 16 << true;
    }

    void checkAndAddPage()
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
            QCOMPARE(
                m_wizard->page(expected)->metaObject()->className(), PAGE_CLASSES[kind].data());
    }

    // A second page of a kind registers its fields under names of their own, still mandatory.
    void uniqueFieldName()
    {
        QStringList unique;
        for (const char *name : {"a.phone*", "a.phone*", "b", "a.phone*", "b"})
            unique << m_wizard->uniqueFieldName(name);
        QCOMPARE(unique, QStringList({"a.phone*", "a.phone#2*", "b", "a.phone#3*", "b#2"}));
        QWizard plain;
        QCOMPARE(CorvexPayWizard::fieldNameFor(&plain, "a.phone*"), QString("a.phone*"));
    }

private:
    std::unique_ptr<CorvexPayWizard> m_wizard;

    // Esc on a payment the operator has typed into asks first, and the answer is No unless the
    // operator says Yes; with nothing typed the wizard closes at once.
    void cancelAsks_data()
    {
        addRows<bool, int, int>({"typed", "answer", "rejected"},
            {{"nothing typed", false, 0, 1}, {"typed, Enter", true, Qt::Key_Return, 0},
                {"typed, Esc", true, Qt::Key_Escape, 0}, {"typed, Y", true, Qt::Key_Y, 1}});
    }
    void cancelAsks()
    {
        QFETCH(bool, typed);
        QFETCH(int, answer);
        QFETCH(int, rejected);
        m_wizard->show();
        Operator::click(m_wizard->findChild<QWidget *>("rbRegistration"));
        QVERIFY(Operator::next(m_wizard.get()));
        if (typed)
            Operator::type(m_wizard->currentPage()->findChild<QWidget *>("leLastName"), "Ivanov");
        QSignalSpy spy(m_wizard.get(), &QDialog::rejected);
        int asked = 0;
        QTimer answering;
        answering.setSingleShot(true);
        connect(&answering, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++asked;
                QTest::keyClick(box, Qt::Key(answer));
            }
        });
        answering.start(0);
        QTest::keyClick(m_wizard.get(), Qt::Key_Escape);
        QCOMPARE(asked, typed ? 1 : 0);
        QCOMPARE(spy.count(), rejected);
    }
};

QTEST_MAIN(TestCorvexPayWizard)
#include "tst_corvexpaywizard.moc"
