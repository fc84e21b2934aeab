#ifndef TESTUTIL_H
#define TESTUTIL_H

#include "fixnumber.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QtTest>

#ifdef QT_WIDGETS_LIB
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QWizard>
#endif

#include <initializer_list>
#include <limits>
#include <tuple>

// Declares the columns of a data table and adds one row per tuple, so that short rows can share
// a line. The first element of a tuple is the row's name, the others fill the columns in order.
template<typename... T>
void addRows(std::initializer_list<const char *> columns,
    std::initializer_list<std::tuple<const char *, T...>> rows)
{
    Q_ASSERT(columns.size() == sizeof...(T));
    auto column = columns.begin();
    (QTest::addColumn<T>(*column++), ...);
    for (const auto &row : rows) {
        std::apply(
            [](const char *name, const T &...values) { (QTest::newRow(name) << ... << values); },
            row);
    }
}

// The compact JSON text of a map: keys, values and their kinds (number, text, flag) at once.
inline QString toJson(const QVariantMap &map)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonObject::fromVariantMap(map)).toJson(QJsonDocument::Compact));
}

// The largest and the smallest unit count an amount holds.
inline constexpr long long maxUnits = std::numeric_limits<long long>::max();
inline constexpr long long minUnits = std::numeric_limits<long long>::min();

// The exact multiplier and unit count of an amount; FixNumber's own == tolerates another scale.
using Raw = QPair<unsigned int, long long>;
inline Raw raw(const FixNumber &number)
{
    return {number.realMultiplier(), number.value()};
}

// A failed comparison of amounts shows the text, the unit count and the multiplier.
namespace QTest {
template<> inline char *toString(const FixNumber &number)
{
    return qstrdup(QStringLiteral("%1 (%2 units at %3)")
                       .arg(number.toString(QLatin1Char('.')))
                       .arg(number.value())
                       .arg(number.realMultiplier())
                       .toUtf8()
                       .constData());
}
} // namespace QTest

#ifdef QT_WIDGETS_LIB
// What an operator does: clicks, types, and presses the wizard's buttons.
namespace Operator {
inline void click(QWidget *widget)
{
    // Radio buttons and check boxes take clicks on their indicator and text only, not across
    // the whole row a layout gives them.
    if (qobject_cast<QRadioButton *>(widget) || qobject_cast<QCheckBox *>(widget))
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    else
        QTest::mouseClick(widget, Qt::LeftButton);
}

// Clicks into the field first, as an operator would, then types.
inline void type(QWidget *widget, const QString &text)
{
    widget->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(widget, text);
}

// Presses a wizard button; false (and no click) when it is hidden or disabled.
inline bool press(QWizard *wizard, QWizard::WizardButton which)
{
    QAbstractButton *button = wizard->button(which);
    if (!button->isVisible() || !button->isEnabled())
        return false;
    click(button);
    return true;
}

// The words under a page's inputs as the operator reads them; empty while they are hidden.
inline QString note(QWidget *page)
{
    const auto *label = page->findChild<QLabel *>("lInputNote");
    return label && !label->isHidden() ? label->text() : QString();
}

// Next, or Commit where the page shows that in its place.
inline bool next(QWizard *wizard)
{
    const bool commit = wizard->button(QWizard::CommitButton)->isVisible();
    return press(wizard, commit ? QWizard::CommitButton : QWizard::NextButton);
}

inline bool finish(QWizard *wizard)
{
    return press(wizard, QWizard::FinishButton);
}

// A mouse's double-click: the second press comes as a double-click event.
inline void doubleClick(QWidget *widget)
{
    for (auto action : {QTest::MouseClick, QTest::MouseDClick, QTest::MouseRelease})
        QTest::mouseEvent(action, widget, Qt::LeftButton, {}, QPoint());
}
} // namespace Operator
#endif

// The objects that receive paint events while it watches them, in order.
struct PaintSpy : QObject
{
    QList<QObject *> painted;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted << watched;
        return false;
    }
};

// Counts the LanguageChange events the application receives.
class LanguageChanges : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange && watched == QCoreApplication::instance())
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

// A folder of the Qt the test runs on: QLibraryInfo::location() became path() in Qt 6.
inline QString qtFolder(decltype(QLibraryInfo::TranslationsPath) which)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(which);
#else
    return QLibraryInfo::location(which);
#endif
}

#endif // TESTUTIL_H
