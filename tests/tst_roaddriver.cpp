// The scripted operator on a stand-in wizard whose pages carry the widgets a road looks for:
// it clicks, types through input masks, picks list rows and drop-down items, waits for the
// service's reply, and stops with a reason instead of hanging.
#include "cxphonewidget.h"
#include "roaddriver.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QStringListModel>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWizard>
#include <QtTest>

#include <functional>

// A page with a fixed next page and a completeness the test decides.
class StandInPage : public QWizardPage
{
public:
    StandInPage(QWizard *wizard, int next)
        : QWizardPage(wizard)
        , m_next(next)
    {
        new QVBoxLayout(this);
        setFinalPage(next < 0);
    }
    template<typename T> T *add(T *widget, const QString &name)
    {
        widget->setObjectName(name);
        layout()->addWidget(widget);
        return widget;
    }
    int nextId() const override { return m_next; }
    bool isComplete() const override { return complete ? complete() : true; }
    std::function<bool()> complete;

private:
    int m_next;
};

class TestRoadDriver : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void templateRoad();
    void serviceSaysNo();
    void missingWidget();

private:
    bool run(RoadDriver::Road road, const QJsonObject &inputs);

    std::unique_ptr<QWizard> m_wizard;
    std::unique_ptr<RoadDriver> m_driver;
    QString m_log;
    CXPhoneWidget *m_phone = nullptr;
    QListView *m_list = nullptr;
    QLabel *m_error = nullptr;
    QLineEdit *m_account = nullptr;
    QComboBox *m_kind = nullptr;
    QDoubleSpinBox *m_summ = nullptr;
    bool m_answered = false;
    int m_clickedRow = -1;
};

// 0 -> 4 -> 14 -> 7 -> 15, as a known customer paying by a template goes.
void TestRoadDriver::init()
{
    m_wizard = std::make_unique<QWizard>();
    m_answered = false;
    m_clickedRow = -1;
    m_log.clear();

    auto *action = new StandInPage(m_wizard.get(), 4);
    for (const char *name : {"rbRegistration", "rbRequirementsCodes", "rbPaymentByCode"})
        action->add(new QRadioButton(name), name);
    auto *byTemplate = action->findChild<QRadioButton *>("rbRequirementsCodes");
    action->complete = [byTemplate] { return byTemplate->isChecked(); };
    connect(byTemplate, &QRadioButton::toggled, action, &QWizardPage::completeChanged);

    auto *phonePage = new StandInPage(m_wizard.get(), 14);
    m_phone = phonePage->add(new CXPhoneWidget, "wPhone");
    phonePage->complete = [this] { return m_phone->isValid(); };
    connect(m_phone, &CXPhoneWidget::textChanged, phonePage, &QWizardPage::completeChanged);

    // The reply comes a little later and completes the page.
    auto *sender = new StandInPage(m_wizard.get(), 7);
    m_error = sender->add(new QLabel, "lError");
    sender->complete = [this] { return m_answered; };

    auto *selection = new StandInPage(m_wizard.get(), 15);
    m_list = selection->add(new QListView, "lvTemplates");
    m_list->setModel(new QStringListModel(
        {"Consumer credit 4081781001", "Car loan 4081781002", "Add new"}, m_list));
    connect(m_list, &QListView::clicked,
        [this](const QModelIndex &index) { m_clickedRow = index.row(); });

    auto *payment = new StandInPage(m_wizard.get(), -1);
    m_account = payment->add(new QLineEdit, "account");
    m_account->setInputMask(QString("9999999999;") + QChar(0x2022));
    m_kind = payment->add(new QComboBox, "paymentKind");
    m_kind->addItems({"Early repayment", "Regular payment"});
    m_kind->setCurrentIndex(1);
    m_summ = payment->add(new QDoubleSpinBox, "summ");
    m_summ->setRange(0, 1e6);
    m_summ->setSuffix(QString(" ") + QChar(0x20bd));
    payment->add(new QDoubleSpinBox, "commission")->setReadOnly(true);

    m_wizard->setPage(0, action);
    m_wizard->setPage(4, phonePage);
    m_wizard->setPage(14, sender);
    m_wizard->setPage(7, selection);
    m_wizard->setPage(15, payment);
    connect(m_wizard.get(), &QWizard::currentIdChanged, [this, sender](int id) {
        if (id == 14)
            QTimer::singleShot(300, sender, [this, sender] {
                m_answered = true;
                emit sender->completeChanged();
            });
    });
}

bool TestRoadDriver::run(RoadDriver::Road road, const QJsonObject &inputs)
{
    static QTextStream stream;
    stream.setString(&m_log);
    m_driver = std::make_unique<RoadDriver>(m_wizard.get(), road, inputs, &stream);
    m_driver->setReplyWait(3000);
    m_driver->start();
    return m_wizard->exec() == QDialog::Accepted;
}

void TestRoadDriver::templateRoad()
{
    const QJsonObject inputs = {{"phone", "9161234567"}, {"pick", QJsonArray({"4081781002"})},
        {"form", QJsonObject({{"account", "7000000001"}, {"paymentKind", "Early repayment"}})},
        {"summ", "1250.50"}};
    QVERIFY2(run(RoadDriver::TemplateRoad, inputs), qPrintable(m_log));
    QCOMPARE(m_driver->pageIds(), QList<int>({0, 4, 14, 7, 15}));
    QVERIFY(!m_driver->stopped());
    // Typed through the masks as an operator would.
    QCOMPARE(m_phone->phone(), QString("9161234567"));
    QCOMPARE(m_account->text(), QString("7000000001"));
    QCOMPARE(m_clickedRow, 1);
    QCOMPARE(m_kind->currentText(), QString("Early repayment"));
    QCOMPARE(m_summ->value(), 1250.50);
}

// A red line on the sender page and no way on: the road ends with that line as its reason.
void TestRoadDriver::serviceSaysNo()
{
    connect(m_wizard.get(), &QWizard::currentIdChanged, [this](int id) {
        if (id == 14)
            m_error->setText("<font color=\"red\"><b>Connection error: </b>timeout</font>");
    });
    static_cast<StandInPage *>(m_wizard->page(14))->complete = [] { return false; };
    QVERIFY(!run(RoadDriver::TemplateRoad, {{"phone", "9161234567"}}));
    QVERIFY(m_driver->stopped());
    QCOMPARE(m_driver->reason(), QString("page 14: Connection error: timeout"));
    QCOMPARE(m_driver->pageIds(), QList<int>({0, 4, 14}));
}

void TestRoadDriver::missingWidget()
{
    static_cast<StandInPage *>(m_wizard->page(4))->complete = nullptr;
    delete m_phone;
    QVERIFY(!run(RoadDriver::TemplateRoad, {{"phone", "9161234567"}}));
    QCOMPARE(m_driver->reason(), QString("page 4: missing widget: wPhone on page 4"));
}

QTEST_MAIN(TestRoadDriver)
#include "tst_roaddriver.moc"
