#pragma once
// The rules of the input helpers that need no widget: the name check of a chosen file
// and a colour as an HTML colour.

#include "core/message.h"

#include <QColor>
#include <QString>
#include <optional>

namespace mdl_func {

// The name of a chosen file (pictures, pages) may only hold characters 32 to 127: the
// message to show when it holds others.
std::optional<ui::Message> refuseNonAsciiName(const QString &path);

// "#RRGGBB" in upper case.
QString colorHex(const QColor &c);

} // namespace mdl_func
