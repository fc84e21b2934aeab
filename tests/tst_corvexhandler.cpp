#include "corvexhandler.h"
#include "corvexpaywizard.h"
#include "fakehost.h"
#include "testutil.h"

#include <QtTest>

#include <memory>

class TestCorvexHandler : public QObject
{
    Q_OBJECT

private slots:
    void start_data()
    {
        addRows<bool, bool>({"configured", "hostGone"},
            {{"before any setter", false, false}, {"configured", true, false},
                {"host objects destroyed", true, true}});
    }

    // Each wizard gets the settings of the moment it starts, and the host's objects only while
    // they exist.
    void start()
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

    void mistypedSignature_data()
    {
        addRows<QByteArray, QByteArray, QString>({"signal", "method", "warning"},
            {{"reply signal", SIGNAL(reply(QString)), FakeHost::method(),
                 "reply signal \"2reply(QString)\" of FakeHost"},
                {"request method", FakeHost::signal(), SLOT(deliver(QVariant)),
                    "request method \"1deliver(QVariant)\" of FakeHost"}});
    }

    // A host that mistypes a signature hears about it at once, not after a minute's time-out.
    void mistypedSignature()
    {
        QFETCH(QByteArray, signal);
        QFETCH(QByteArray, method);
        QFETCH(QString, warning);
        CorvexHandler handler;
        FakeHost host;
        handler.setMessageReciever(&host, signal.constData());
        handler.setMessageSender(&host, method.constData());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^QObject::connect: "));
        QTest::ignoreMessage(QtWarningMsg,
            QRegularExpression(
                "^The host's " + QRegularExpression::escape(warning) + " could not be connected"));
        std::unique_ptr<IPayDialog> wizard(
            handler.start(Currency(), FixNumber(), BoxComProfile(), Provider(), nullptr));
        QVERIFY(wizard);
    }
};

QTEST_MAIN(TestCorvexHandler)
#include "tst_corvexhandler.moc"
