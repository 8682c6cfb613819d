#include "scanner/mbus_json.h"

#include <cmath>
#include <cstdio>

std::string Json_String(const QString& S) {
  const QByteArray U = S.toUtf8();
  std::string Out = "\"";
  for (const char C : U) {
    const auto B = static_cast<unsigned char>(C);
    if (C == '"' || C == '\\') {
      Out += '\\';
      Out += C;
    } else if (B < 0x20 || B == 0x7F) {
      char Buf[8];
      std::snprintf(Buf, sizeof Buf, "\\u%04x", B);
      Out += Buf;
    } else {
      Out += C;
    }
  }
  return Out + "\"";
}

void TJson_Object_Writer::Raw(const char* Name, const std::string& Value) {
  if (!First_) Out_ += ", ";
  First_ = false;
  Out_ += '"';
  Out_ += Name;
  Out_ += "\": ";
  Out_ += Value;
}

std::string Record_Json(const TVariable_MBus& R) {
  std::string Out;
  TJson_Object_Writer W(Out);
  W.Num("dato_A", R.dato_A);
  W.Num("dato_B", R.dato_B);
  W.Num("dimension", R.dimension);
  W.Num("function_fild", R.function_fild);
  W.Num("storage_number", R.storage_number);
  W.Num("tarif", R.tarif);
  W.Num("device", R.device);
  W.Num("type_data", R.type_data);
  W.Num("scale", R.scale);
  W.Bool("errata", R.errata);
  W.Str("sterror", R.sterror());
  W.Num("nbyte", R.nbyte);
  W.Str("descdim", R.descdim());
  W.Num("numdife", R.numdife);
  W.Num("numvife", R.numvife);
  W.Num("vifvalue", R.vifvalue);
  W.Num("PrinVIFE", R.PrinVIFE);
  W.Num("casovif", R.casovif);
  W.Num("numdato", R.numdato);
  W.Num("VIF", R.VIF);
  W.Str("VIFE", R.VIFE());
  W.Str("DIF", R.DIF());
  W.Str("DIFE", R.DIFE());
  W.Str("totdati", R.totdati());
  W.Str("VIF_ASCII", R.VIF_ASCII());
  W.Str("Description", R.Description);
  W.Str("datagiorno", R.datagiorno());
  W.Str("tempo", R.tempo());
  W.Str("icon", R.icon);
  W.Num("Type_Data_Vife", R.Type_Data_Vife);
  W.Str("Desc_Type_Data", R.Desc_Type_Data());
  // A number is written as a JSON number (exact decimal text); dates, characters and NaN/INF as strings.
  double V;
  if (R.Value_Number(V) && std::isfinite(V))
    W.Raw("ValueStr", R.Value_Text_C().toStdString());
  else
    W.Str("ValueStr", R.Value_Text_C());
  W.Str("FunctionFieldStr", R.FunctionFieldStr());
  W.Str("DataFieldStr", R.DataFieldStr());
  W.Bool("Enable", R.Enable);
  W.Bool("Real_Wireless_Var", R.Real_Wireless_Var);
  W.Close();
  return Out;
}

std::string Records_Json(const std::vector<TVariable_MBus>& List) {
  std::string Out = "[";
  for (size_t I = 0; I < List.size(); ++I) {
    if (I) Out += ", ";
    Out += Record_Json(List[I]);
  }
  return Out + "]";
}

void Write_Slave_Fields(TJson_Object_Writer& W, const TSlave_MBus& Slave) {
  W.Num("Primary_Addresss", Slave.Primary_Addresss);
  W.Str("Secondary_Addresss", Slave.Secondary_Addresss);
  W.Num("Manufacture", Slave.Manufacture);
  W.Num("Version", Slave.Version);
  W.Num("Medium", Slave.Medium);
  W.Num("Status", Slave.Status);
  W.Str("descManufacture", Slave.descManufacture);
  W.Str("descmedium", Slave.descmedium);
  W.Str("description", Slave.description);
}

std::string Slave_Json(const TSlave_MBus& Slave) {
  std::string Out;
  TJson_Object_Writer W(Out);
  Write_Slave_Fields(W, Slave);
  W.Raw("List_Var", Records_Json(Slave.List_Var));
  W.Close();
  return Out;
}
