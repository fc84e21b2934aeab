#include "cxinputnote.h"

#include "cxphonewidget.h"
#include "cxregexpvalidator.h"

#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QRegularExpression>
#include <QTimer>

namespace {

const QString ERROR_STYLE = QStringLiteral("color: rgb(170, 0, 0)");
const int MAX_LINES = 4;

enum Kind { Digit, Letter, Character };

// "10 digits", "up to 10 digits", "1 to 10 digits", "at least 3 digits"; `high` below 0 is no
// upper bound.
QString count(Kind kind, int low, int high)
{
    if (high < 0) {
        switch (kind) {
        case Digit:
            return CXInputNote::tr("at least %n digits", nullptr, low);
        case Letter:
            return CXInputNote::tr("at least %n letters", nullptr, low);
        case Character:
            return CXInputNote::tr("at least %n characters", nullptr, low);
        }
    }
    if (low == high) {
        switch (kind) {
        case Digit:
            return CXInputNote::tr("%n digits", nullptr, high);
        case Letter:
            return CXInputNote::tr("%n letters", nullptr, high);
        case Character:
            return CXInputNote::tr("%n characters", nullptr, high);
        }
    }
    if (low == 0) {
        switch (kind) {
        case Digit:
            return CXInputNote::tr("up to %n digits", nullptr, high);
        case Letter:
            return CXInputNote::tr("up to %n letters", nullptr, high);
        case Character:
            return CXInputNote::tr("up to %n characters", nullptr, high);
        }
    }
    switch (kind) {
    case Digit:
        return CXInputNote::tr("%1 to %n digits", nullptr, high).arg(low);
    case Letter:
        return CXInputNote::tr("%1 to %n letters", nullptr, high).arg(low);
    case Character:
        break;
    }
    return CXInputNote::tr("%1 to %n characters", nullptr, high).arg(low);
}

} // namespace

// A line edit with a mask validator is judged on its displayed text, whose blanks keep the typed
// characters in their places.
bool CXInputNote::acceptable(const QWidget *input, bool required)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(input)) {
        bool fits = edit->hasAcceptableInput();
        if (const QValidator *validator = edit->validator()) {
            QString text = edit->displayText();
            int pos = 0;
            fits = validator->validate(text, pos) == QValidator::Acceptable;
        }
        return fits && !(required && edit->text().isEmpty());
    }
    if (const auto *box = qobject_cast<const QAbstractSpinBox *>(input))
        return box->hasAcceptableInput();
    if (const auto *combo = qobject_cast<const QComboBox *>(input))
        return combo->currentIndex() >= 0;
    return true;
}

CXInputNote::CXInputNote(QWidget *page)
    : QLabel(page)
{
    setObjectName(QStringLiteral("lInputNote"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    hide();
    if (auto *box = qobject_cast<QBoxLayout *>(page ? page->layout() : nullptr))
        box->addWidget(this);
    else if (auto *grid = qobject_cast<QGridLayout *>(page ? page->layout() : nullptr))
        grid->addWidget(this, grid->rowCount(), 0, 1, -1);
}

void CXInputNote::watch(QWidget *input, QLabel *title, bool required)
{
    if (!input)
        return;
    m_watched.append({input, title, required});
    input->installEventFilter(this);
    // A spin box or a date edit types into a line edit of its own.
    auto *edit = qobject_cast<QLineEdit *>(input);
    if (!edit)
        edit = input->findChild<QLineEdit *>();
    if (edit)
        connect(edit, &QLineEdit::textChanged, this, &CXInputNote::refresh);
    if (auto *combo = qobject_cast<QComboBox *>(input)) {
        connect(
            combo, qOverload<int>(&QComboBox::currentIndexChanged), this, &CXInputNote::refresh);
    }
    // A row taken off the page leaves the note at the next turn of the event loop, when its
    // page is no longer half destroyed.
    connect(input, &QObject::destroyed, this, [this, input] {
        m_touched.remove(input);
        QTimer::singleShot(0, this, &CXInputNote::refresh);
    });
    refresh();
}

void CXInputNote::watch(CXPhoneWidget *phone)
{
    watch(phone->findChild<QLineEdit *>(), phone->findChild<QLabel *>(), true);
}

QList<CXInputNote::Problem> CXInputNote::problems() const
{
    QList<Problem> found;
    for (const Watched &watched : m_watched) {
        if (!watched.input || acceptable(watched.input, watched.required))
            continue;
        QString expects = tr("a valid value");
        if (const auto *edit = qobject_cast<const QLineEdit *>(watched.input.data()))
            expects = CXInputNote::expects(edit, watched.required);
        else if (qobject_cast<const QAbstractSpinBox *>(watched.input.data()))
            expects = tr("a full date, today or earlier");
        else if (qobject_cast<const QComboBox *>(watched.input.data()))
            expects = tr("choose one");
        found.append({watched.title ? fieldName(watched.title->text()) : QString(), expects,
            m_touched.contains(watched.input.data())});
    }
    if (m_source)
        found += m_source();
    return found;
}

void CXInputNote::refresh()
{
    const QList<Problem> all = problems();
    QStringList touched, untouched;
    for (const Problem &problem : all) {
        const QString line = problem.field.isEmpty()
            ? problem.expects
            : QStringLiteral("%1: %2").arg(problem.field, problem.expects);
        (problem.touched ? touched : untouched) << line;
    }
    // The operator's own mistakes first and alone; what is merely still missing is named
    // calmly, and only while nothing typed is wrong.
    QStringList lines = touched.isEmpty() ? untouched : touched;
    // A long form does not lose its room to the note: the first inputs named, then how many more.
    if (lines.size() > MAX_LINES) {
        const int more = int(lines.size()) - (MAX_LINES - 1);
        lines = lines.mid(0, MAX_LINES - 1) << tr("and %n more", nullptr, more);
    }
    const QString style = touched.isEmpty() ? QString() : ERROR_STYLE;
    if (styleSheet() != style)
        setStyleSheet(style);
    const QString text = lines.join(QLatin1Char('\n'));
    if (this->text() != text)
        setText(text);
    setVisible(!lines.isEmpty());
}

// Any key that edits makes the input the operator's; moving through it does not.
bool CXInputNote::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Return
            && key != Qt::Key_Enter && key != Qt::Key_Escape)
            m_touched.insert(watched);
    }
    return QLabel::eventFilter(watched, event);
}

