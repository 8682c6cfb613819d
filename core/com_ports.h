#pragma once
// Serial-port discovery for the scan window's and the serial update window's port lists.

#include <QString>
#include <QStringList>

// The serial ports present, by device name ("ttyUSB0", "ttyACM0", "ttyS0"), sorted by kind and then by number:
// entries of the tty class folder that have a "device" link, that is ttyUSB*, ttyACM*, and ttyS* whose UART
// type is known. The caller owns the returned list. The folder is a parameter so that tests can point it at a
// fake tree; the updater is given "/dev/" + name.
QStringList List_COM_Ports(const QString& ttyClassDir = QStringLiteral("/sys/class/tty"));
