#ifndef CORVEXLOG_H
#define CORVEXLOG_H

#include <QLoggingCategory>

// Every page that takes part in the exchange with the service logs under "corvex.exchange".
// Its debug lines are off unless the host turns them on (QT_LOGGING_RULES=
// "corvex.exchange.debug=true"); the full text of each reply is logged only under
// "corvex.exchange.payload", off by default as well.
Q_DECLARE_LOGGING_CATEGORY(lcCorvexExchange)
Q_DECLARE_LOGGING_CATEGORY(lcCorvexExchangePayload)

#endif // CORVEXLOG_H