void CXInputNote::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    // The field names are read from their labels, which their pages translate in the same round
    // of events: read once all of them are done.
    if (event->type() == QEvent::LanguageChange)
        QTimer::singleShot(0, this, &CXInputNote::refresh);
}

QString CXInputNote::expects(const QLineEdit *edit, bool required)
{
    QString words;
    if (const auto *validator = qobject_cast<const CXRegExpValidator *>(edit->validator()))
        words = patternWords(validator->regExp().pattern());
    if (words.isEmpty())
        words = maskWords(edit->inputMask());
    if (words.isEmpty())
        words = required && edit->text().isEmpty() ? tr("required") : tr("a valid value");
    return words;
}

QString CXInputNote::patternWords(const QString &pattern)
{
    // One class of characters, at most once quantified, anchored or not: "^\d{10}$",
    // "[0-9]{2,4}", "[A-Za-z]+".
    static const QRegularExpression simple(
        QStringLiteral("^\\^?(\\\\d|\\[0-9\\]|\\[A-Za-z\\]|\\[a-zA-Z\\]|\\[A-Z\\]|\\[a-z\\]|\\.)"
                       "(?:\\{(\\d+)(,(\\d*))?\\}|([+?]))?\\$?$"));
    const QRegularExpressionMatch match = simple.match(pattern);
    if (!match.hasMatch())
        return QString();
    const QString unit = match.captured(1);
    const Kind kind = unit == QLatin1String("\\d") || unit == QLatin1String("[0-9]") ? Digit
        : unit == QLatin1String(".")                                                 ? Character
                                                                                     : Letter;
    int low = 1, high = 1;
    if (!match.captured(2).isEmpty()) {
        low = match.captured(2).toInt();
        high = match.captured(3).isEmpty() ? low
            : match.captured(4).isEmpty()  ? -1
                                           : match.captured(4).toInt();
    } else if (match.captured(5) == QLatin1String("+")) {
        high = -1;
    } else if (match.captured(5) == QLatin1String("?")) {
        low = 0;
    }
    if (high == 0 || (high > 0 && high < low))
        return QString();
    return count(kind, low, high);
}

QString CXInputNote::maskWords(const QString &mask)
{
    // The mask itself, without the blank character that follows its last ";".
    QString places = mask;
    const int blank = places.lastIndexOf(QLatin1Char(';'));
    if (blank > 0 && places.at(blank - 1) != QLatin1Char('\\'))
        places.truncate(blank);
    QList<Kind> order;
    QMap<Kind, QPair<int, int>> counts; // required and all places of each kind
    const QString required = QStringLiteral("9DANXHB"), optional = QStringLiteral("0d#anxhb");
    for (int i = 0; i < places.size(); ++i) {
        const QChar c = places.at(i);
        if (c == QLatin1Char('\\')) {
            ++i; // an escaped character is shown as it is
            continue;
        }
        if (!required.contains(c) && !optional.contains(c))
            continue;
        const Kind kind = QStringLiteral("9D0d#").contains(c) ? Digit
            : QStringLiteral("Aa").contains(c)                ? Letter
                                                              : Character;
        if (!counts.contains(kind))
            order << kind;
        QPair<int, int> &n = counts[kind];
        n.first += required.contains(c) ? 1 : 0;
        ++n.second;
    }
    QStringList words;
    for (Kind kind : order)
        words << count(kind, counts.value(kind).first, counts.value(kind).second);
    return words.join(QStringLiteral(", "));
}

QString CXInputNote::fieldName(const QString &labelText)
{
    // "&&" shows one "&"; a single "&" marks the shortcut key and is not shown.
    QString name = labelText;
    name.replace(QLatin1String("&&"), QString(QChar(0x1)));
    name.remove(QLatin1Char('&'));
    name.replace(QChar(0x1), QLatin1Char('&'));
    name = name.trimmed();
    while (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}
