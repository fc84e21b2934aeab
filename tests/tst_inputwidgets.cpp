#include "cxmaskeditvalidator.h"
#include "cxphonewidget.h"
#include "summdoublespinbox.h"
#include "testutil.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRegExp>

class TestInputWidgets : public QObject
{
    Q_OBJECT

private slots:
    void unmaskText_data();
    void unmaskText();
    void validate_data();
    void validate();
    void phoneTyped_data();
    void phoneTyped();
    void phonePasted_data();
    void phonePasted();
    void setPhone();
    void phoneSurvivesLanguageChange();
    void spinBoxSelectsAllOnFocus_data();
    void spinBoxSelectsAllOnFocus();
};

static const QString BULLET(QChar(0x2022));
static QString phoneTemplate()
{
    return QString("8(%1)%2-%3-%4")
        .arg(BULLET.repeated(3), BULLET.repeated(3), BULLET.repeated(2), BULLET.repeated(2));
}

void TestInputWidgets::unmaskText_data()
{
    addRows<QString, QString, QString>({"mask", "text", "expected"},
        {
            {"no mask", "", "8(912)", "8(912)"},
            {"full phone", phoneTemplate(), "8(912)345-67-89", "9123456789"},
            {"partial phone", phoneTemplate(),
                "8(91" + BULLET + ")" + BULLET.repeated(3) + "-" + BULLET.repeated(2) + "-"
                    + BULLET.repeated(2),
                "91"},
            {"empty phone", phoneTemplate(), phoneTemplate(), ""},
            {"text beyond the mask", "__", "1234", "12"},
            {"typed char equal to the blank", "a_b", "x_y", "xy"},
        });
}

void TestInputWidgets::unmaskText()
{
    QFETCH(QString, mask);
    QFETCH(QString, text);
    QTEST(CXMaskEditValidator(mask, nullptr).unmaskText(text), "expected");
}

void TestInputWidgets::validate_data()
{
    addRows<QString, QString, QString, int, int>({"pattern", "mask", "input", "state", "pos"},
        {
            {"acceptable", "^\\d{3}$", "(___)", "(123)", QValidator::Acceptable, 0},
            {"intermediate", "^\\d{3}$", "(___)", "(12_)", QValidator::Intermediate, 0},
            // The cursor goes to the end of the masked input, not of the unmasked digits.
            {"invalid", "^\\d{3}$", "(___)", "(1x_)", QValidator::Invalid, 5},
        });
}

void TestInputWidgets::validate()
{
    QFETCH(QString, pattern);
    QFETCH(QString, mask);
    QFETCH(QString, input);
    CXMaskEditValidator validator(mask, nullptr);
    validator.setRegExp(QRegExp(pattern));
    const QString before = input;
    int pos = 0;
    QTEST(int(validator.validate(input, pos)), "state");
    QTEST(pos, "pos");
    QCOMPARE(input, before);
}

void TestInputWidgets::phoneTyped_data()
{
    addRows<QString, bool, QString, QString>({"keys", "valid", "phone", "masked"},
        {
            {"nothing", "", false, "", "8()--"},
            {"letters refused", "abc", false, "", "8()--"},
            {"nine digits", "912345678", false, "912345678", "8(912)345-67-8"},
            {"ten digits", "9123456789", true, "9123456789", "8(912)345-67-89"},
            {"letters between digits", "91a23b4567c89", true, "9123456789", "8(912)345-67-89"},
            {"eleven digits", "91234567890", true, "9123456789", "8(912)345-67-89"},
        });
}

void TestInputWidgets::phoneTyped()
{
    QFETCH(QString, keys);
    CXPhoneWidget widget;
    auto *edit = widget.findChild<QLineEdit *>("lePhone");
    edit->setCursorPosition(2);
    QTest::keyClicks(edit, keys);
    QTEST(widget.isValid(), "valid");
    QTEST(widget.phone(), "phone");
    QTEST(widget.maskedPhone(), "masked");
    QCOMPARE(widget.property("phone").toString(), widget.phone());
}

void TestInputWidgets::phonePasted_data()
{
    addRows<QString, QString>({"clipboard", "phone"},
        {
            {"with country code", "+7 912 345-67-89", "9123456789"},
            {"written with 8", "8 (912) 345 67 89", "9123456789"},
            {"plain", "9123456789", "9123456789"},
            {"part of a number", "91 2", "912"},
            {"no digits", "call me", ""},
        });
}

void TestInputWidgets::phonePasted()
{
    QFETCH(QString, clipboard);
    CXPhoneWidget widget;
    auto *edit = widget.findChild<QLineEdit *>("lePhone");
    edit->setCursorPosition(2);
    QApplication::clipboard()->setText(clipboard);
    QTest::keySequence(edit, QKeySequence::Paste);
    QTEST(widget.phone(), "phone");
}

void TestInputWidgets::setPhone()
{
    CXPhoneWidget starting8;
    starting8.setPhone("8123456789");
    QCOMPARE(starting8.phone(), QString("8123456789"));
    CXPhoneWidget widget;
    QSignalSpy changed(&widget, SIGNAL(textChanged(QString)));
    widget.setPhone("9123456789");
    QVERIFY(widget.isValid());
    QCOMPARE(widget.maskedPhone(), QString("8(912)345-67-89"));
    QCOMPARE(widget.findChild<QLineEdit *>("lePhone")->cursorPosition(), 2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QString("8(912)345-67-89"));
}

void TestInputWidgets::phoneSurvivesLanguageChange()
{
    CXPhoneWidget widget;
    QTest::keyClicks(widget.findChild<QLineEdit *>("lePhone"), "912");
    QEvent event(QEvent::LanguageChange);
    QApplication::sendEvent(&widget, &event);
    QCOMPARE(widget.phone(), QString("912"));
    QCOMPARE(widget.findChild<QLineEdit *>("lePhone")->displayText(),
        "8(912)" + BULLET.repeated(3) + "-" + BULLET.repeated(2) + "-" + BULLET.repeated(2));
}

void TestInputWidgets::spinBoxSelectsAllOnFocus_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("mouse") << true;
    QTest::newRow("tab") << false;
}

void TestInputWidgets::spinBoxSelectsAllOnFocus()
{
    QFETCH(bool, byMouse);
    QWidget window;
    auto *before = new QLineEdit(&window);
    auto *box = new SummDoubleSpinBox(&window);
    box->setGeometry(0, 30, 120, 24);
    box->setValue(42.5);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    before->setFocus();
    if (byMouse)
        QTest::mouseClick(box->findChild<QLineEdit *>(), Qt::LeftButton, {}, QPoint(5, 5));
    else
        QTest::keyClick(before, Qt::Key_Tab);
    QTRY_VERIFY(box->hasFocus());
    QCoreApplication::processEvents();
    QCOMPARE(box->findChild<QLineEdit *>()->selectedText(), QString("42.50"));
    QTest::keyClicks(box, "7");
    QCOMPARE(box->value(), 7.0);
}

QTEST_MAIN(TestInputWidgets)
#include "tst_inputwidgets.moc"
