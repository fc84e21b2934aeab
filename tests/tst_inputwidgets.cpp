#include "cxmaskeditvalidator.h"
#include "cxphonewidget.h"
#include "cxregexpvalidator.h"
#include "summdoublespinbox.h"
#include "testutil.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRegExp>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QRegExpValidator>
#endif

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
        const QString partial = "8(91" + PHONE_BLANK.mid(4);
        const int invalid = QValidator::Invalid, intermediate = QValidator::Intermediate;
        addRows<QString, QString, QString, int, int>({"mask", "text", "unmasked", "state", "pos"},
            {
                {"no mask", "", "8(912)", "8(912)", invalid, 6},
                {"full phone", PHONE_BLANK, "8(912)345-67-89", "9123456789", invalid, 15},
                {"partial phone", PHONE_BLANK, partial, "91", intermediate, 0},
                {"empty phone", PHONE_BLANK, PHONE_BLANK, "", intermediate, 0},
                {"text beyond the mask", "__", "1234", "12", intermediate, 0},
                {"typed char equal to the blank", "a_b", "x_y", "xy", invalid, 3},
                {"acceptable", "(___)", "(123)", "123", QValidator::Acceptable, 0},
                {"intermediate", "(___)", "(12_)", "12", intermediate, 0},
                {"invalid", "(___)", "(1x_)", "1x", invalid, 5},
            });
    }

    // Judged on the typed characters only, against a three-digit pattern; the text stays.
    void validator()
    {
        QFETCH(QString, mask);
        QFETCH(QString, text);
        CXMaskEditValidator validator(mask, nullptr);
        validator.setRegExp(QRegExp("^\\d{3}$"));
        QTEST(validator.unmaskText(text), "unmasked");
        const QString before = text;
        int pos = 0;
        QTEST(int(validator.validate(text, pos)), "state");
        QTEST(pos, "pos");
        QCOMPARE(text, before);
    }

    // The host's patterns keep their QRegExp meaning under both Qt majors: whole match
    // Acceptable, a match cut short by the end of the input Intermediate, else Invalid with the
    // cursor at the end. The states are those of Qt 5's QRegExpValidator, which the Qt 5 build
    // also asks row by row.
    void regExpValidator_data()
    {
        const int invalid = QValidator::Invalid, intermediate = QValidator::Intermediate,
                  acceptable = QValidator::Acceptable;
        const int rx = QRegExp::RegExp, rx2 = QRegExp::RegExp2;
        addRows<QString, int, QString, int, int>({"pattern", "syntax", "input", "state", "pos"},
            {
                {"digits whole", "^\\d{3}$", rx, "123", acceptable, 1},
                {"digits short", "^\\d{3}$", rx, "12", intermediate, 1},
                {"digits long", "^\\d{3}$", rx, "1234", invalid, 4},
                {"letter among digits", "\\d{3}", rx, "1a", invalid, 2},
                {"no semicolon", "[^;]*", rx, "a;b", invalid, 3},
                {"empty input, empty pattern", "", rx, "", acceptable, 1},
                {"text, empty pattern", "", rx, "x", invalid, 1},
                {"alternation prefix", "abc|de", rx, "d", intermediate, 1},
                {"alternation crossed", "abc|de", rx, "abd", invalid, 3},
                {"case kept", "[A-Z]{2}", rx, "ab", invalid, 2},
                {"greedy RegExp", "(a*)(a|b)", rx, "aab", acceptable, 1},
                {"no lazy quantifier in RegExp2", "a*?b", rx2, "aab", invalid, 3},
                {"backreference", "(\\d)\\1", rx, "11", acceptable, 1},
                {"backreference broken", "(\\d)\\1", rx, "12", invalid, 2},
                {"unicode letter", "\\w+", rx, QString::fromUtf8("Ёж"), acceptable, 1},
                {"broken pattern, empty input", "(", rx, "", intermediate, 1},
                {"broken pattern, text", "(", rx, "(", invalid, 1},
            });
    }

    void regExpValidator()
    {
        QFETCH(QString, pattern);
        QFETCH(int, syntax);
        QFETCH(QString, input);
        const QRegExp regExp(pattern, Qt::CaseSensitive, QRegExp::PatternSyntax(syntax));
        CXRegExpValidator validator(regExp, nullptr);
        QString text = input;
        int pos = 1;
        QTEST(int(validator.validate(text, pos)), "state");
        QTEST(pos, "pos");
        QCOMPARE(text, input);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        QRegExpValidator qt(regExp, nullptr);
        int ownPos = 1, qtPos = 1;
        QCOMPARE(validator.validate(text, ownPos), qt.validate(text, qtPos));
        QCOMPARE(ownPos, qtPos);
#endif
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
                {"pasted plain", "paste", "9123456789", "9123456789", full, true},
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
        addRows<bool>({"byMouse"}, {{"mouse", true}, {"tab", false}});
    }

    void spinBoxSelectsAllOnFocus()
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
        QTest::keyClicks(box, "7");
        QCOMPARE(box->value(), 7.0);
    }
};

QTEST_MAIN(TestInputWidgets)
#include "tst_inputwidgets.moc"
