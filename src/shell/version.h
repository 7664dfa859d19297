#pragma once
#include <QString>

// The program's version text, shown in the splash and the About box and sent to the server.
inline const QString kVersionText = QStringLiteral("3.05");
