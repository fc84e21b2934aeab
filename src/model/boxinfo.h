#ifndef BOXINFO_H
#define BOXINFO_H

#include "corvexmodel_global.h"
#include "currency.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

// The terminal (box) and the dealer that operates it, as the host describes them.
class CORVEXMODEL_EXPORT BoxInfo
{
public:
    BoxInfo() = default;
    BoxInfo(const BoxInfo &) = default;
    BoxInfo(BoxInfo &&) = default;
    BoxInfo &operator=(const BoxInfo &) = default;
    BoxInfo &operator=(BoxInfo &&) = default;
    ~BoxInfo() = default;

    bool isValid() const;

    long long dealerId() const { return m_dealerId; }
    void setDealerId(const long long &dealerId) { m_dealerId = dealerId; }
    long long boxId() const { return m_boxId; }
    void setBoxId(const long long &boxId) { m_boxId = boxId; }
    int hwSwId() const { return m_hwSwId; }
    void setHwSwId(const int &hwSwId) { m_hwSwId = hwSwId; }
    int metadataVersion() const { return m_metadataVersion; }
    void setMetadataVersion(const int &metadataVersion) { m_metadataVersion = metadataVersion; }
    Currency currency() const { return m_currency; }
    void setCurrency(const Currency &currency) { m_currency = currency; }
    QDateTime activationDt() const { return m_activationDt; }
    void setActivationDt(const QDateTime &activationDt) { m_activationDt = activationDt; }
    long long lastCheckNumber() const { return m_lastCheckNumber; }
    void setLastCheckNumber(const long long &lastCheckNumber)
    {
        m_lastCheckNumber = lastCheckNumber;
    }
    QString dealerName() const { return m_dealerName; }
    void setDealerName(const QString &dealerName) { m_dealerName = dealerName; }
    QString dealerAddress() const { return m_dealerAddress; }
    void setDealerAddress(const QString &dealerAddress) { m_dealerAddress = dealerAddress; }
    QString dealerEMail() const { return m_dealerEMail; }
    void setDealerEMail(const QString &dealerEMail) { m_dealerEMail = dealerEMail; }
    QString dealerInn() const { return m_dealerInn; }
    void setDealerInn(const QString &dealerInn) { m_dealerInn = dealerInn; }
    QString dealerPhone() const { return m_dealerPhone; }
    void setDealerPhone(const QString &dealerPhone) { m_dealerPhone = dealerPhone; }
    QString boxAddress() const { return m_boxAddress; }
    void setBoxAddress(const QString &boxAddress) { m_boxAddress = boxAddress; }
    QString boxDescr() const { return m_boxDescr; }
    void setBoxDescr(const QString &boxDescr) { m_boxDescr = boxDescr; }
    QString supportPhone() const { return m_supportPhone; }
    void setSupportPhone(const QString &supportPhone) { m_supportPhone = supportPhone; }

private:
    long long m_dealerId = -1;
    long long m_boxId = -1;
    int m_hwSwId = -1;
    int m_metadataVersion = -1;
    Currency m_currency;
    QDateTime m_activationDt;
    long long m_lastCheckNumber = 0;
    QString m_dealerName;
    QString m_dealerAddress;
    QString m_dealerEMail;
    QString m_dealerInn;
    QString m_dealerPhone;
    QString m_boxAddress;
    QString m_boxDescr;
    QString m_supportPhone;
};

Q_DECLARE_METATYPE(BoxInfo)

#endif // BOXINFO_H
