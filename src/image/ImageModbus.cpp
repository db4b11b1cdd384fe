// The Modbus table of bank2.bin: 1024 entries of 32 bytes, unused entries zero.
#include <cstring>

#include "ImageBytes.h"
#include "USaveBincc.h"

namespace image {

void Init_Modbus_Table() {
    Modbus_Table.fill(TModbus_Entry{});
}

void Serialize_Modbus_Entry(const TModbus_Entry& e, std::uint8_t* out) {
    std::memset(out, 0, Modbus_Entry_Size);
    Put_U16(out, 0, e.Position);
    Put_U16(out, 2, e.Bit);
    Put_U32(out, 4, e.Poll_Time);
    Put_U8(out, 8, e.Slave_ID);
    Put_U8(out, 9, e.Function_Code);
    Put_U16(out, 10, e.Address);
    Put_U16(out, 12, e.NPoint);
    Put_U16(out, 20, e.Index_Topic);
    Put_U32(out, 24, e.Max_Error);
    Put_U8(out, 28, e.Conv_Flags);
    Put_U8(out, 29, e.Operation);
    Put_U8(out, 30, e.Byte_Count);
    Put_U8(out, 31, e.Rule_Flags);
}

std::uint32_t Write_Modbus_Table(std::uint32_t pos, std::uint8_t* buffer) {
    for (const TModbus_Entry& entry : Modbus_Table) {
        Serialize_Modbus_Entry(entry, buffer + pos);
        pos += Modbus_Entry_Size;
    }
    return pos;
}

} // namespace image
