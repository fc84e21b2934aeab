#ifndef CORVEXPAYWIZARD_H
#define CORVEXPAYWIZARD_H

#include "ipaydialog.h"

#include "boxcomprofile.h"
#include "boxinfo.h"
#include "currency.h"
#include "fixnumber.h"
#include "provider.h"

#include <QFont>
#include <QHash>
#include <QSharedPointer>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QWizard>

class CXWPMsgSender;
class Ui_CorvexPayWizard;

class CorvexPayWizard : public QWizard, public IPayDialog
{
    Q_OBJECT

public:
    // A page's kind is its id modulo 16: a kind entered again gets the id plus a multiple of 16.
    enum EPages {
        PageActionSelect = 0,
        PageRegistrationBase = 1,
        PageRegistrationDocuments = 2,
        PageRegistrationAddress = 3,
        PagePrepareAllTemplatesRequest = 4,
        PageCheckParams = 5,
        PageRegistreTemplate = 6,
        PageSelectTemplate = 7,
        PageMsgSender = 14,
        PagePayment = 15
    };

    CorvexPayWizard(const QFont &inputFont, const Currency &currency, const FixNumber &prepay,
        QWidget *parent = nullptr);
    ~CorvexPayWizard() override;

    Payment payment() const override;
    bool immidiatlyPost() const override;
    qint64 providerId() const override;
    qint64 newProviderId() const override;
    bool needChangeProvider() const override;
    bool execute() override;
    bool setTemplatesConnection(QObject *object, const char *member) override;
    bool setMessageReciever(QObject *receiver, const char *signal) override;
    bool setMessageSender(QObject *sender, const char *method) override;

    int checkAndAddPage(EPages id);
    // The id under which a page of `wizard` enters the next page of `kind`: checkAndAddPage()
    // on a payment wizard, the kind itself on any other wizard.
    static int pageIdFor(QWizard *wizard, EPages kind);

    // QWizard keeps only the first registration of a field name, so a second page of a kind
    // would register fields that are no longer mandatory. The first request for a name returns
    // it unchanged; later ones insert "#2", "#3"... before a trailing "*".
    QString uniqueFieldName(const QString &name);
    // The same on a payment wizard; the name itself on any other wizard.
    static QString fieldNameFor(QWizard *wizard, const QString &name);

    QSharedPointer<Provider> provider() const { return m_provider; }
    void setProvider(const Provider &provider);
    QSharedPointer<BoxComProfile> comProfile() const { return m_comProfile; }
    void setComProfile(const BoxComProfile &comProfile);
    QSharedPointer<Currency> currency() const { return m_currency; }
    QSharedPointer<FixNumber> prepay() const { return m_prepay; }
    QFont inputFont() const { return m_inputFont; }
    void setInputFont(const QFont &inputFont) { m_inputFont = inputFont; }
    BoxInfo info() const { return m_info; }
    void setInfo(const BoxInfo &info) { m_info = info; }
    QString phone() const { return m_phone; }
    void setPhone(const QString &phone) { m_phone = phone; }

    // Before the first show, unless the host has sized the window: the size at which the first
    // page needs no scrolling, within the screen.
    void setVisible(bool visible) override;

public slots:
    // Ends the dialog once: the second press of a double-click on Finish may come before the
    // window is gone, and must not hand the host the payment again.
    void done(int result) override;
    // Cancel and Esc: a payment the operator has typed into is discarded only when confirmed.
    void reject() override;

signals:
    void incomingMessage(const QVariantMap &headers, const QString &message);
    void sendMessage(const QString &destination, const QVariant &data);

protected:
    void changeEvent(QEvent *event) override;
    void initializePage(int id) override;

private:
    QWizardPage *createPage(EPages kind);
    void connectSender(CXWPMsgSender *sender);
    bool hasTypedInput() const;
    void fitCurrentPage();
    // No Back on a sender page whose request changes the service while it waits for the reply
    // or once it has been accepted: going back and on would send it again.
    void keepBack();
    // The commit button reads as Next: the service has acted already, nothing is left to confirm.
    void nameCommitButton();

    Ui_CorvexPayWizard *ui;
    QSharedPointer<Provider> m_provider;
    QSharedPointer<BoxComProfile> m_comProfile;
    QSharedPointer<Currency> m_currency;
    QSharedPointer<FixNumber> m_prepay;
    QFont m_inputFont;
    BoxInfo m_info;
    QString m_phone;
    QHash<QString, int> m_fieldNameUses;
    // Whether the wizard sizes its window itself: the host gave it no size.
    bool m_fitsPages = false;
};

#endif // CORVEXPAYWIZARD_H
