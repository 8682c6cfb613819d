#include "windows/meter_bus_lists.h"

namespace {

const char16_t* const Data_Types[] = {
    u"Energy (Wh)", u"Energy (J)", u"Volume (m³)", u"Mass (Kg)", u"On Time", u"Operating Time", u"Power (W)",
    u"Power (J/h)", u"Volume Flow (m³/h)", u"Volume Flow Ext. (m³/min)", u"Volume Flow Ext. (m³/s)",
    u"Mass Flow (Kg/h)", u"Flow Temperature (°C)", u"Return Temperature (°C)", u"Temperature Difference (K)",
    u"External Temperature (°C)", u"Pressure (bar)", u"Averaging Duration ", u"Actuality Duration",
    u"Type of  Data in VIFE", u"Time Point", u"VIF is in ASCII", u"Unit for H.C.A.", u"Fabrication No",
    u"(Enhanced) Identification", u"Bus Address",
};

const char16_t* const VIFEs[] = {
    u"Not Selected", u"Credit of the nominal local legal currency units",
    u"Debit of the nominal local legal currency units", u"Access Number (transmission count)",
    u"Medium (as in fixed header)", u"Manufacturer (as in fixed header)", u"Parameter set identification",
    u"Model/Version", u"Hardware Version #", u"Firmware Version #", u"Software Version #", u"Customer Location",
    u"Customer", u"Access Code User", u"Access Code Operator", u"Access Code System Operator",
    u"Access Code Developer", u"Password", u"Error flags (binary)", u"Error mask", u"Digital Output (binary)",
    u"Digital Input (binary)", u"Baudrate [Baud]", u"response delay time [bittimes]", u"Retry",
    u"First storage # for cyclic storage", u"Last storage # for cyclic storage", u"Size of storage block",
    u"Storage interval [sec(s)..day(s)]", u"Storage interval month(s)", u"Storage interval year(s)",
    u"Duration since last readout[sec(s)..day(s)]", u"Start (date/time) of tariff",
    u"Duration of tariff (nn=01..11:min to day)", u"Period of tariff [sec(s) to day(s)]",
    u"Period of tariff months(s)", u"Period of tariff year(s)", u"dimensionless/ no VIF", u"Volts ", u"Ampere",
    u"Reset counter", u"Comulation counter", u"Control signal", u"Day of week", u"Week number",
    u"Time point of day change", u"State of parameter activation", u"Special supplier information",
    u"Duration since last comulation [hour(s)..year(s)]", u"Operation time battery [hour(s)..year(s)]",
    u"Date and time of battery change", u"Energy MWh", u"Energy GJ", u"Volume ", u"Mass", u"Volume 0,1 feet^3",
    u"Volume 0,1 american gallon", u"Volume 1 american gallon", u"Volume flow 0,001 american gallon/min",
    u"Volume flow 1 american gallon/min", u"Volume flow 1 american gallon/h", u"Power MW", u"Power GJ/h",
    u"Flow Temperature", u"Return Temperature", u"Temperature Difference", u"External Temperature",
    u"Cold/Warm Temperature Limit °F", u"Cold/Worm Temperature Limit °C", u"Cumul. count max power", u"per second",
    u"per minute", u"per hour", u"per day", u"per week", u"per month", u"per year", u"per revolution/measurement",
    u"increment per input pulse on input channel", u"increment per output pulse on output channel", u"per liter",
    u"per m^3", u"per kg", u"per K (Kelvin)", u"per kWh", u"per GJ", u"per kW", u"per (K*l)(Kelvin*liter) ",
    u"per V (Volt)", u"per A (Ampere)", u"multiplied by sek", u"multiplied by sek/V", u"multiplied by sek/A",
    u"start date(/time) of", u"VIF contains uncorrected unit instead of corrected unit",
    u"Accumulation only if positive contributions", u"Accumulation of abs value only if negative contributions",
    u"upper/lower limit value", u"# of exceeds of lower/upper limit",
    u"Date(/time) of begin/end of first/last lower/upper limit exceed", u"Duration of limit exceed",
    u"Duration of first/last", u"Date(/time) of first/last begin/end", u"Multiplicative currection factor",
    u"Additive correction constant * unit of VIF (offset)", u"Moltiplicative correction factor: 10^3",
    u"future value", u"next VIFE's and data of this block are manufacturer specific", u"None", u"Too many DIFE's",
    u"Storage number not implemented", u"Unit number not implemented", u"Tariff number not implemented",
    u"Function not implemented", u"Data class not implemented", u"Data size not implemented", u"Too many VIFE's",
    u"Illegal VIF-Group", u"Illegal VIF-Exponent", u"VIF/DIF mismatch", u"Unimplemented action",
    u"No data available (undefined value)", u"Data overflow", u"Data underflow", u"Data error",
    u"Premature end of record ", u"Security Key", u"Remote control (devicespecific e.g. gas valve)",
    u"Operator specific data", u"Time point second (0 to 59)", u"Data container for wireless M-Bus protocol",
    u"Period of nominal data transmissions [sec(s) to day(s)]", u"RF level units: dBm",
    u"Daylight savings (beginning, ending, deviation) data type K", u"Listening window management data type L",
    u"Remaining battery life time (days)", u"Number times the meter was stopped", u"Reactive energy",
    u"Apparent energy", u"Energy", u"Reactive power", u"Relative humidity", u"Volume",
    u"Phase U-U (volt. to volt.)", u"Phase U-I (volt. to current)", u"Frequency", u"Apparent power",
    u"Reserved for alternate non-metric unit system", u"Value at base conditions",
    u"Value during lower (u= 0), upper (u = 1) limit exceed", u"Leakage values", u"Overflow values",
};

const char16_t* const Function_Fields[] = {u"Instantaneous Value", u"Minimun Value", u"Maximum Value",
                                           u"Value During Error State"};
const char16_t* const Dimensions[] = {u"8", u"16", u"32", u"64", u"24", u"48", u"32 Real", u"Variable Length"};
const char16_t* const Post_Operations[] = {u"None",    u" : 10",    u" : 100",    u" : 1000",    u" : 10000",
                                           u" : 100000", u" : 1000000", u" * 10",   u" * 100",     u" * 1000",
                                           u" * 10000",  u" * 100000",  u" * 1000000"};

template <std::size_t N>
QStringList List(const char16_t* const (&items)[N]) {
  QStringList l;
  l.reserve(qsizetype(N));
  for (const char16_t* s : items) l << QString::fromUtf16(s);
  return l;
}

}  // namespace

QStringList Network_List(TNetwork_List Which) {
  switch (Which) {
    case TNetwork_List::Data_Types: return List(Data_Types);
    case TNetwork_List::VIFEs: return List(VIFEs);
    case TNetwork_List::Function_Fields: return List(Function_Fields);
    case TNetwork_List::Dimensions: return List(Dimensions);
    case TNetwork_List::Post_Operations: return List(Post_Operations);
    case TNetwork_List::Units: {
      QStringList l;
      for (int i = 0; i <= 10; ++i) l << QString::number(i);
      return l;
    }
    case TNetwork_List::Cut_After: {
      QStringList l;
      for (int i = 1; i <= 250; ++i) l << QString::number(i);
      return l;
    }
  }
  return {};
}
