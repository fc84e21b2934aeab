#include "corvexhandler.h"
#include "corvexpaywizard.h"
#include "fakehost.h"

#include <QtTest>

#include <memory>

class TestCorvexHandler : public QObject
{
    Q_OBJECT

private slots:
    void start_data();
    void start();
};

void TestCorvexHandler::start_data()
{
    QTest::addColumn<bool>("configured");
    QTest::addColumn<bool>("hostGone");
    QTest::newRow("before any setter") << false << false;
    QTest::newRow("configured") << true << false;
    QTest::newRow("host objects destroyed") << true << true;
}

// Each wizard gets the settings of the moment it starts, and the host's objects only while
// they exist.
void TestCorvexHandler::start()
{
    QFETCH(bool, configured);
    QFETCH(bool, hostGone);
    CorvexHandler handler;
    FakeHost host;
    auto gone = std::make_unique<FakeHost>();
    BoxInfo info;
    info.setBoxId(77);
    if (configured) {
        handler.setInputFont(QFont("Sans", 21));
        handler.setBoxInfo(info);
        FakeHost *given = hostGone ? gone.get() : &host;
        QVERIFY(handler.setMessageReciever(given, FakeHost::signal()));
        QVERIFY(handler.setMessageSender(given, FakeHost::method()));
    }
    gone.reset();

    Currency currency;
    currency.setNumber3(643);
    Provider provider;
    provider.setId(1586);
    std::unique_ptr<CorvexPayWizard> wizard(dynamic_cast<CorvexPayWizard *>(
        handler.start(currency, FixNumber(100, 1250LL), BoxComProfile(), provider, nullptr)));
    handler.setInputFont(QFont("Sans", 8));
    handler.setBoxInfo(BoxInfo());
    QVERIFY(handler.setMessageReciever(nullptr, nullptr));

    QCOMPARE(wizard->inputFont(), configured ? QFont("Sans", 21) : QFont());
    QCOMPARE(wizard->info().boxId(), configured ? 77LL : BoxInfo().boxId());
    QCOMPARE(*wizard->currency(), currency);
    QCOMPARE(*wizard->prepay(), FixNumber(100, 1250LL));
    QCOMPARE(*wizard->provider(), provider);
    QCOMPARE(*wizard->comProfile(), BoxComProfile());

    const bool connected = configured && !hostGone;
    QSignalSpy incoming(wizard.get(), SIGNAL(incomingMessage(QVariantMap, QString)));
    emit host.reply(QVariantMap(), "{}");
    emit wizard->sendMessage("/app/corvexRequest", QVariant());
    QCOMPARE(incoming.count(), connected ? 1 : 0);
    QCOMPARE(host.requests.count(), connected ? 1 : 0);
}

QTEST_MAIN(TestCorvexHandler)
#include "tst_corvexhandler.moc"
