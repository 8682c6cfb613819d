// telegram_decode: prints what the decoder makes of M-Bus reply telegrams, one JSON object per telegram.
//
//   telegram_decode FILE...   each file holds one telegram as whitespace-separated hex byte pairs
//   telegram_decode           reads standard input, one telegram per line (blank lines are skipped)
//
// A telegram that is refused prints {"error": "..."}. The exit status is 0 unless an input could not be read.

#include "scanner/mbus_decode.h"

#include <QDateTime>
#include <QString>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

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

class TObject_Writer {
 public:
  explicit TObject_Writer(std::string& Out) : Out_(Out) { Out_ += '{'; }
  void Raw(const char* Name, const std::string& Value) {
    if (!First_) Out_ += ", ";
    First_ = false;
    Out_ += '"';
    Out_ += Name;
    Out_ += "\": ";
    Out_ += Value;
  }
  void Num(const char* Name, long long V) { Raw(Name, std::to_string(V)); }
  void Bool(const char* Name, bool V) { Raw(Name, V ? "true" : "false"); }
  void Str(const char* Name, const QString& V) { Raw(Name, Json_String(V)); }
  void Close() { Out_ += '}'; }

 private:
  std::string& Out_;
  bool First_ = true;
};

std::string Record_Json(const TVariable_MBus& R) {
  std::string Out;
  TObject_Writer W(Out);
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

std::string Error_Json(const QString& Text) {
  std::string Out;
  TObject_Writer W(Out);
  W.Str("error", Text);
  W.Close();
  return Out;
}

// Parses whitespace-separated hex byte pairs; false (with a reason) on anything else.
bool Parse_Hex(const std::string& Text, std::vector<uint8_t>& Bytes, std::string& Why) {
  std::istringstream In(Text);
  std::string Tok;
  while (In >> Tok) {
    if (Tok.size() != 2 || !std::isxdigit(static_cast<unsigned char>(Tok[0])) ||
        !std::isxdigit(static_cast<unsigned char>(Tok[1]))) {
      Why = "malformed hex byte \"" + Tok + "\"";
      return false;
    }
    Bytes.push_back(static_cast<uint8_t>(std::stoi(Tok, nullptr, 16)));
  }
  if (Bytes.empty()) {
    Why = "empty telegram";
    return false;
  }
  return true;
}

std::string Decode_Json(const std::string& Hex) {
  std::vector<uint8_t> Bytes;
  std::string Why;
  if (!Parse_Hex(Hex, Bytes, Why)) return Error_Json(QString::fromStdString(Why));
  TSlave_MBus Slave;
  TDecode_Options Options;
  Options.Decoded_At = QDateTime::currentMSecsSinceEpoch();
  const THeader_Result Res = Decode_Header(Bytes, Slave, true, Options);
  if (Res.Error != TDecodeError::None) return Error_Json(Decode_Error_Text(Res.Error));
  std::string Out;
  TObject_Writer W(Out);
  W.Num("Primary_Addresss", Slave.Primary_Addresss);
  W.Str("Secondary_Addresss", Slave.Secondary_Addresss);
  W.Num("Manufacture", Slave.Manufacture);
  W.Num("Version", Slave.Version);
  W.Num("Medium", Slave.Medium);
  W.Num("Status", Slave.Status);
  W.Str("descManufacture", Slave.descManufacture);
  W.Str("descmedium", Slave.descmedium);
  W.Str("description", Slave.description);
  W.Bool("LastFrame", Res.LastFrame);
  if (Res.Records_Error != TDecodeError::None) W.Str("records_error", Decode_Error_Text(Res.Records_Error));
  std::string List = "[";
  for (size_t I = 0; I < Slave.List_Var.size(); ++I) {
    if (I) List += ", ";
    List += Record_Json(Slave.List_Var[I]);
  }
  W.Raw("List_Var", List + "]");
  W.Close();
  return Out;
}

}  // namespace

int main(int argc, char** argv) {
  int Status = 0;
  if (argc > 1) {
    for (int I = 1; I < argc; ++I) {
      std::ifstream F(argv[I], std::ios::binary);
      if (!F) {
        std::cerr << "telegram_decode: cannot read " << argv[I] << '\n';
        Status = 2;
        continue;
      }
      std::ostringstream S;
      S << F.rdbuf();
      std::cout << Decode_Json(S.str()) << '\n';
    }
  } else {
    std::string Line;
    while (std::getline(std::cin, Line)) {
      if (Line.find_first_not_of(" \t\r\n") == std::string::npos) continue;
      std::cout << Decode_Json(Line) << '\n';
    }
    if (std::cin.bad()) Status = 2;
  }
  std::cout.flush();
  return std::cout.good() ? Status : 2;
}
