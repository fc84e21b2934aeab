#ifndef CORVEXLOG_H
#define CORVEXLOG_H

#include <QLoggingCategory>

// Every page that takes part in the exchange with the service logs under "corvex.exchange".
Q_DECLARE_LOGGING_CATEGORY(lcCorvexExchange)

#endif // CORVEXLOG_H
