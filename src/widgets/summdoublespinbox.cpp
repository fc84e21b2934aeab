#include "summdoublespinbox.h"

#include <QCoreApplication>
#include <QFocusEvent>

SummDoubleSpinBox::SummDoubleSpinBox(QWidget *parent)
    : QDoubleSpinBox(parent)
{ }

void SummDoubleSpinBox::focusInEvent(QFocusEvent *event)
{
    QDoubleSpinBox::focusInEvent(event);
    selectAll();
    // A mouse press that gave the focus is handled after this event and would place the cursor;
    // a second focus-in, posted behind it, selects everything again. It carries the tab reason,
    // so it posts nothing further.
    if (event->reason() != Qt::TabFocusReason)
        QCoreApplication::postEvent(this, new QFocusEvent(QEvent::FocusIn, Qt::TabFocusReason));
}

void SummDoubleSpinBox::changeEvent(QEvent *event)
{
    QDoubleSpinBox::changeEvent(event);
}
