#include "hostlanguage.h"
#include "testutil.h"

#include <QLineEdit>

// The demo terminal's language: what a host does so that the plug-in and Qt follow it.
class TestHostLanguage : public QObject
{
    Q_OBJECT

private slots:
    void apply_data()
    {
        addRows<QString, bool, int>({"language", "applied", "locale"},
            {{"Russian", "ru", true, QLocale::Russian}, {"English", "en", true, QLocale::English},
                {"not offered", "de", false, QLocale::C}, {"empty", "", false, QLocale::C}});
    }

    // Every language offered sets the default locale and tells the application, with Qt's own
    // translation or without it; another is refused and changes nothing.
    void apply()
    {
        QFETCH(QString, language);
        QFETCH(bool, applied);
        QLocale::setDefault(QLocale::c());
        HostLanguage host;
        LanguageChanges changes;
        qApp->installEventFilter(&changes);
        QCOMPARE(host.apply(language), applied);
        qApp->removeEventFilter(&changes);
        QTEST(int(QLocale().language()), "locale");
        QCOMPARE(changes.count > 0, applied);
    }

    // F12 switches to the other language wherever the focus is, once however long it is held; the
    // key never reaches the input, every other key does.
    void f12Switches()
    {
        HostLanguage host;
        QVERIFY(host.apply(QStringLiteral("en")));
        host.switchOnKey();
        QLineEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.setFocus();
        QTest::keyClick(&edit, Qt::Key_F12);
        QCOMPARE(host.language(), QStringLiteral("ru"));
        QTest::keyClick(&edit, Qt::Key_F12);
        QCOMPARE(host.language(), QStringLiteral("en"));
        QKeyEvent held(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&edit, &held);
        QCOMPARE(host.language(), QStringLiteral("en"));
        QTest::keyClicks(&edit, "7");
        QCOMPARE(edit.text(), QStringLiteral("7"));
    }
};

QTEST_MAIN(TestHostLanguage)
#include "tst_hostlanguage.moc"
