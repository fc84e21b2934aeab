#ifndef PAYMENTENUMS_H
#define PAYMENTENUMS_H

#include <QtCore/QFlags>
#include <QtCore/QMetaType>

// Enumerations that belong to the host application. The plug-in only stores, copies and
// compares their values, so the numbers must stay in step with the host's own declarations.

enum EPaymentState {
    PaymentStateNew = 0,
    PaymentStatePrepared = 1,
    PaymentStatePosted = 2,
    PaymentStateCompleted = 3,
    PaymentStateRejected = 4,
    PaymentStateCancelled = 5
};

enum EPayCheckFlag {
    PayCheckNone = 0x0,
    PayCheckOnline = 0x1,
    PayCheckBeforePost = 0x2,
    PayCheckPrintCheck = 0x4,
    PayCheckOperatorConfirm = 0x8
};
Q_DECLARE_FLAGS(EPayCheckFlags, EPayCheckFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(EPayCheckFlags)

enum EPayCheckState {
    PayCheckStateNone = 0x0,
    PayCheckStateSent = 0x1,
    PayCheckStatePassed = 0x2,
    PayCheckStateFailed = 0x4
};
Q_DECLARE_FLAGS(EPayCheckStates, EPayCheckState)
Q_DECLARE_OPERATORS_FOR_FLAGS(EPayCheckStates)

Q_DECLARE_METATYPE(EPaymentState)

#endif // PAYMENTENUMS_H
