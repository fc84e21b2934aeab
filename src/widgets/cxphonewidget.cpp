#include "cxphonewidget.h"
#include "ui_cxphonewidget.h"

#include "cxmaskeditvalidator.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QRegExp>

namespace {
const QChar BULLET(0x2022);
}

CXPhoneWidget::CXPhoneWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui_CXPhoneWidget)
{
    ui->setupUi(this);
    ui->lePhone->setInputMask(QStringLiteral("8(999)999-99-99;") + BULLET);
    auto *validator = new CXMaskEditValidator(ui->lePhone->displayText(), ui->lePhone);
    validator->setRegExp(QRegExp(QStringLiteral("^\\d{10}$")));
    ui->lePhone->setValidator(validator);
    connect(ui->lePhone, &QLineEdit::textChanged, this, &CXPhoneWidget::textChanged);
    ui->lePhone->installEventFilter(this);
}

CXPhoneWidget::~CXPhoneWidget()
{
    delete ui;
}

QString CXPhoneWidget::phone() const
{
    return preparePhone();
}

QString CXPhoneWidget::preparePhone() const
{
    // text() drops the blanks of a partly typed number, which shifts the digits against the
    // mask's template; displayText() keeps every position, so only typed digits come back.
    if (const auto *validator = qobject_cast<const CXMaskEditValidator *>(ui->lePhone->validator()))
        return validator->unmaskText(ui->lePhone->displayText());
    return ui->lePhone->text();
}

QString CXPhoneWidget::maskedPhone() const
{
    return ui->lePhone->text();
}

bool CXPhoneWidget::isValid() const
{
    const QValidator *validator = ui->lePhone->validator();
    if (!validator)
        return true;
    QString text = ui->lePhone->displayText();
    int pos = 0;
    return validator->validate(text, pos) == QValidator::Acceptable;
}

void CXPhoneWidget::setPhone(const QString &phone)
{
    // The mask's leading literal "8(" is written too: a number that itself starts with 8 would
    // otherwise have its first digit taken for the literal.
    ui->lePhone->setText(QStringLiteral("8(") + normalizedPhone(phone));
    ui->lePhone->setCursorPosition(2);
}

void CXPhoneWidget::setInputFont(const QFont &font)
{
    ui->lePhone->setFont(font);
}

void CXPhoneWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The mask is not a translatable text: a language change re-applies the title and the label
    // and keeps the mask with its bullets, so a typed number and its unmasking survive.
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

QString CXPhoneWidget::normalizedPhone(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    }
    if (digits.size() == 11
        && (digits.startsWith(QLatin1Char('7')) || digits.startsWith(QLatin1Char('8'))))
        digits.remove(0, 1);
    return digits;
}

// A number pasted as it is written elsewhere ("+7 912 345-67-89") would go through the mask
// character by character and land shifted, the 7 of "+7" taken for the first digit.
bool CXPhoneWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->lePhone && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        const QString pasted = QApplication::clipboard()->text();
        const QString digits = normalizedPhone(pasted);
        if (digits.size() == 10)
            setPhone(digits);
        else
            ui->lePhone->insert(digits);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
