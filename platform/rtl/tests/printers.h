#pragma once
// Readable failure messages for Qt strings.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& S, std::ostream* Out) { *Out << '"' << S.toStdString() << '"'; }
