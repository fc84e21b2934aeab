#ifndef CXWPPAYMENT_H
#define CXWPPAYMENT_H

#include "icxwizardpage.h"

#include "boxcomprofile.h"
#include "currency.h"
#include "fixnumber.h"
#include "payment.h"
#include "provider.h"

#include <QPointer>
#include <QSharedPointer>
#include <QVariantMap>
#include <QWizardPage>

class CorvexPayWizard;
class CorvexPpv;
class CXWPSelectTemplate;
class QCheckBox;
class QLabel;
class Ui_CXWPPayment;

// The last page: the provider's form, filled from the chosen template when there is one, and
// the payment record that the wizard hands to the host after Finish.
class CXInputNote;

class CXWPPayment : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPPayment(QWizard *wizard);
    ~CXWPPayment() override;

    void initializePage() override;
    void cleanupPage() override;
    bool isComplete() const override;
    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

    // Read after Finish, while the widgets of the last visit still exist.
    Payment payment() const;
    bool immidiatlyPost() const;

    QSharedPointer<Provider> provider() const;
    QSharedPointer<Currency> currency() const;
    QSharedPointer<FixNumber> prepay() const;
    QSharedPointer<BoxComProfile> comProfile() const;

    void clearWidgets();

public slots:
    void changed(bool valid);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void focusForm();

private:
    CorvexPayWizard *payWizard() const;
    void retranslateVisit();

    Ui_CXWPPayment *ui;
    QPointer<CorvexPpv> m_form;
    QWidget *m_visit = nullptr;
    QPointer<QCheckBox> m_basket;
    // The chosen template's card, on the page rather than in the wizard's header: the header
    // keeps two lines of subtitle and would cut the card.
    QPointer<QLabel> m_card;
    QPointer<QLabel> m_info;
    // The card and the details side by side when the page is wide, one above the other when not.
    QPointer<QWidget> m_header;
    // The template page this visit came from, if any: it describes the chosen template.
    QPointer<CXWPSelectTemplate> m_template;
    // The input the form chose for the operator; the wizard focuses its own pick on a page change.
    QPointer<QWidget> m_focusField;
    QString m_comment;
    QVariantMap m_additionalData;
    bool m_formValid = false;
    // Says why Finish is grey: the form's fields that are wrong or missing, or no amount.
    CXInputNote *m_note = nullptr;
};

#endif // CXWPPAYMENT_H
