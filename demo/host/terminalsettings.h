#ifndef TERMINALSETTINGS_H
#define TERMINALSETTINGS_H

#include "boxcomprofile.h"
#include "boxinfo.h"
#include "currency.h"
#include "fixnumber.h"
#include "provider.h"

#include <QFont>
#include <QJsonObject>
#include <QString>

class JsonNode;

// What a terminal hands a payment plug-in, read from the terminal file: the input font, the
// font of its own interface (labels, titles, buttons), the
// terminal's own data, the currency, the money already paid in, the commission profile and the
// provider to pay; and, for scripted runs, what the operator enters on each road.
class TerminalSettings
{
public:
    // A terminal file is a few kilobytes; anything near this is not one.
    static constexpr qint64 MaxFileSize = 1 << 20;

    // False with `error` naming the file and the key when the file is missing, is not JSON or
    // lacks a key.
    bool load(const QString &fileName, QString *error);

    // The input font handed to the plug-in ("font"), and the application's font ("interfaceFont";
    // without it, the platform's).
    QFont font;
    QFont interfaceFont;
    bool hasInterfaceFont = false;
    BoxInfo box;
    Currency currency;
    FixNumber prepay;
    BoxComProfile comProfile;
    Provider provider;
    QJsonObject roads;

    static QString checkFlagName(EPayCheckFlag flag);
    static const QList<EPayCheckFlag> &checkFlags();

private:
    // A decimal text; `multiplier` 0 means the currency's.
    FixNumber amount(const JsonNode &node, const QString &key, bool required = true,
        unsigned int multiplier = 0) const;
    Comission commission(const JsonNode &node) const;
    static QFont readFont(const JsonNode &node);
    ProviderParameter parameter(const JsonNode &node, qint64 providerId) const;
};

#endif // TERMINALSETTINGS_H
