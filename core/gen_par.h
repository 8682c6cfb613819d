#pragma once
// The general parameters of the bank images: the values of ParGen.xml turned into numbers once, when the file is
// read, and the places they go: the parameter blocks at the end of the network images, the record Gen_Par that
// opens bank1.bin and the header record that opens the image with header.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_writer.h"
#include "core/device_model.h"
#include "core/par_gen_file.h"

namespace core::bank {

// ParGen.xml as the images take it. Elements an image cannot do without were checked when the file was read; the
// others hold the value's default where the file lacks them or their text is not a number. Byte fields of the
// images take the low 8 bits and 16-bit fields the low 16.
struct TParGen_Numbers {
  bool Exists = false;  // no file: the images carry no parameter block and Gen_Par keeps its reset values
  std::array<uint8_t, 4> IP{}, SM{}, GA{};
  int32_t Gat_Enable = 0;
  int32_t TCP_Port = 0;
  int32_t TCP_Conn_TimeOut = 0;  // minutes
  int32_t Meter_Baud = 0;        // index in Meter_Baud_Rates
  int32_t Meter_Par = 0;
  int32_t Meter_Req_Type = 0;
  int32_t Meter_Req_Delay = 0;   // seconds
  int32_t Node_State = 0;
  bool Enable_Use_Fix_C_Field = false;
  int32_t Use_Fix_C_Field_Value = 0;
  bool Reply_Exception_Until_First_Read = false;
  int32_t MBUS_Ser = 0;
  int32_t Mod_Ser = 0;
  int32_t Mod_Baud = 0;          // index in Modbus_Baud_Rates
  int32_t Mod_Par = 0;
  int32_t Mod_StopBit = 0;
  int32_t Mod_Id = 0;
  int32_t Mod_Protocol = 0;
  int32_t wMBus_Mode = 0;
  int32_t wMBus_Radio_Channel = 0;
  int32_t Sel_Dev_MBus_Present = 0;
};

// Turns the file into numbers for the images of a compile. An element that one of these images needs and that is
// missing, or whose text is not a number where the image has no fallback, ends the compile (ECompileError), before
// anything is built.
TParGen_Numbers Read_ParGen_Numbers(const pargen::TParGen_File& File, int deviceType,
                                    std::span<const Bank_Format> Formats);

// Records built by offset, little-endian.
constexpr std::size_t Gen_Par_Size = 2044;
constexpr std::size_t Gen_Par_Header_Size = 184;
constexpr std::size_t Bank_Block_Size = 2048;  // Gen_Par or header with its checksum
// The byte that opens the image with header after its header, and bank2.bin; the header repeats it.
constexpr uint8_t Image_Lead_Byte = 0x40;
using Gen_Par_Record = std::array<uint8_t, Gen_Par_Size>;
using Gen_Par_Header_Record = std::array<uint8_t, Gen_Par_Header_Size>;

void Reset_Gen_Par(Gen_Par_Record& g);
void Reset_Gen_Par_Header(Gen_Par_Header_Record& h);
uint32_t Bank_Checksum(const uint8_t* data, std::size_t n);

// Gen_Par as the network image sets it: the wireless node count always, the rest from the file when it exists.
void Set_Wireless_Count(Gen_Par_Record& g, uint32_t count);
void Fill_Gen_Par(Gen_Par_Record& g, const TParGen_Numbers& par, int deviceType);

// The header of the image with header: the record filled from the file when it exists, its lead byte always,
// then zeros and the checksum, written over the first Bank_Block_Size bytes of block.
void Write_Header(uint8_t* block, const TParGen_Numbers& par, int deviceType);

// The parameter block that ends an image: the Ethernet form (24 bytes) for the standard, with-header and network
// formats, the serial form (14 bytes) for the serial format. Nodes and entries count the wired nodes and their
// register-map entries.
void Write_Ethernet_Block(ByteWriter& w, const TParGen_Numbers& par, Bank_Format fmt, int deviceType, uint32_t nodes,
                          uint32_t entries);
void Write_Serial_Block(ByteWriter& w, const TParGen_Numbers& par, int deviceType, uint32_t nodes, uint32_t entries);

}  // namespace core::bank
