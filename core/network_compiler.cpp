#include "core/network_compiler.h"

#include "core/network_checks.h"
#include "core/network_nodes.h"


namespace core::bank {

const Bank_File* Bank_Set::Find(const QString& name) const {
  for (const Bank_File& f : Files)
    if (f.Name == name) return &f;
  return nullptr;
}

namespace {

QByteArray To_Bytes(const std::vector<uint8_t>& v) {
  return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

std::vector<uint8_t> Build_Main_Image(Bank_Format fmt, Bank_Network& net, const TParGen_Numbers& par, int deviceType) {
  switch (fmt) {
    case Bank_Format::Standard: return Build_Bank_Std(net, par, deviceType);
    case Bank_Format::With_Header: return Build_Bank_B2(net, par, deviceType);
    case Bank_Format::Serial: return Build_Bank_Serial(net, par, deviceType);
    case Bank_Format::Network: break;
  }
  return {};
}

// Gen_Par with the wireless slots, and the network image.
void Compile_Bank12(Bank_Set& set, int deviceType, const std::optional<net::TNetwork>& mbus, const TParGen_Numbers& par) {
  Gen_Par_Record genPar;
  Reset_Gen_Par(genPar);
  Bank_Network net = Collect(Bank_Format::Network, deviceType, mbus, par);
  const std::vector<uint8_t> bank2 = Build_Bank2_Net(net, par, deviceType, genPar);
  const std::vector<uint8_t> bank1 = Build_Bank1(genPar, net.wMBus_Slots);
  set.Files.push_back({QStringLiteral("bank1.bin"), To_Bytes(bank1)});
  set.Files.push_back({QStringLiteral("bank2.bin"), To_Bytes(bank2)});
}

pargen::TParGen_File Load_ParGen_File(const QString& fileParGen) {
  pargen::TParGen_File f = pargen::Load_ParGen_File(fileParGen);
  if (f.Status == pargen::TParGen_Read::Malformed)
    throw ECompileError(QStringLiteral("ParGen.xml cannot be read: %1").arg(f.Error));
  return f;
}

}  // namespace

TParGen_Numbers Load_ParGen(const QString& fileParGen) {
  return Read_ParGen_Numbers(Load_ParGen_File(fileParGen), Device_Type, {});
}

Bank_Network Collect_Network(Bank_Format fmt, int deviceType, const QString& fileMBus, const TParGen_Numbers& par) {
  return Collect(fmt, deviceType, Load_Network_For_Compile(fileMBus, deviceType), par);
}

int Read_Sel_Dev(const QString& fileParGen) {
  return pargen::Load_ParGen_File(fileParGen).Number(pargen::TParGen_Element::Sel_Dev).value_or(0);
}

Bank_Set Compile(int deviceType, int selDev, const QString& fileParGen, const QString& fileMBus) {
  Bank_Set set;
  set.Device_Type = deviceType;
  const TDevice_Model& model = Device_Model(deviceType);
  if (model.Has_Variant() && selDev != 0 && selDev != 1)
    throw ECompileError(QStringLiteral("ParGen.xml: %1 = %2 is not a device variant (0 or 1).")
                            .arg(pargen::Element_Name(pargen::TParGen_Element::Sel_Dev)).arg(selDev));
  const std::vector<Bank_Format> formats = Bank_Formats(deviceType, selDev);
  if (formats.empty()) return set;
  const TParGen_Numbers par = Read_ParGen_Numbers(Load_ParGen_File(fileParGen), deviceType, formats);
  const std::optional<net::TNetwork> mbus = Load_Network_For_Compile(fileMBus, deviceType);
  // bank.bin first, as its faults come first, but written after bank1.bin and bank2.bin.
  std::vector<uint8_t> bank;
  if (formats.front() != Bank_Format::Network) {
    Bank_Network net = Collect(formats.front(), deviceType, mbus, par);
    bank = Build_Main_Image(formats.front(), net, par, deviceType);
  }
  if (formats.back() == Bank_Format::Network) Compile_Bank12(set, deviceType, mbus, par);
  if (formats.front() != Bank_Format::Network) set.Files.push_back({QStringLiteral("bank.bin"), To_Bytes(bank)});
  // Checked after the records were built, so that a missing attribute is reported as such. The converter would
  // publish two values in one register.
  if (mbus)
    if (auto hit = net::Find_Overlap(*mbus, deviceType))
      throw ECompileError(QStringLiteral("M_Bus.xml gives one Modbus register to two values: %1").arg(hit->Message));
  return set;
}

}  // namespace core::bank
