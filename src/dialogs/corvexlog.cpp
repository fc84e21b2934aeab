#include "corvexlog.h"

Q_LOGGING_CATEGORY(lcCorvexExchange, "corvex.exchange")
