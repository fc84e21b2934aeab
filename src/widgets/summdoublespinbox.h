#ifndef SUMMDOUBLESPINBOX_H
#define SUMMDOUBLESPINBOX_H

#include <QDoubleSpinBox>

// An amount box that selects its whole text whenever it gains focus, so that whatever the
// operator types replaces the old amount.
class SummDoubleSpinBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit SummDoubleSpinBox(QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
};

#endif // SUMMDOUBLESPINBOX_H
