// Precompiled once per target and put before each of its files: the standard and Qt headers that most files
// of the project include. Each Qt module is taken only where the target has it on its include path, so a
// library without Qt GUI gets Qt Core alone.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#if __has_include(<QImage>)
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#endif

#if __has_include(<QWidget>)
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFrame>
#include <QScrollBar>
#include <QWidget>
#endif
