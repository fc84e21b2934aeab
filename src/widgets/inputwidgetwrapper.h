#ifndef INPUTWIDGETWRAPPER_H
#define INPUTWIDGETWRAPPER_H

#include <QPointer>
#include <QWidget>

// An input widget of the payment form, held through a guard: a widget destroyed elsewhere reads
// as missing instead of dangling.
class InputWidgetWrapper
{
public:
    InputWidgetWrapper() = default;
    explicit InputWidgetWrapper(QWidget *widget)
        : m_widget(widget)
    { }

    QWidget *widget() const { return m_widget.data(); }
    bool isNull() const { return m_widget.isNull(); }

private:
    QPointer<QWidget> m_widget;
};

#endif // INPUTWIDGETWRAPPER_H
