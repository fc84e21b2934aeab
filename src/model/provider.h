#ifndef PROVIDER_H
#define PROVIDER_H

#include "corvexmodel_global.h"
#include "fixnumber.h"
#include "providerparameter.h"
#include "providersgroup.h"

#include <QList>
#include <QMetaType>
#include <QString>

// A payee as the host's catalogue describes it.
class CORVEXMODEL_EXPORT Provider
{
public:
    Provider() = default;

    qint64 id() const { return m_id; }
    void setId(const qint64 &id) { m_id = id; }
    qint64 baseProviderId() const { return m_baseProviderId; }
    void setBaseProviderId(const qint64 &baseProviderId) { m_baseProviderId = baseProviderId; }
    ProvidersGroup group() const { return m_group; }
    void setGroup(const ProvidersGroup &group) { m_group = group; }
    qint64 groupId() const { return m_group.id(); }
    QString groupName() const { return m_group.name(); }
    qint64 dealerId() const { return m_dealerId; }
    void setDealerId(const qint64 &dealerId) { m_dealerId = dealerId; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString aliases() const { return m_aliases; }
    void setAliases(const QString &aliases) { m_aliases = aliases; }
    QString services() const { return m_services; }
    void setServices(const QString &services) { m_services = services; }
    QString region() const { return m_region; }
    void setRegion(const QString &region) { m_region = region; }
    QString legalName() const { return m_legalName; }
    void setLegalName(const QString &legalName) { m_legalName = legalName; }
    QString checkName() const { return m_checkName; }
    void setCheckName(const QString &checkName) { m_checkName = checkName; }
    QString description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }
    QString inn() const { return m_inn; }
    void setInn(const QString &inn) { m_inn = inn; }
    QString address() const { return m_address; }
    void setAddress(const QString &address) { m_address = address; }
    QString site() const { return m_site; }
    void setSite(const QString &site) { m_site = site; }
    QString imageHash() const { return m_imageHash; }
    void setImageHash(const QString &imageHash) { m_imageHash = imageHash; }
    QString imageFileName() const { return m_imageFileName; }
    void setImageFileName(const QString &imageFileName) { m_imageFileName = imageFileName; }
    QString phones() const { return m_phones; }
    void setPhones(const QString &phones) { m_phones = phones; }
    bool noFiscalDoc() const { return m_noFiscalDoc; }
    void setNoFiscalDoc(bool noFiscalDoc) { m_noFiscalDoc = noFiscalDoc; }
    bool noBonus() const { return m_noBonus; }
    void setNoBonus(bool noBonus) { m_noBonus = noBonus; }
    bool splitByCommission() const { return m_splitByCommission; }
    void setSplitByCommission(bool splitByCommission) { m_splitByCommission = splitByCommission; }
    bool printTwoSplittedDoc() const { return m_printTwoSplittedDoc; }
    void setPrintTwoSplittedDoc(bool printTwoSplittedDoc)
    {
        m_printTwoSplittedDoc = printTwoSplittedDoc;
    }
    bool blocked() const { return m_blocked; }
    void setBlocked(bool blocked) { m_blocked = blocked; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    QList<ProviderParameter> parameters() const { return m_parameters; }
    // The payment page writes the entered values straight into the stored parameters.
    QList<ProviderParameter> &parameters() { return m_parameters; }
    void setParameters(const QList<ProviderParameter> &parameters) { m_parameters = parameters; }
    QString icon() const { return m_icon; }
    void setIcon(const QString &icon) { m_icon = icon; }
    QString barcode() const { return m_barcode; }
    void setBarcode(const QString &barcode) { m_barcode = barcode; }
    FixNumber fixedSumm() const { return m_fixedSumm; }
    void setFixedSumm(const FixNumber &fixedSumm) { m_fixedSumm = fixedSumm; }
    qint64 relevance() const { return m_relevance; }
    void setRelevance(const qint64 &relevance) { m_relevance = relevance; }

    bool operator==(const Provider &other) const;
    bool operator!=(const Provider &other) const { return !(*this == other); }

private:
    qint64 m_id = -1;
    qint64 m_baseProviderId = -1;
    ProvidersGroup m_group;
    qint64 m_dealerId = -1;
    QString m_name;
    QString m_aliases;
    QString m_services;
    QString m_region;
    QString m_legalName;
    QString m_checkName;
    QString m_description;
    QString m_inn;
    QString m_address;
    QString m_site;
    QString m_imageHash;
    QString m_imageFileName;
    QString m_phones;
    bool m_noFiscalDoc = false;
    bool m_noBonus = false;
    bool m_splitByCommission = false;
    bool m_printTwoSplittedDoc = false;
    bool m_blocked = false;
    bool m_enabled = false;
    QList<ProviderParameter> m_parameters;
    QString m_icon;
    QString m_barcode;
    FixNumber m_fixedSumm;
    qint64 m_relevance = 0;
};

Q_DECLARE_METATYPE(Provider)

#endif // PROVIDER_H
