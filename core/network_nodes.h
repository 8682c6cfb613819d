#pragma once
// The network part of a compile: the nodes and variables of M_Bus.xml, read once through the network's own
// reader, turned into the image records of a bank format.

#include <optional>

#include <QString>

#include "core/bank_images.h"
#include "core/mbus_network.h"

namespace core::bank {

// The typed network of M_Bus.xml, every element read; nullopt when the file is absent. A file that is no XML
// ends the compile.
std::optional<net::TNetwork> Load_Network_For_Compile(const QString& fileMBus, int deviceType);

// The enabled nodes that have enabled variables, as the builder of a format takes them. A value the image
// cannot hold, and a variable without its required attributes, end the compile.
Bank_Network Collect(Bank_Format fmt, int deviceType, const std::optional<net::TNetwork>& mbus,
                     const TParGen_Numbers& par);

}  // namespace core::bank
