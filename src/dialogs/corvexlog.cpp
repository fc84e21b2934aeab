#include "corvexlog.h"

Q_LOGGING_CATEGORY(lcCorvexExchange, "corvex.exchange", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCorvexExchangePayload, "corvex.exchange.payload", QtInfoMsg)
