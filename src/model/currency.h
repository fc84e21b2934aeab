#ifndef CURRENCY_H
#define CURRENCY_H

#include "corvexmodel_global.h"

#include <QMetaType>
#include <QString>

class FixNumber;

// The currency the terminal takes payments in, and how its unit counts read as text.
class CORVEXMODEL_EXPORT Currency
{
public:
    Currency() = default;
    Currency(const Currency &) = default;
    Currency(Currency &&) = default;
    Currency &operator=(const Currency &) = default;
    Currency &operator=(Currency &&) = default;
    ~Currency() = default;

    int number3() const { return m_number3; }
    void setNumber3(const int &number3) { m_number3 = number3; }
    QString alpha3() const { return m_alpha3; }
    void setAlpha3(const QString &alpha3) { m_alpha3 = alpha3; }
    int realMultiplier() const { return m_realMultiplier; }
    void setRealMultiplier(const int &realMultiplier) { m_realMultiplier = realMultiplier; }
    QString locale() const { return m_locale; }
    void setLocale(const QString &locale) { m_locale = locale; }
    void setCurrencySymbol(const QString &currencySymbol) { m_currencySymbol = currencySymbol; }
    QString extSymbol() const { return m_extSymbol; }
    void setExtSymbol(const QString &extSymbol) { m_extSymbol = extSymbol; }

    bool isValid() const;
    int decimals() const;

    double valueToDouble(long long value) const;
    long long doubleToValue(double value) const;
    QString valueToString(long long value) const;
    QString valueToString(long long value, bool useAlpha3) const;

    QString currencyName() const;
    QString currencySymbol() const;

    bool operator==(const Currency &other) const;
    bool operator!=(const Currency &other) const;
    bool operator>(const Currency &other) const;
    bool operator<(const Currency &other) const;
    bool operator>=(const Currency &other) const;
    bool operator<=(const Currency &other) const;

private:
    unsigned int multiplier() const;
    FixNumber amount(long long value) const;
    bool hasLocale() const;

    int m_number3 = 0;
    QString m_alpha3;
    int m_realMultiplier = 0;
    QString m_locale;
    QString m_currencySymbol;
    QString m_extSymbol;
};

Q_DECLARE_METATYPE(Currency)

#endif // CURRENCY_H
