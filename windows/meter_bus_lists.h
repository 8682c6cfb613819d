#pragma once
// The fixed lists of the network editor (English texts, not taken from the language table). The item index is
// what the network stores and what the compiler and the scanner read.

#include <QStringList>

enum class TNetwork_List { Data_Types, VIFEs, Function_Fields, Dimensions, Post_Operations, Units, Cut_After };

QStringList Network_List(TNetwork_List Which);
