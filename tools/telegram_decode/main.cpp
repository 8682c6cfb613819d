// telegram_decode: prints what the decoder makes of M-Bus reply telegrams, one JSON object per telegram.
//
//   telegram_decode FILE...   each file holds one telegram as whitespace-separated hex byte pairs
//   telegram_decode           reads standard input, one telegram per line (blank lines are skipped)
//
// A telegram that is refused prints {"error": "..."}. The exit status is 0 unless an input could not be read.

#include "scanner/mbus_decode.h"
#include "scanner/mbus_json.h"

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

std::string Error_Json(const QString& Text) {
  std::string Out;
  TJson_Object_Writer W(Out);
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
  TJson_Object_Writer W(Out);
  Write_Slave_Fields(W, Slave);
  W.Bool("LastFrame", Res.LastFrame);
  if (Res.Records_Error != TDecodeError::None) W.Str("records_error", Decode_Error_Text(Res.Records_Error));
  W.Raw("List_Var", Records_Json(Slave.List_Var));
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
