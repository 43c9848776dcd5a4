#pragma once

#include <QString>

// The public list server the launcher talks to unless told otherwise.
inline QString defaultListServerHost() { return QStringLiteral("list.jj2.plus"); }
