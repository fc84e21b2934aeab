#include "cxmaskeditvalidator.h"
#include "cxphonewidget.h"
#include "summdoublespinbox.h"
#include "testutil.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRegExp>

static const QString BULLET(QChar(0x2022));
static const QString PHONE_BLANK = "8(" + BULLET.repeated(3) + ")" + BULLET.repeated(3) + "-"
    + BULLET.repeated(2) + "-" + BULLET.repeated(2);

class TestInputWidgets : public QObject
{
    Q_OBJECT

private slots:
    void validator_data()
    {
        // A refused input puts the cursor at the end of the masked text, not of the typed one.
        const QString partial = "8(91" + PHONE_BLANK.mid(4), three = "^\\d{3}$";
        const int invalid = QValidator::Invalid, intermediate = QValidator::Intermediate,
                  acceptable = QValidator::Acceptable;
        addRows<QString, QString, QString, QString, int, int>(
            {"mask", "pattern", "text", "unmasked", "state", "pos"},
            {
                {"no mask", "", three, "8(912)", "8(912)", invalid, 6},
                {"full phone", PHONE_BLANK, three, "8(912)345-67-89", "9123456789", invalid, 15},
                {"partial phone", PHONE_BLANK, three, partial, "91", intermediate, 1},
                {"empty phone", PHONE_BLANK, three, PHONE_BLANK, "", intermediate, 1},
                {"text beyond the mask", "__", three, "1234", "12", intermediate, 1},
                {"typed char equal to the blank", "a_b", three, "x_y", "xy", invalid, 3},
                {"acceptable", "(___)", three, "(123)", "123", acceptable, 1},
                {"intermediate", "(___)", three, "(12_)", "12", intermediate, 1},
                {"invalid", "(___)", three, "(1x_)", "1x", invalid, 5},
                {"no mask, digits short", "", three, "12", "12", intermediate, 1},
                {"no mask, digits long", "", three, "1234", "1234", invalid, 4},
                {"letter among digits", "", "\\d{3}", "1a", "1a", invalid, 2},
                {"empty input, empty pattern", "", "", "", "", acceptable, 1},
                {"text, empty pattern", "", "", "x", "x", invalid, 1},
                {"alternation prefix", "", "abc|de", "d", "d", intermediate, 1},
                {"broken pattern, empty input", "", "(", "", "", intermediate, 1},
                {"broken pattern, text", "", "(", "(", "(", invalid, 1},
            });
    }

    // Judged on the typed characters only; the text stays. A whole match is Acceptable, a match
    // cut short by the end of the input Intermediate, else Invalid, as Qt 5's QRegExpValidator
    // judges, under both Qt majors.
    void validator()
    {
        QFETCH(QString, mask);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        CXMaskEditValidator validator(mask, nullptr);
        validator.setRegExp(QRegExp(pattern));
        QTEST(validator.unmaskText(text), "unmasked");
        const QString before = text;
        int pos = 1;
        QTEST(int(validator.validate(text, pos)), "state");
        QTEST(pos, "pos");
        QCOMPARE(text, before);
    }

    void phone_data()
    {
        const QString full = "8(912)345-67-89";
        addRows<QString, QString, QString, QString, bool>(
            {"how", "input", "phone", "masked", "valid"},
            {
                {"nothing typed", "type", "", "", "8()--", false},
                {"letters typed", "type", "abc", "", "8()--", false},
                {"nine digits typed", "type", "912345678", "912345678", "8(912)345-67-8", false},
                {"ten digits typed", "type", "9123456789", "9123456789", full, true},
                {"letters between digits", "type", "91a23b4567c89", "9123456789", full, true},
                {"eleven digits typed", "type", "91234567890", "9123456789", full, true},
                {"pasted with country code", "paste", "+7 912 345-67-89", "9123456789", full, true},
                {"pasted written with 8", "paste", "8 (912) 345 67 89", "9123456789", full, true},
                {"pasted part of a number", "paste", "91 2", "912", "8(912)--", false},
                {"pasted without digits", "paste", "call me", "", "8()--", false},
                {"set", "set", "9123456789", "9123456789", full, true},
                {"set, starting with 8", "set", "8123456789", "8123456789", "8(812)345-67-89",
                    true},
            });
    }

    // Typed, pasted or set by the host; the number survives a language change, the mask being
    // no translatable text.
    void phone()
    {
        QFETCH(QString, how);
        QFETCH(QString, input);
        CXPhoneWidget widget;
        auto *edit = widget.findChild<QLineEdit *>("lePhone");
        QSignalSpy changed(&widget, SIGNAL(textChanged(QString)));
        edit->setCursorPosition(2);
        if (how == "set") {
            widget.setPhone(input);
            QCOMPARE(edit->cursorPosition(), 2);
            QCOMPARE(changed.count(), 1);
        } else if (how == "paste") {
            QApplication::clipboard()->setText(input);
            QTest::keySequence(edit, QKeySequence::Paste);
        } else {
            QTest::keyClicks(edit, input);
        }
        QEvent languageChange(QEvent::LanguageChange);
        QApplication::sendEvent(&widget, &languageChange);
        QTEST(widget.phone(), "phone");
        QTEST(widget.maskedPhone(), "masked");
        QTEST(widget.isValid(), "valid");
        QCOMPARE(widget.property("phone").toString(), widget.phone());
        if (!changed.isEmpty())
            QCOMPARE(changed.last().at(0).toString(), widget.maskedPhone());
    }

    void spinBoxSelectsAllOnFocus_data()
    {
        addRows<bool>({"byMouse"}, {{"mouse", true}, {"set, typed at once", false}});
    }

    // An amount box taking the focus selects its text at once, so typing replaces the amount;
    // the click that gave the focus must not undo the selection.
    void spinBoxSelectsAllOnFocus()
    {
        QFETCH(bool, byMouse);
        QWidget window;
        auto *before = new QLineEdit(&window);
        auto *box = new SummDoubleSpinBox(&window);
        box->setGeometry(0, 30, 120, 24);
        box->setValue(42.5);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        if (byMouse) {
            QTest::mouseClick(box->findChild<QLineEdit *>(), Qt::LeftButton, {}, QPoint(5, 5));
            QTRY_VERIFY(box->hasFocus());
            QCoreApplication::processEvents();
        } else {
            box->setFocus(Qt::OtherFocusReason);
        }
        QTest::keyClicks(box, "7");
        QCOMPARE(box->value(), 7.0);
    }
};

QTEST_MAIN(TestInputWidgets)
#include "tst_inputwidgets.moc"
