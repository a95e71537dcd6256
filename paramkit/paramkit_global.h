#pragma once
#include <QtCore/qglobal.h>

// The settings library is a shared library: its dialogs are exported to the program.
#if defined(PARAMKIT_LIBRARY)
#define PARAMKIT_EXPORT Q_DECL_EXPORT
#else
#define PARAMKIT_EXPORT Q_DECL_IMPORT
#endif
