#include "currency.h"

#include "fixnumber.h"

#include <QLocale>

bool Currency::isValid() const
{
    return m_number3 >= 1 && !m_alpha3.isEmpty() && m_realMultiplier >= 1;
}

int Currency::decimals() const
{
    return amount(0).decimals();
}

double Currency::valueToDouble(long long value) const
{
    return amount(value).toDouble();
}

long long Currency::doubleToValue(double value) const
{
    return FixNumber(multiplier(), value).value();
}

QString Currency::valueToString(long long value) const
{
    return amount(value).toString();
}

QString Currency::valueToString(long long value, bool useAlpha3) const
{
    const QString suffix = useAlpha3 ? m_alpha3 : currencySymbol();
    return valueToString(value) + QLatin1Char(' ') + suffix;
}

QString Currency::currencyName() const
{
    if (hasLocale())
        return QLocale(m_locale).currencySymbol(QLocale::CurrencyDisplayName);
    return m_alpha3;
}

QString Currency::currencySymbol() const
{
    if (!m_currencySymbol.isEmpty())
        return m_currencySymbol;
    if (hasLocale())
        return QLocale(m_locale).currencySymbol(QLocale::CurrencySymbol);
    return m_alpha3;
}

unsigned int Currency::multiplier() const
{
    return static_cast<unsigned int>(m_realMultiplier);
}

FixNumber Currency::amount(long long value) const
{
    return FixNumber(multiplier(), value);
}

bool Currency::hasLocale() const
{
    return !m_locale.isEmpty() && m_locale != QLatin1String("unknown");
}

bool Currency::operator==(const Currency &other) const
{
    return m_number3 == other.m_number3 && m_alpha3 == other.m_alpha3
        && m_realMultiplier == other.m_realMultiplier && m_currencySymbol == other.m_currencySymbol
        && m_extSymbol == other.m_extSymbol;
}

bool Currency::operator!=(const Currency &other) const
{
    return !(*this == other);
}

bool Currency::operator>(const Currency &other) const
{
    return m_number3 > other.m_number3;
}

bool Currency::operator<(const Currency &other) const
{
    return m_number3 < other.m_number3;
}

bool Currency::operator>=(const Currency &other) const
{
    return m_number3 >= other.m_number3;
}

bool Currency::operator<=(const Currency &other) const
{
    return m_number3 <= other.m_number3;
}
