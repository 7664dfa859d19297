#pragma once
#include <QString>

// The program's version text, shown in the splash and the About box and sent to the server.
inline const QString kVersionText = QStringLiteral("3.05");

// The main window's caption, also the title of the boxes the upload view shows.
inline const QString kMainCaption = QStringLiteral("Quorvik自动建站系列软件");
