#ifndef CORVEXMODEL_GLOBAL_H
#define CORVEXMODEL_GLOBAL_H

#include <QtCore/qglobal.h>

// The model is a shared library used by the plug-in and by the host alike; only the classes
// marked with this macro are visible outside of it.
#if defined(CORVEXMODEL_LIBRARY)
#define CORVEXMODEL_EXPORT Q_DECL_EXPORT
#else
#define CORVEXMODEL_EXPORT Q_DECL_IMPORT
#endif

#endif // CORVEXMODEL_GLOBAL_H
