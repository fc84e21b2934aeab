// Loads the built plug-in as the host does, knowing only the two interfaces and the model.
#include "ipaybyprovider.h"
#include "ipaydialog.h"
#include "testutil.h"

#include <QWizard>
#include <QtTest>

#include <memory>

class TestPluginLoader : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { m_loader.unload(); }
    void initTestCase()
    {
        m_loader.setFileName(QStringLiteral(CORVEX_PLUGIN_PATH));
        // A host picks the module by the interface its metadata names, before loading it.
        QCOMPARE(m_loader.metaData().value("IID").toString(), QString(IPayByProvider_iid));
        QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
        m_plugin = qobject_cast<IPayByProvider *>(m_loader.instance());
        QVERIFY(m_plugin);
    }

    void rootObject()
    {
        QPointer<QObject> root = m_loader.instance();
        // The host may delete the root object; the next request makes a new one.
        delete root;
        QVERIFY(root.isNull());
        m_plugin = qobject_cast<IPayByProvider *>(m_loader.instance());
        QVERIFY(m_plugin);
    }

    void providers_data()
    {
        addRows<qint64, bool>({"id", "supported"},
            {{"Corvex", 1586, true}, {"zero", 0, false}, {"invalid", -1, false},
                {"neighbour", 1587, false}});
    }

    void providers()
    {
        QFETCH(qint64, id);
        QFETCH(bool, supported);
        Provider provider;
        provider.setId(id);
        QCOMPARE(m_plugin->providerIsSupported(id), supported);
        QCOMPARE(m_plugin->providerIsSupported(provider), supported);
        QCOMPARE(m_plugin->supportedProviders(), QSet<qint64>({1586}));
    }

    // Every payment gets a wizard of its own.
    void start()
    {
        QWidget parent;
        Provider provider;
        provider.setId(1586);
        IPayDialog *dialog
            = m_plugin->start(Currency(), FixNumber(), BoxComProfile(), provider, &parent);
        std::unique_ptr<IPayDialog> other(
            m_plugin->start(Currency(), FixNumber(), BoxComProfile(), provider, nullptr));
        QVERIFY(dialog && other && dialog != other.get());
        auto *wizard = dynamic_cast<QWizard *>(dialog);
        QCOMPARE(wizard->qt_metacast("IPayDialog"), static_cast<void *>(dialog));
        QCOMPARE(wizard->parent(), &parent);
        QCOMPARE(wizard->startId(), 0);
        QCOMPARE(dialog->providerId(), qint64(1586));
        QCOMPARE(dialog->payment(), Payment());
    }

    // The module built for the other Qt major must be turned down by the loader from its metadata,
    // before any of its code runs in this process: two Qt cores in one process would not survive.
    void otherQtMajor()
    {
        const QString path = QStringLiteral(CORVEX_OTHER_MAJOR_MODULE);
        if (!QFileInfo::exists(path))
            QSKIP(
                qPrintable(QStringLiteral("no module of the other Qt major at %1; build that major "
                                          "(scripts/test.sh --qt N) to run this check")
                               .arg(path)));
        QPluginLoader other(path);
        // Qt 6 reads a Qt 5 module's metadata and finds its version; Qt 5 cannot read Qt 6's.
        const QJsonObject meta = other.metaData();
        QVERIFY(meta.isEmpty() || meta.value("version").toInt() >> 16 != QT_VERSION_MAJOR);
        QVERIFY(!other.load());
        QVERIFY(!other.isLoaded());
        QVERIFY(!other.instance());
        QVERIFY2(other.errorString().contains(QFileInfo(path).absoluteFilePath()),
            qPrintable(other.errorString()));
        if (!meta.isEmpty())
            QVERIFY2(other.errorString().contains("incompatible Qt library"),
                qPrintable(other.errorString()));
        // Nothing of the other Qt came into this process.
        QFile maps("/proc/self/maps");
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray otherCore = QT_VERSION_MAJOR == 5 ? "libQt6Core" : "libQt5Core";
        QVERIFY(!maps.readAll().contains(otherCore));
    }

private:
    QPluginLoader m_loader;
    IPayByProvider *m_plugin = nullptr;
};

QTEST_MAIN(TestPluginLoader)
#include "tst_pluginloader.moc"
