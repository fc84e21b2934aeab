#ifndef CORVEXPPV_H
#define CORVEXPPV_H

#include "boxcomprofile.h"
#include "currency.h"
#include "cxinputnote.h"
#include "fixnumber.h"
#include "inputwidgetwrapper.h"
#include "provider.h"
#include "providerparameter.h"

#include <QFont>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QSharedPointer>
#include <QString>
#include <QVariantList>
#include <QWidget>

class CXFitScrollArea;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class SummDoubleSpinBox;

// The input form of one payment to one provider, generated from the provider's parameters:
// labelled line edits, drop-downs and groups in a grid, then the three amount boxes "Summ",
// "Comission" and "To Account", kept in step through the terminal's commission profile.
class CorvexPpv : public QWidget
{
    Q_OBJECT

public:
    CorvexPpv(const QSharedPointer<Provider> &provider, const QSharedPointer<Currency> &currency,
        const QSharedPointer<FixNumber> &prepay, const QSharedPointer<BoxComProfile> &comProfile,
        const QFont &inputFont, QWidget *parent = nullptr);
    ~CorvexPpv() override;

    QSharedPointer<Currency> currency() const { return m_currency; }
    void setCurrency(QSharedPointer<Currency> &currency) { m_currency = currency; }

    // The amount credited to the provider and the commission on it.
    FixNumber summ() const;
    FixNumber comission() const;
    bool useBarcode() const { return !m_barcodeParams.isEmpty(); }
    // The entered value of the first field.
    QString account() const;
    // One detail map per top-level parameter, in order of parameter names, with entered values.
    QVariantList details() const;
    QPointer<QWidget> firstEdit() const;
    // Every input that keeps the form invalid, in the order of the rows, with what it expects
    // and whether the operator has typed into it or picked in it.
    QList<CXInputNote::Problem> problems() const;
    // Puts `header` above the parameters, where it scrolls with them.
    void setHeader(QWidget *header);
    void prepareParam(ProviderParameter &parameter) const;

    // Provider mask letters rewritten into the line edit's mask language, with a bullet as the
    // blank character unless the mask names its own.
    static QString translateMask(const QString &mask);

signals:
    void changed(bool valid);
    void amountChanged();
    void barcodeError(const QString &msg);
    void barcodeValid();

public slots:
    void check();
    void barcodeChanged(const QString &val);
    void validatorsChanged();
    void sumChanged(double);
    void editingFinished();
    void prepareSummToPay(const QString &text);

protected:
    void createWidgets(const QList<ProviderParameter> &parameters, const QString &barcode);
    QPointer<QWidget> createWidget(
        const ProviderParameter &parameter, QGridLayout *grid, int level);
    QPointer<QWidget> createLineEdit(
        const ProviderParameter &parameter, QGridLayout *grid, int level);
    QPointer<QWidget> createComboBox(
        const ProviderParameter &parameter, QGridLayout *grid, int level);
    void createGroupBox(const ProviderParameter &parameter, QGridLayout *grid, int level);
    void prepareSummToPay(QLineEdit *edit, bool disabled);
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    unsigned int multiplier() const;
    FixNumber amountOf(const SummDoubleSpinBox *box) const;
    FixNumber comissionOn(const FixNumber &amount, bool inner) const;
    QString enteredValue(const QWidget *widget) const;
    void prepareItems(ProviderParameter &parameter) const;
    void markFirstField(const ProviderParameter &parameter, int level);
    // The input's row and its name for the operator, for the words under the form.
    void nameInput(QWidget *input, const ProviderParameter &parameter);
    void retranslateTexts();
    bool acceptable(const QString &name, const QWidget *widget) const;
    // Puts text into a field, or, when the field's mask, length or pattern would cut, change or
    // refuse it,
    // leaves the field empty and marks it refused: invalid, and named in the note, until the
    // operator types into it. A code chosen by the customer never turns into another one.
    void fill(QLineEdit *edit, const ProviderParameter &parameter, const QString &text, bool typed);
    void showRefused();
    SummDoubleSpinBox *addAmountRow(
        QGridLayout *grid, int row, const QString &label, const QString &name);
    void alignLabels();

    QPointer<SummDoubleSpinBox> m_summBox;
    QPointer<SummDoubleSpinBox> m_toAccountBox;
    QPointer<SummDoubleSpinBox> m_comissionBox;
    QSharedPointer<Currency> m_currency;
    QSharedPointer<FixNumber> m_prepay;
    QSharedPointer<BoxComProfile> m_comProfile;
    QSharedPointer<Provider> m_provider;
    int m_firstPos = -1;
    QString m_firstName;
    QMap<QString, ProviderParameter> m_params;
    QMap<QString, InputWidgetWrapper> m_widgets;
    QList<ProviderParameter> m_barcodeParams;
    QFont m_inputFont;
    // Fields whose given value did not fit, by name: the parameter's label and the value.
    QMap<QString, QPair<QString, QString>> m_refused;
    QPointer<QLabel> m_refusedNote;
    // Each input's name for the operator: its parameter's label, or the parameter's name.
    QMap<QString, QString> m_titles;
    QSet<const QWidget *> m_touched;
    // The parameters scroll in their own area; the amount boxes below it stay in view.
    QPointer<CXFitScrollArea> m_parameterArea;
    QGridLayout *m_grid = nullptr;
    QGridLayout *m_amountGrid = nullptr;
    int m_noteRow = 0;
};

#endif // CORVEXPPV_H
