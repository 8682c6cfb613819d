#pragma once
// JSON text of decoded slaves and records, as the diagnostic tools print them: one object per slave with its
// fields and its records, every record with its fields and texts. A number value is written as a JSON number
// (its exact decimal text); dates, characters and NaN/INF as strings.

#include "scanner/mbus_types.h"

#include <QString>

#include <string>
#include <vector>

std::string Json_String(const QString& S);

// Writes one JSON object field by field.
class TJson_Object_Writer {
 public:
  explicit TJson_Object_Writer(std::string& Out) : Out_(Out) { Out_ += '{'; }
  void Raw(const char* Name, const std::string& Value);
  void Num(const char* Name, long long V) { Raw(Name, std::to_string(V)); }
  void Bool(const char* Name, bool V) { Raw(Name, V ? "true" : "false"); }
  void Str(const char* Name, const QString& V) { Raw(Name, Json_String(V)); }
  void Close() { Out_ += '}'; }

 private:
  std::string& Out_;
  bool First_ = true;
};

std::string Record_Json(const TVariable_MBus& R);
std::string Records_Json(const std::vector<TVariable_MBus>& List);  // a JSON array
// The slave's header fields, without its records.
void Write_Slave_Fields(TJson_Object_Writer& W, const TSlave_MBus& Slave);
// The whole slave: header fields, then "List_Var".
std::string Slave_Json(const TSlave_MBus& Slave);
