#pragma once
// Format(fmt, {args}): the runtime's format rules, checked against the arguments at run time. A user text is
// never handed to printf, so a wrong or hostile format raises EConvertError instead of reading stray memory.
//
// Specifier: "%" [index ":"] ["-"] [width] ["." precision] type; index, width and precision may be "*" (taken
// from the next integer argument); "%%" is a literal "%". Types (case-insensitive):
//   d  integer; precision = minimum digits ("%.3d" of -5 is "-005")
//   u  integer as unsigned (bit pattern of its width)
//   x  integer as upper-case hex of its bit pattern; precision = minimum digits
//   s  text or character; precision = maximum characters
//   f  fixed, precision decimals (default 2)        e  "d.dddE+ddd", precision digits (default 15)
//   g  shortest, precision digits (default 15)       n  fixed with thousand separators (default 2)
//   m  currency (default the settings' decimals)     p  pointer as hex
// Floats need a floating-point argument and integers an integer one, as in the runtime. Errors raise
// EConvertError "Format '<fmt>' invalid or incompatible with argument" or "No argument for format '<fmt>'".

#include <QChar>
#include <QString>

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <type_traits>
#include <vector>

#include "platform/rtl/formatsettings.h"

namespace plat {

// One argument of Format.
class TVarRec {
 public:
  enum class TKind { Integer, Float, String, Char, Pointer };

  template <std::integral T>
    requires(!std::is_same_v<T, bool> && !std::is_same_v<T, char> && !std::is_same_v<T, char16_t>)
  TVarRec(T V) : FKind(TKind::Integer), FInt(static_cast<int64_t>(V)), FWide(sizeof(T) > 4) {
    if constexpr (std::is_unsigned_v<T> && sizeof(T) == 4) FWide = V > 0x7FFFFFFFu;
  }
  TVarRec(bool) = delete;  // the runtime has no Boolean format
  TVarRec(double V) : FKind(TKind::Float), FFloat(V) {}
  TVarRec(float V) : FKind(TKind::Float), FFloat(V) {}
  TVarRec(const QString& V) : FKind(TKind::String), FString(V) {}
  TVarRec(const char* V) : FKind(TKind::String), FString(QString::fromUtf8(V)) {}
  TVarRec(QLatin1StringView V) : FKind(TKind::String), FString(V) {}
  TVarRec(QChar V) : FKind(TKind::Char), FString(V) {}
  TVarRec(char V) : FKind(TKind::Char), FString(QChar(static_cast<uchar>(V))) {}
  TVarRec(char16_t V) : FKind(TKind::Char), FString(QChar(V)) {}
  TVarRec(const void* V) : FKind(TKind::Pointer), FPointer(V) {}

  TKind Kind() const { return FKind; }
  int64_t AsInteger() const { return FInt; }
  // 64-bit integer (decides the width of %u and %x).
  bool Wide() const { return FWide; }
  double AsFloat() const { return FFloat; }
  const QString& AsString() const { return FString; }
  const void* AsPointer() const { return FPointer; }

 private:
  TKind FKind;
  int64_t FInt = 0;
  bool FWide = false;
  double FFloat = 0;
  QString FString;
  const void* FPointer = nullptr;
};

QString Format(const QString& Fmt, std::initializer_list<TVarRec> Args);
QString Format(const QString& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& Settings);
QString Format(const QString& Fmt, const std::vector<TVarRec>& Args);
QString Format(const QString& Fmt, const std::vector<TVarRec>& Args, const TFormatSettings& Settings);

}  // namespace plat
