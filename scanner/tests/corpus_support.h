#pragma once
// Reading the real-meter corpus: hex telegrams and the readings another decoder printed for them.

#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace corpus {

QString Dir(const char* Sub);  // a folder of the telegram corpus
std::vector<QString> Files(const char* Sub, const char* Suffix);  // base names, sorted
// Whitespace-separated hex byte pairs; false when the text holds anything else.
bool Read_Hex(const QString& Path, std::vector<uint8_t>& Bytes);

struct TExpected_Record {
  std::map<std::string, std::string> Fields;  // Function, StorageNumber, Tariff, Device, Unit, Quantity, Value
  std::string Get(const std::string& Name) const {
    auto It = Fields.find(Name);
    return It == Fields.end() ? std::string() : It->second;
  }
};

struct TExpected {
  std::map<std::string, std::string> Slave;  // SlaveInformation elements
  std::vector<TExpected_Record> Records;
};

// Reads an expected-output file (the simple one-element-per-line layout of the corpus); false when missing.
bool Read_Expected(const QString& Path, TExpected& Out);

}  // namespace corpus
