#ifndef CXPHONEWIDGET_H
#define CXPHONEWIDGET_H

#include <QString>
#include <QWidget>

class QFont;
class Ui_CXPhoneWidget;

// A labelled input for a customer's mobile phone: ten digits after the fixed "8(".
class CXPhoneWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString phone READ phone WRITE setPhone NOTIFY textChanged USER true)

public:
    explicit CXPhoneWidget(QWidget *parent = nullptr);
    ~CXPhoneWidget() override;

    // The digits typed, without the mask's characters: the number as it is sent.
    QString phone() const;
    QString preparePhone() const;
    // The number as the operator sees it, mask literals included.
    QString maskedPhone() const;
    bool isValid() const;
    void setPhone(const QString &phone);
    void setInputFont(const QFont &font);

    // The ten digits of a number written in any common way ("+7 912 345-67-89",
    // "8(912)345-67-89", "9123456789"): digits only, without the country prefix of an
    // eleven-digit number.
    static QString normalizedPhone(const QString &text);

signals:
    void textChanged(const QString &phone);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Ui_CXPhoneWidget *ui;
};

#endif // CXPHONEWIDGET_H
