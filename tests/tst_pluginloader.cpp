// Loads the built plug-in as the host does, knowing only the two interfaces and the model.
#include "fakehost.h"
#include "ipaybyprovider.h"
#include "ipaydialog.h"

#include <QJsonObject>
#include <QPluginLoader>
#include <QPointer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QWizard>
#include <QtTest>

#include <memory>

class TestPluginLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_loader.unload(); }
    void metaData_data();
    void metaData();
    void rootObject();
    void providers_data();
    void providers();
    void start();
    void hostChannel();

private:
    IPayDialog *startDialog(QWidget *parent = nullptr)
    {
        Provider provider;
        provider.setId(1586);
        return m_plugin->start(Currency(), FixNumber(), BoxComProfile(), provider, parent);
    }

    QPluginLoader m_loader;
    IPayByProvider *m_plugin = nullptr;
};

void TestPluginLoader::initTestCase()
{
    m_loader.setFileName(QStringLiteral(CORVEX_PLUGIN_PATH));
    QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
    m_plugin = qobject_cast<IPayByProvider *>(m_loader.instance());
    QVERIFY(m_plugin);
}

void TestPluginLoader::metaData_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    QTest::newRow("IID") << "IID" << QJsonValue(IPayByProvider_iid);
    QTest::newRow("className") << "className" << QJsonValue("CorvexHandler");
    // moc writes the major and minor version only.
    QTest::newRow("version") << "version" << QJsonValue(QT_VERSION & 0xffff00);
#ifdef QT_NO_DEBUG
    QTest::newRow("debug") << "debug" << QJsonValue(false);
#endif
    // moc leaves out the key of an empty object; reading it gives the empty object all the same.
    QTest::newRow("MetaData") << "MetaData" << QJsonValue(QJsonObject());
}

void TestPluginLoader::metaData()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    const QJsonValue actual = m_loader.metaData().value(key);
    QCOMPARE(value.isObject() ? QJsonValue(actual.toObject()) : actual, value);
    QVERIFY(QByteArray(IPayByProvider_iid).endsWith(".plugins.paybyprovider"));
}

void TestPluginLoader::rootObject()
{
    QPointer<QObject> root = m_loader.instance();
    QCOMPARE(m_loader.instance(), root.data());
    QCOMPARE(root->qt_metacast("CorvexHandler"), static_cast<void *>(root.data()));
    QCOMPARE(root->qt_metacast("IPayByProvider"), static_cast<void *>(m_plugin));
    QCOMPARE(root->qt_metacast(IPayByProvider_iid), static_cast<void *>(m_plugin));
    // The host may delete the root object; the next request makes a new one.
    delete root;
    QVERIFY(root.isNull());
    m_plugin = qobject_cast<IPayByProvider *>(m_loader.instance());
    QVERIFY(m_plugin);
}

void TestPluginLoader::providers_data()
{
    QTest::addColumn<qint64>("id");
    QTest::addColumn<bool>("supported");
    QTest::newRow("Corvex") << qint64(1586) << true;
    QTest::newRow("zero") << qint64(0) << false;
    QTest::newRow("invalid") << qint64(-1) << false;
    QTest::newRow("neighbour") << qint64(1587) << false;
}

void TestPluginLoader::providers()
{
    QFETCH(qint64, id);
    QFETCH(bool, supported);
    Provider provider;
    provider.setId(id);
    QCOMPARE(m_plugin->providerIsSupported(id), supported);
    QCOMPARE(m_plugin->providerIsSupported(provider), supported);
    QSet<qint64> all = m_plugin->supportedProviders();
    QCOMPARE(all, QSet<qint64>({1586}));
    all.insert(id);
    QCOMPARE(m_plugin->supportedProviders().size(), 1);
}

void TestPluginLoader::start()
{
    QWidget parent;
    IPayDialog *dialog = startDialog(&parent);
    IPayDialog *other = startDialog();
    QVERIFY(dialog && other && dialog != other);
    auto *object = dynamic_cast<QObject *>(dialog);
    QVERIFY(object->inherits("CorvexPayWizard"));
    QCOMPARE(object->metaObject()->className(), "CorvexPayWizard");
    QCOMPARE(object->qt_metacast("IPayDialog"), static_cast<void *>(dialog));
    QCOMPARE(object->parent(), &parent);
    auto *wizard = qobject_cast<QWizard *>(object);
    QCOMPARE(wizard->pageIds(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 14, 15}));
    QCOMPARE(wizard->startId(), 0);
    QCOMPARE(dialog->providerId(), qint64(1586));
    QCOMPARE(dialog->payment(), Payment());
    delete other;
}

void TestPluginLoader::hostChannel()
{
    auto *gone = new FakeHost;
    m_plugin->setMessageReciever(gone, FakeHost::signal());
    delete gone;
    FakeHost host;
    QVERIFY(m_plugin->setMessageSender(&host, FakeHost::method()));
    std::unique_ptr<IPayDialog> unconnected(startDialog());
    QVERIFY(m_plugin->setMessageReciever(&host, FakeHost::signal()));
    std::unique_ptr<IPayDialog> dialog(startDialog());
    auto *wizard = dynamic_cast<QWizard *>(dialog.get());
    QSignalSpy incoming(wizard, SIGNAL(incomingMessage(QVariantMap, QString)));
    QSignalSpy ignored(
        dynamic_cast<QObject *>(unconnected.get()), SIGNAL(incomingMessage(QVariantMap, QString)));

    // The operator asks for the templates: the sender page hands a request to the host.
    wizard->show();
    auto *choice = wizard->currentPage()->findChild<QRadioButton *>("rbRequirementsCodes");
    QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
    wizard->next();
    wizard->next();
    QCOMPARE(wizard->currentId(), 14);
    QCOMPARE(host.destinations, QStringList("/app/corvexRequest"));
    QVERIFY(host.requests.last().contains("uid"));

    emit host.reply(QVariantMap(), "{}");
    QCOMPARE(incoming.count(), 1);
    QCOMPARE(ignored.count(), 0);
    dialog.reset();
    emit host.reply(QVariantMap(), "{}");
    QVERIFY(m_plugin->setMessageReciever(nullptr, nullptr));
}

QTEST_MAIN(TestPluginLoader)
#include "tst_pluginloader.moc"
