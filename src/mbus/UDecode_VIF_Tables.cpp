// Generated from the unit tables of the data-record decoder; reviewed by hand.
#include "UDecode_VIF_Tables.h"

namespace vif_tables {

const TVifCode Primary_VIF[128] = {
    {0, u"Energy Wh", true, 7, -3},  // 0x00
    {0, u"Energy Wh", true, 7, -3},  // 0x01
    {0, u"Energy Wh", true, 7, -3},  // 0x02
    {0, u"Energy Wh", true, 7, -3},  // 0x03
    {0, u"Energy Wh", true, 7, -3},  // 0x04
    {0, u"Energy Wh", true, 7, -3},  // 0x05
    {0, u"Energy Wh", true, 7, -3},  // 0x06
    {0, u"Energy Wh", true, 7, -3},  // 0x07
    {1, u"Energy J", true, 7, 0},  // 0x08
    {1, u"Energy J", true, 7, 0},  // 0x09
    {1, u"Energy J", true, 7, 0},  // 0x0A
    {1, u"Energy J", true, 7, 0},  // 0x0B
    {1, u"Energy J", true, 7, 0},  // 0x0C
    {1, u"Energy J", true, 7, 0},  // 0x0D
    {1, u"Energy J", true, 7, 0},  // 0x0E
    {1, u"Energy J", true, 7, 0},  // 0x0F
    {2, u"Volume m3", true, 7, -6},  // 0x10
    {2, u"Volume m3", true, 7, -6},  // 0x11
    {2, u"Volume m3", true, 7, -6},  // 0x12
    {2, u"Volume m3", true, 7, -6},  // 0x13
    {2, u"Volume m3", true, 7, -6},  // 0x14
    {2, u"Volume m3", true, 7, -6},  // 0x15
    {2, u"Volume m3", true, 7, -6},  // 0x16
    {2, u"Volume m3", true, 7, -6},  // 0x17
    {3, u"Mass kg", true, 7, -3},  // 0x18
    {3, u"Mass kg", true, 7, -3},  // 0x19
    {3, u"Mass kg", true, 7, -3},  // 0x1A
    {3, u"Mass kg", true, 7, -3},  // 0x1B
    {3, u"Mass kg", true, 7, -3},  // 0x1C
    {3, u"Mass kg", true, 7, -3},  // 0x1D
    {3, u"Mass kg", true, 7, -3},  // 0x1E
    {3, u"Mass kg", true, 7, -3},  // 0x1F
    {4, u"On Time Seconds", false, 0, 0},  // 0x20
    {4, u"On Time Minutes", false, 0, 0},  // 0x21
    {4, u"On Time Hours", false, 0, 0},  // 0x22
    {4, u"On Time Days", false, 0, 0},  // 0x23
    {5, u"Operating Time Seconds", false, 0, 0},  // 0x24
    {5, u"Operating Time Minutes", false, 0, 0},  // 0x25
    {5, u"Operating Time Hours", false, 0, 0},  // 0x26
    {5, u"Operating Time Days", false, 0, 0},  // 0x27
    {6, u"Power W", true, 7, -3},  // 0x28
    {6, u"Power W", true, 7, -3},  // 0x29
    {6, u"Power W", true, 7, -3},  // 0x2A
    {6, u"Power W", true, 7, -3},  // 0x2B
    {6, u"Power W", true, 7, -3},  // 0x2C
    {6, u"Power W", true, 7, -3},  // 0x2D
    {6, u"Power W", true, 7, -3},  // 0x2E
    {6, u"Power W", true, 7, -3},  // 0x2F
    {7, u"Power J/h", true, 7, 0},  // 0x30
    {7, u"Power J/h", true, 7, 0},  // 0x31
    {7, u"Power J/h", true, 7, 0},  // 0x32
    {7, u"Power J/h", true, 7, 0},  // 0x33
    {7, u"Power J/h", true, 7, 0},  // 0x34
    {7, u"Power J/h", true, 7, 0},  // 0x35
    {7, u"Power J/h", true, 7, 0},  // 0x36
    {7, u"Power J/h", true, 7, 0},  // 0x37
    {8, u"Volume Flow m3/h", true, 7, -6},  // 0x38
    {8, u"Volume Flow m3/h", true, 7, -6},  // 0x39
    {8, u"Volume Flow m3/h", true, 7, -6},  // 0x3A
    {8, u"Volume Flow m3/h", true, 7, -6},  // 0x3B
    {8, u"Volume Flow m3/h", true, 7, -6},  // 0x3C
    {8, u"Volume Flow m3/h", true, 7, -6},  // 0x3D
    {8, u"Volume Flow m3/h", true, 7, -6},  // 0x3E
    {8, u"Volume Flow m3/h", true, 7, -6},  // 0x3F
    {9, u"Volume Flow ext. m3/min", true, 7, -7},  // 0x40
    {9, u"Volume Flow ext. m3/min", true, 7, -7},  // 0x41
    {9, u"Volume Flow ext. m3/min", true, 7, -7},  // 0x42
    {9, u"Volume Flow ext. m3/min", true, 7, -7},  // 0x43
    {9, u"Volume Flow ext. m3/min", true, 7, -7},  // 0x44
    {9, u"Volume Flow ext. m3/min", true, 7, -7},  // 0x45
    {9, u"Volume Flow ext. m3/min", true, 7, -7},  // 0x46
    {9, u"Volume Flow ext. m3/min", true, 7, -7},  // 0x47
    {10, u"Volume Flow ext. m3/s", true, 7, -9},  // 0x48
    {10, u"Volume Flow ext. m3/s", true, 7, -9},  // 0x49
    {10, u"Volume Flow ext. m3/s", true, 7, -9},  // 0x4A
    {10, u"Volume Flow ext. m3/s", true, 7, -9},  // 0x4B
    {10, u"Volume Flow ext. m3/s", true, 7, -9},  // 0x4C
    {10, u"Volume Flow ext. m3/s", true, 7, -9},  // 0x4D
    {10, u"Volume Flow ext. m3/s", true, 7, -9},  // 0x4E
    {10, u"Volume Flow ext. m3/s", true, 7, -9},  // 0x4F
    {11, u"Mass Flow kg/h", true, 7, -3},  // 0x50
    {11, u"Mass Flow kg/h", true, 7, -3},  // 0x51
    {11, u"Mass Flow kg/h", true, 7, -3},  // 0x52
    {11, u"Mass Flow kg/h", true, 7, -3},  // 0x53
    {11, u"Mass Flow kg/h", true, 7, -3},  // 0x54
    {11, u"Mass Flow kg/h", true, 7, -3},  // 0x55
    {11, u"Mass Flow kg/h", true, 7, -3},  // 0x56
    {11, u"Mass Flow kg/h", true, 7, -3},  // 0x57
    {12, u"Flow Temperature °C", true, 3, -3},  // 0x58
    {12, u"Flow Temperature °C", true, 3, -3},  // 0x59
    {12, u"Flow Temperature °C", true, 3, -3},  // 0x5A
    {12, u"Flow Temperature °C", true, 3, -3},  // 0x5B
    {13, u"Return Temperature °C", true, 3, -3},  // 0x5C
    {13, u"Return Temperature °C", true, 3, -3},  // 0x5D
    {13, u"Return Temperature °C", true, 3, -3},  // 0x5E
    {13, u"Return Temperature °C", true, 3, -3},  // 0x5F
    {14, u"Temperature Difference K", true, 3, -3},  // 0x60
    {14, u"Temperature Difference K", true, 3, -3},  // 0x61
    {14, u"Temperature Difference K", true, 3, -3},  // 0x62
    {14, u"Temperature Difference K", true, 3, -3},  // 0x63
    {15, u"External Temperature °C", true, 3, -3},  // 0x64
    {15, u"External Temperature °C", true, 3, -3},  // 0x65
    {15, u"External Temperature °C", true, 3, -3},  // 0x66
    {15, u"External Temperature °C", true, 3, -3},  // 0x67
    {16, u"Pressure bar", true, 3, -3},  // 0x68
    {16, u"Pressure bar", true, 3, -3},  // 0x69
    {16, u"Pressure bar", true, 3, -3},  // 0x6A
    {16, u"Pressure bar", true, 3, -3},  // 0x6B
    {20, u"", false, 0, 0},  // 0x6C
    {20, u"", false, 0, 0},  // 0x6D
    {22, u"Units for H.C.A.", false, 0, 0},  // 0x6E
    {-1, u"", false, 0, 0},  // 0x6F
    {17, u"Averaging Duration Seconds", false, 0, 0},  // 0x70
    {17, u"Averaging Duration Minutes", false, 0, 0},  // 0x71
    {17, u"Averaging Duration Hours", false, 0, 0},  // 0x72
    {17, u"Averaging Duration Days", false, 0, 0},  // 0x73
    {18, u"Actuality Duration Seconds", false, 0, 0},  // 0x74
    {18, u"Actuality Duration Minutes", false, 0, 0},  // 0x75
    {18, u"Actuality Duration Hours", false, 0, 0},  // 0x76
    {18, u"Actuality Duration Days", false, 0, 0},  // 0x77
    {23, u"Fabrication No", false, 0, 0},  // 0x78
    {24, u"Identification", false, 0, 0},  // 0x79
    {25, u"Bus Address", false, 0, 0},  // 0x7A
    {19, u"", false, 0, 0},  // 0x7B
    {21, u"Vif in following String", false, 0, 0},  // 0x7C
    {19, u"", false, 0, 0},  // 0x7D
    {-1, u"Any VIF", false, 0, 0},  // 0x7E
    {-1, u"Manufacturer Specific", false, 0, 0},  // 0x7F
};

const TVifCode Extension_FD[128] = {
    {1, u"Credit of (currency units)", true, 3, -3},  // 0x00
    {1, u"Credit of (currency units)", true, 3, -3},  // 0x01
    {1, u"Credit of (currency units)", true, 3, -3},  // 0x02
    {1, u"Credit of (currency units)", true, 3, -3},  // 0x03
    {2, u"Debit of (currency units)", true, 3, -3},  // 0x04
    {2, u"Debit of (currency units)", true, 3, -3},  // 0x05
    {2, u"Debit of (currency units)", true, 3, -3},  // 0x06
    {2, u"Debit of (currency units)", true, 3, -3},  // 0x07
    {3, u"Unique message Identification", false, 0, 0},  // 0x08
    {4, u"Device Type", false, 0, 0},  // 0x09
    {5, u"Manufacturer", false, 0, 0},  // 0x0A
    {6, u"Parameter Set Identification", false, 0, 0},  // 0x0B
    {7, u"Model Version", false, 0, 0},  // 0x0C
    {8, u"Hardware Version Number", false, 0, 0},  // 0x0D
    {9, u"Metrology (Firmware) Version Number", false, 0, 0},  // 0x0E
    {10, u"Other Software Version Number", false, 0, 0},  // 0x0F
    {11, u"Customer LOcation", false, 0, 0},  // 0x10
    {12, u"Customer", false, 0, 0},  // 0x11
    {13, u"Access Code User", false, 0, 0},  // 0x12
    {14, u"Access Code Operator", false, 0, 0},  // 0x13
    {15, u"Access Code System Operator", false, 0, 0},  // 0x14
    {16, u"Access Code Developer", false, 0, 0},  // 0x15
    {17, u"Password", false, 0, 0},  // 0x16
    {18, u"Error Flag (Binary)", false, 0, 0},  // 0x17
    {19, u"Error Mask", false, 0, 0},  // 0x18
    {126, u"Security Key", false, 0, 0},  // 0x19
    {20, u"Digital Output (Binary)", false, 0, 0},  // 0x1A
    {21, u"Digital Input (Binary)", false, 0, 0},  // 0x1B
    {22, u"Baudrate [Baud]", false, 0, 0},  // 0x1C
    {23, u"Responce Delay Time [Bit-Times]", false, 0, 0},  // 0x1D
    {24, u"Retry", false, 0, 0},  // 0x1E
    {127, u"Remote Control (Device Specific e.g. Gas Value)", false, 0, 0},  // 0x1F
    {25, u"First Storage Number for Cyclic Storage", false, 0, 0},  // 0x20
    {26, u"Last Storage Number for Cyclic Storage", false, 0, 0},  // 0x21
    {27, u"Size of Storage Block", false, 0, 0},  // 0x22
    {-1, u"Reserved", false, 0, 0},  // 0x23
    {28, u"Storage Interval Second(s)", false, 0, 0},  // 0x24
    {28, u"Storage Interval Minute(s)", false, 0, 0},  // 0x25
    {28, u"Storage Interval Hour(s)", false, 0, 0},  // 0x26
    {28, u"Storage Interval Day(s)", false, 0, 0},  // 0x27
    {29, u"Storage Interval Month(s)", false, 0, 0},  // 0x28
    {30, u"Storage Interval Year(s)", false, 0, 0},  // 0x29
    {128, u"Operator Specific Data", false, 0, 0},  // 0x2A
    {129, u"Time Point Second (0 to 59)", false, 0, 0},  // 0x2B
    {31, u"Duration Since Last Readout Second(s)", false, 0, 0},  // 0x2C
    {31, u"Duration Since Last Readout Minute(s)", false, 0, 0},  // 0x2D
    {31, u"Duration Since Last Readout Hour(s)", false, 0, 0},  // 0x2E
    {31, u"Duration Since Last Readout Day(s)", false, 0, 0},  // 0x2F
    {32, u"Start (Date/Time) of Tariff", false, 0, 0},  // 0x30
    {33, u"Duration of Tariff Minute(s)", false, 0, 0},  // 0x31
    {33, u"Duration of Tariff Hour(s)", false, 0, 0},  // 0x32
    {33, u"Duration of Tariff Day(s)", false, 0, 0},  // 0x33
    {34, u"Period of Tariff Second(s)", false, 0, 0},  // 0x34
    {34, u"Period of Tariff Minute(s)", false, 0, 0},  // 0x35
    {34, u"Period of Tariff Hour(s)", false, 0, 0},  // 0x36
    {34, u"Period of Tariff Day(s)", false, 0, 0},  // 0x37
    {35, u"Period of Tariff Month(s)", false, 0, 0},  // 0x38
    {36, u"Period of Tariff Year(s)", false, 0, 0},  // 0x39
    {37, u"Dimensionless / No VIF", false, 0, 0},  // 0x3A
    {130, u"Data Container for Wireless M-Bus Protocol", false, 0, 0},  // 0x3B
    {131, u"Period of Nominal Data Transmissions Second(s)", false, 0, 0},  // 0x3C
    {131, u"Period of Nominal Data Transmissions Minute(s)", false, 0, 0},  // 0x3D
    {131, u"Period of Nominal Data Transmissions Hour(s)", false, 0, 0},  // 0x3E
    {131, u"Period of Nominal Data Transmissions Day(s)", false, 0, 0},  // 0x3F
    {38, u"Electric Units Volts", true, 15, -9},  // 0x40
    {38, u"Electric Units Volts", true, 15, -9},  // 0x41
    {38, u"Electric Units Volts", true, 15, -9},  // 0x42
    {38, u"Electric Units Volts", true, 15, -9},  // 0x43
    {38, u"Electric Units Volts", true, 15, -9},  // 0x44
    {38, u"Electric Units Volts", true, 15, -9},  // 0x45
    {38, u"Electric Units Volts", true, 15, -9},  // 0x46
    {38, u"Electric Units Volts", true, 15, -9},  // 0x47
    {38, u"Electric Units Volts", true, 15, -9},  // 0x48
    {38, u"Electric Units Volts", true, 15, -9},  // 0x49
    {38, u"Electric Units Volts", true, 15, -9},  // 0x4A
    {38, u"Electric Units Volts", true, 15, -9},  // 0x4B
    {38, u"Electric Units Volts", true, 15, -9},  // 0x4C
    {38, u"Electric Units Volts", true, 15, -9},  // 0x4D
    {38, u"Electric Units Volts", true, 15, -9},  // 0x4E
    {38, u"Electric Units Volts", true, 15, -9},  // 0x4F
    {39, u"Electric Units A", true, 15, -12},  // 0x50
    {39, u"Electric Units A", true, 15, -12},  // 0x51
    {39, u"Electric Units A", true, 15, -12},  // 0x52
    {39, u"Electric Units A", true, 15, -12},  // 0x53
    {39, u"Electric Units A", true, 15, -12},  // 0x54
    {39, u"Electric Units A", true, 15, -12},  // 0x55
    {39, u"Electric Units A", true, 15, -12},  // 0x56
    {39, u"Electric Units A", true, 15, -12},  // 0x57
    {39, u"Electric Units A", true, 15, -12},  // 0x58
    {39, u"Electric Units A", true, 15, -12},  // 0x59
    {39, u"Electric Units A", true, 15, -12},  // 0x5A
    {39, u"Electric Units A", true, 15, -12},  // 0x5B
    {39, u"Electric Units A", true, 15, -12},  // 0x5C
    {39, u"Electric Units A", true, 15, -12},  // 0x5D
    {39, u"Electric Units A", true, 15, -12},  // 0x5E
    {39, u"Electric Units A", true, 15, -12},  // 0x5F
    {40, u"Reset Counter", false, 0, 0},  // 0x60
    {41, u"Cumulation Counter", false, 0, 0},  // 0x61
    {42, u"Control Signal", false, 0, 0},  // 0x62
    {43, u"Day of Week", false, 0, 0},  // 0x63
    {44, u"Week Number", false, 0, 0},  // 0x64
    {45, u"Time Point of Day Change", false, 0, 0},  // 0x65
    {46, u"State of Parameter Activation", false, 0, 0},  // 0x66
    {47, u"Special Supplier Information", false, 0, 0},  // 0x67
    {48, u"Duration Since Last Cumulation Hour(s)", false, 0, 0},  // 0x68
    {48, u"Duration Since Last Cumulation Day(s)", false, 0, 0},  // 0x69
    {48, u"Duration Since Last Cumulation Month(s)", false, 0, 0},  // 0x6A
    {48, u"Duration Since Last Cumulation Year(s)", false, 0, 0},  // 0x6B
    {49, u"Operating Time Battery Hour(s)", false, 0, 0},  // 0x6C
    {49, u"Operating Time Battery Day(s)", false, 0, 0},  // 0x6D
    {49, u"Operating Time Battery Month(s)", false, 0, 0},  // 0x6E
    {49, u"Operating Time Battery Year(s)", false, 0, 0},  // 0x6F
    {50, u"Date and Time of Battery Change", false, 0, 0},  // 0x70
    {132, u"RF Level Units: dBm", false, 0, 0},  // 0x71
    {133, u"Daylight Savings (Beginning, Ending, Deviation) Data Type K", false, 0, 0},  // 0x72
    {134, u"Listening Window Management Data Type L", false, 0, 0},  // 0x73
    {135, u"Remaining Battery Life Time (Days)", false, 0, 0},  // 0x74
    {136, u"Number Times the Meter Was Stopped", false, 0, 0},  // 0x75
    {-1, u"Reserved", false, 0, 0},  // 0x76
    {-1, u"Reserved", false, 0, 0},  // 0x77
    {-1, u"Reserved", false, 0, 0},  // 0x78
    {-1, u"Reserved", false, 0, 0},  // 0x79
    {-1, u"Reserved", false, 0, 0},  // 0x7A
    {-1, u"Reserved", false, 0, 0},  // 0x7B
    {-1, u"Reserved", false, 0, 0},  // 0x7C
    {-1, u"Reserved", false, 0, 0},  // 0x7D
    {-1, u"Reserved", false, 0, 0},  // 0x7E
    {-1, u"Reserved", false, 0, 0},  // 0x7F
};

const TVifCode Extension_FB[128] = {
    {51, u"Energy MWh", true, 1, -1},  // 0x00
    {51, u"Energy MWh", true, 1, -1},  // 0x01
    {137, u"Reactive Energy kVARh", true, 1, 0},  // 0x02
    {137, u"Reactive Energy kVARh", true, 1, 0},  // 0x03
    {138, u"Apparent Energy kVAh", true, 1, 0},  // 0x04
    {138, u"Apparent Energy kVAh", true, 1, 0},  // 0x05
    {-1, u"Reserved", false, 0, 0},  // 0x06
    {-1, u"Reserved", false, 0, 0},  // 0x07
    {52, u"Energy GJ", true, 1, -1},  // 0x08
    {52, u"Energy GJ", true, 1, -1},  // 0x09
    {-1, u"Reserved", false, 0, 0},  // 0x0A
    {-1, u"Reserved", false, 0, 0},  // 0x0B
    {139, u"Energy MCal", true, 3, -1},  // 0x0C
    {139, u"Energy MCal", true, 3, -1},  // 0x0D
    {139, u"Energy MCal", true, 3, -1},  // 0x0E
    {139, u"Energy MCal", true, 3, -1},  // 0x0F
    {53, u"Volume m3", true, 1, 2},  // 0x10
    {53, u"Volume m3", true, 1, 2},  // 0x11
    {-1, u"Reserved", false, 0, 0},  // 0x12
    {-1, u"Reserved", false, 0, 0},  // 0x13
    {140, u"Reactive Power kVAR", true, 3, -3},  // 0x14
    {140, u"Reactive Power kVAR", true, 3, -3},  // 0x15
    {140, u"Reactive Power kVAR", true, 3, -3},  // 0x16
    {140, u"Reactive Power kVAR", true, 3, -3},  // 0x17
    {54, u"Volume t", true, 1, 2},  // 0x18
    {54, u"Volume t", true, 1, 2},  // 0x19
    {141, u"Relative Humidity %", true, 1, -1},  // 0x1A
    {141, u"Relative Humidity %", true, 1, -1},  // 0x1B
    {-1, u"Reserved", false, 0, 0},  // 0x1C
    {-1, u"Reserved", false, 0, 0},  // 0x1D
    {-1, u"Reserved", false, 0, 0},  // 0x1E
    {-1, u"Reserved", false, 0, 0},  // 0x1F
    {142, u"Volume Feet 3", false, 0, 0},  // 0x20
    {55, u"Volume 0,1 Feet 3", false, 0, 0},  // 0x21
    {56, u"Volume 0,1 American Gallon", false, 0, 0},  // 0x22
    {57, u"Volume 1 American Gallon", false, 0, 0},  // 0x23
    {58, u"Volume Flow 0,001 American Gallon/min", false, 0, 0},  // 0x24
    {59, u"Volume Flow 1 American Gallon/min", false, 0, 0},  // 0x25
    {60, u"Volume Flow 1 American Gallon/h", false, 0, 0},  // 0x26
    {-1, u"Reserved", false, 0, 0},  // 0x27
    {61, u"Power MW", true, 1, -1},  // 0x28
    {61, u"Power MW", true, 1, -1},  // 0x29
    {143, u"Phase U-U (Volt. to Volt.)", false, 0, 0},  // 0x2A
    {144, u"Phase U-I (Volt. to Current)", false, 0, 0},  // 0x2B
    {145, u"Frequency Hz", true, 3, -3},  // 0x2C
    {145, u"Frequency Hz", true, 3, -3},  // 0x2D
    {145, u"Frequency Hz", true, 3, -3},  // 0x2E
    {145, u"Frequency Hz", true, 3, -3},  // 0x2F
    {62, u"Power GJ/h", true, 1, -1},  // 0x30
    {62, u"Power GJ/h", true, 1, -1},  // 0x31
    {-1, u"Reserved", false, 0, 0},  // 0x32
    {-1, u"Reserved", false, 0, 0},  // 0x33
    {146, u"Apparent Power kVA", true, 3, -3},  // 0x34
    {146, u"Apparent Power kVA", true, 3, -3},  // 0x35
    {146, u"Apparent Power kVA", true, 3, -3},  // 0x36
    {146, u"Apparent Power kVA", true, 3, -3},  // 0x37
    {-1, u"Reserved", false, 0, 0},  // 0x38
    {-1, u"Reserved", false, 0, 0},  // 0x39
    {-1, u"Reserved", false, 0, 0},  // 0x3A
    {-1, u"Reserved", false, 0, 0},  // 0x3B
    {-1, u"Reserved", false, 0, 0},  // 0x3C
    {-1, u"Reserved", false, 0, 0},  // 0x3D
    {-1, u"Reserved", false, 0, 0},  // 0x3E
    {-1, u"Reserved", false, 0, 0},  // 0x3F
    {-1, u"Reserved", false, 0, 0},  // 0x40
    {-1, u"Reserved", false, 0, 0},  // 0x41
    {-1, u"Reserved", false, 0, 0},  // 0x42
    {-1, u"Reserved", false, 0, 0},  // 0x43
    {-1, u"Reserved", false, 0, 0},  // 0x44
    {-1, u"Reserved", false, 0, 0},  // 0x45
    {-1, u"Reserved", false, 0, 0},  // 0x46
    {-1, u"Reserved", false, 0, 0},  // 0x47
    {-1, u"Reserved", false, 0, 0},  // 0x48
    {-1, u"Reserved", false, 0, 0},  // 0x49
    {-1, u"Reserved", false, 0, 0},  // 0x4A
    {-1, u"Reserved", false, 0, 0},  // 0x4B
    {-1, u"Reserved", false, 0, 0},  // 0x4C
    {-1, u"Reserved", false, 0, 0},  // 0x4D
    {-1, u"Reserved", false, 0, 0},  // 0x4E
    {-1, u"Reserved", false, 0, 0},  // 0x4F
    {-1, u"Reserved", false, 0, 0},  // 0x50
    {-1, u"Reserved", false, 0, 0},  // 0x51
    {-1, u"Reserved", false, 0, 0},  // 0x52
    {-1, u"Reserved", false, 0, 0},  // 0x53
    {-1, u"Reserved", false, 0, 0},  // 0x54
    {-1, u"Reserved", false, 0, 0},  // 0x55
    {-1, u"Reserved", false, 0, 0},  // 0x56
    {-1, u"Reserved", false, 0, 0},  // 0x57
    {63, u"Flow Temperature °F", true, 3, -3},  // 0x58
    {63, u"Flow Temperature °F", true, 3, -3},  // 0x59
    {63, u"Flow Temperature °F", true, 3, -3},  // 0x5A
    {63, u"Flow Temperature °F", true, 3, -3},  // 0x5B
    {64, u"Return Temperature °F", true, 3, -3},  // 0x5C
    {64, u"Return Temperature °F", true, 3, -3},  // 0x5D
    {64, u"Return Temperature °F", true, 3, -3},  // 0x5E
    {64, u"Return Temperature °F", true, 3, -3},  // 0x5F
    {65, u"Temperature Difference °F", true, 3, -3},  // 0x60
    {65, u"Temperature Difference °F", true, 3, -3},  // 0x61
    {65, u"Temperature Difference °F", true, 3, -3},  // 0x62
    {65, u"Temperature Difference °F", true, 3, -3},  // 0x63
    {66, u"External Temperature °F", true, 3, -3},  // 0x64
    {66, u"External Temperature °F", true, 3, -3},  // 0x65
    {66, u"External Temperature °F", true, 3, -3},  // 0x66
    {66, u"External Temperature °F", true, 3, -3},  // 0x67
    {-1, u"Reserved", false, 0, 0},  // 0x68
    {-1, u"Reserved", false, 0, 0},  // 0x69
    {-1, u"Reserved", false, 0, 0},  // 0x6A
    {-1, u"Reserved", false, 0, 0},  // 0x6B
    {-1, u"Reserved", false, 0, 0},  // 0x6C
    {-1, u"Reserved", false, 0, 0},  // 0x6D
    {-1, u"Reserved", false, 0, 0},  // 0x6E
    {-1, u"Reserved", false, 0, 0},  // 0x6F
    {67, u"Cold / Warm Temperature Limit °F", true, 3, -3},  // 0x70
    {67, u"Cold / Warm Temperature Limit °F", true, 3, -3},  // 0x71
    {67, u"Cold / Warm Temperature Limit °F", true, 3, -3},  // 0x72
    {67, u"Cold / Warm Temperature Limit °F", true, 3, -3},  // 0x73
    {68, u"Cold / Warm Temperature Limit °C", true, 3, -3},  // 0x74
    {68, u"Cold / Warm Temperature Limit °C", true, 3, -3},  // 0x75
    {68, u"Cold / Warm Temperature Limit °C", true, 3, -3},  // 0x76
    {68, u"Cold / Warm Temperature Limit °C", true, 3, -3},  // 0x77
    {69, u"Cum. Max. of Active Power W", true, 7, -3},  // 0x78
    {69, u"Cum. Max. of Active Power W", true, 7, -3},  // 0x79
    {69, u"Cum. Max. of Active Power W", true, 7, -3},  // 0x7A
    {69, u"Cum. Max. of Active Power W", true, 7, -3},  // 0x7B
    {69, u"Cum. Max. of Active Power W", true, 7, -3},  // 0x7C
    {69, u"Cum. Max. of Active Power W", true, 7, -3},  // 0x7D
    {69, u"Cum. Max. of Active Power W", true, 7, -3},  // 0x7E
    {69, u"Cum. Max. of Active Power W", true, 7, -3},  // 0x7F
};

const TVifCode Combinable_VIFE[128] = {
    {108, u" - None", false, 0, 0},  // 0x00
    {109, u" - Too Many DIFEs", false, 0, 0},  // 0x01
    {110, u" - Storage Number not Implemented", false, 0, 0},  // 0x02
    {111, u" - Unit Number not Implemented", false, 0, 0},  // 0x03
    {112, u" - Tariff Number not Implemented", false, 0, 0},  // 0x04
    {113, u" - Function not Implemented", false, 0, 0},  // 0x05
    {114, u" - Data Class not Implemented", false, 0, 0},  // 0x06
    {115, u" - Data Size not Implemented", false, 0, 0},  // 0x07
    {-1, u" - Reserved", false, 0, 0},  // 0x08
    {-1, u" - Reserved", false, 0, 0},  // 0x09
    {-1, u" - Reserved", false, 0, 0},  // 0x0A
    {116, u" - Too Many VIFEs", false, 0, 0},  // 0x0B
    {117, u" - Illegal VIF-Group", false, 0, 0},  // 0x0C
    {118, u" - Illegal VIF-Exponent", false, 0, 0},  // 0x0D
    {119, u" - VIF / DIF Mismatch", false, 0, 0},  // 0x0E
    {120, u" - Unimplemented Action", false, 0, 0},  // 0x0F
    {-1, u" - Reserved", false, 0, 0},  // 0x10
    {-1, u" - Reserved", false, 0, 0},  // 0x11
    {-1, u" - Reserved", false, 0, 0},  // 0x12
    {-1, u" - Reserved", false, 0, 0},  // 0x13
    {-1, u" - Reserved", false, 0, 0},  // 0x14
    {121, u" - No Data Available (Undefined Value)", false, 0, 0},  // 0x15
    {122, u" - Data Overflow", false, 0, 0},  // 0x16
    {123, u" - Data Underflow", false, 0, 0},  // 0x17
    {124, u" - Data Error", false, 0, 0},  // 0x18
    {-1, u" - Reserved", false, 0, 0},  // 0x19
    {-1, u" - Reserved", false, 0, 0},  // 0x1A
    {-1, u" - Reserved", false, 0, 0},  // 0x1B
    {125, u" - Premature End of Record", false, 0, 0},  // 0x1C
    {-1, u" - Reserved", false, 0, 0},  // 0x1D
    {-1, u" - Reserved", false, 0, 0},  // 0x1E
    {-1, u" - Reserved", false, 0, 0},  // 0x1F
    {70, u" - Per Second", false, 0, 0},  // 0x20
    {71, u" - Per Minute", false, 0, 0},  // 0x21
    {72, u" - Per Hour", false, 0, 0},  // 0x22
    {73, u" - Per Day", false, 0, 0},  // 0x23
    {74, u" - Per Week", false, 0, 0},  // 0x24
    {75, u" - Per Month", false, 0, 0},  // 0x25
    {76, u" - Per Year", false, 0, 0},  // 0x26
    {77, u" - Per Revolution / Measurement", false, 0, 0},  // 0x27
    {78, u" - Increment per Input Pulse on Input Channel 0", false, 0, 0},  // 0x28
    {78, u" - Increment per Input Pulse on Input Channel 1", false, 0, 0},  // 0x29
    {79, u" - Increment per Output Pulse on Output Channel 0", false, 0, 0},  // 0x2A
    {79, u" - Increment per Output Pulse on Output Channel 1", false, 0, 0},  // 0x2B
    {80, u" - Per Liter", false, 0, 0},  // 0x2C
    {81, u" - Per m3", false, 0, 0},  // 0x2D
    {82, u" - Per kg", false, 0, 0},  // 0x2E
    {83, u" - Per K (Kelvin)", false, 0, 0},  // 0x2F
    {84, u" - Per kWh", false, 0, 0},  // 0x30
    {85, u" - Per GJ", false, 0, 0},  // 0x31
    {86, u" - Per kW", false, 0, 0},  // 0x32
    {87, u" - Per (K*l)(Kelvin * Litre)", false, 0, 0},  // 0x33
    {88, u" - Per V (Volt)", false, 0, 0},  // 0x34
    {89, u" - Per (A) (Ampere)", false, 0, 0},  // 0x35
    {90, u" - Multiplied by s", false, 0, 0},  // 0x36
    {91, u" - Multiplied by s / V", false, 0, 0},  // 0x37
    {92, u" - Multiplied by s / A", false, 0, 0},  // 0x38
    {93, u" - Start Date (/Time) of", false, 0, 0},  // 0x39
    {94, u" - VIF Contains Uncorrect Unit or Value at Metering Conditions Instead of Converted Unit", false, 0, 0},  // 0x3A
    {95, u" - Accumulation Only if Positive Contributions (Forward Flow Contribution)", false, 0, 0},  // 0x3B
    {96, u" - Accumulation of abs Value Only if Negative Contributions (Backward Flow)", false, 0, 0},  // 0x3C
    {147, u" - Reserved for Alternate non-metric Unit System (according to Annex C)", false, 0, 0},  // 0x3D
    {148, u" - Value at Base Conditions", false, 0, 0},  // 0x3E
    {-1, u" - Reserved", false, 0, 0},  // 0x3F
    {97, u" - Lower Limit Value", false, 0, 0},  // 0x40
    {98, u" - # of Exceeds of Lower Limit", false, 0, 0},  // 0x41
    {99, u" - Date(/Time) of Begin of First Lower Limit Exceed", false, 0, 0},  // 0x42
    {99, u" - Date(/Time) of End of First Lower Limit Exceed", false, 0, 0},  // 0x43
    {-1, u" - Reserved", false, 0, 0},  // 0x44
    {-1, u" - Reserved", false, 0, 0},  // 0x45
    {99, u" - Date(/Time) of Begin of Last Lower Limit Exceed", false, 0, 0},  // 0x46
    {99, u" - Date(/Time) of End of Last Lower Limit Exceed", false, 0, 0},  // 0x47
    {97, u" - Upper Limit Value", false, 0, 0},  // 0x48
    {98, u" - # of Exceeds of Upper Limit", false, 0, 0},  // 0x49
    {99, u" - Date(/Time) of Begin of First Upper Limit Exceed", false, 0, 0},  // 0x4A
    {99, u" - Date(/Time) of End of First Upper Limit Exceed", false, 0, 0},  // 0x4B
    {-1, u" - Reserved", false, 0, 0},  // 0x4C
    {-1, u" - Reserved", false, 0, 0},  // 0x4D
    {99, u" - Date(/Time) of Begin of Last Upper Limit Exceed", false, 0, 0},  // 0x4E
    {99, u" - Date(/Time) of End of Last Upper Limit Exceed", false, 0, 0},  // 0x4F
    {100, u" - Duration 00 of First Lower Limit Exceed", false, 0, 0},  // 0x50
    {100, u" - Duration 01 of First Lower Limit Exceed", false, 0, 0},  // 0x51
    {100, u" - Duration 02 of First Lower Limit Exceed", false, 0, 0},  // 0x52
    {100, u" - Duration 03 of First Lower Limit Exceed", false, 0, 0},  // 0x53
    {100, u" - Duration 00 of Last Lower Limit Exceed", false, 0, 0},  // 0x54
    {100, u" - Duration 01 of Last Lower Limit Exceed", false, 0, 0},  // 0x55
    {100, u" - Duration 02 of Last Lower Limit Exceed", false, 0, 0},  // 0x56
    {100, u" - Duration 03 of Last Lower Limit Exceed", false, 0, 0},  // 0x57
    {100, u" - Duration 00 of First Upper Limit Exceed", false, 0, 0},  // 0x58
    {100, u" - Duration 01 of First Upper Limit Exceed", false, 0, 0},  // 0x59
    {100, u" - Duration 02 of First Upper Limit Exceed", false, 0, 0},  // 0x5A
    {100, u" - Duration 03 of First Upper Limit Exceed", false, 0, 0},  // 0x5B
    {100, u" - Duration 00 of Last Upper Limit Exceed", false, 0, 0},  // 0x5C
    {100, u" - Duration 01 of Last Upper Limit Exceed", false, 0, 0},  // 0x5D
    {100, u" - Duration 02 of Last Upper Limit Exceed", false, 0, 0},  // 0x5E
    {100, u" - Duration 03 of Last Upper Limit Exceed", false, 0, 0},  // 0x5F
    {101, u" - Duration 00 of First", false, 0, 0},  // 0x60
    {101, u" - Duration 01 of First", false, 0, 0},  // 0x61
    {101, u" - Duration 02 of First", false, 0, 0},  // 0x62
    {101, u" - Duration 03 of First", false, 0, 0},  // 0x63
    {101, u" - Duration 00 of Last", false, 0, 0},  // 0x64
    {101, u" - Duration 01 of Last", false, 0, 0},  // 0x65
    {101, u" - Duration 02 of Last", false, 0, 0},  // 0x66
    {101, u" - Duration 03 of Last", false, 0, 0},  // 0x67
    {149, u" - Value During Lower Limit Exceed", false, 0, 0},  // 0x68
    {150, u" - Leakage Values", false, 0, 0},  // 0x69
    {102, u" - Date(/Time) of Begin of First", false, 0, 0},  // 0x6A
    {102, u" - Date(/Time) of End of First", false, 0, 0},  // 0x6B
    {149, u" - Value During Upper Limit Exceed", false, 0, 0},  // 0x6C
    {151, u" - Overflow Values", false, 0, 0},  // 0x6D
    {102, u" - Date(/Time) of Begin of Last", false, 0, 0},  // 0x6E
    {102, u" - Date(/Time) of End of Last", false, 0, 0},  // 0x6F
    {103, u" - Moltiplicative Correction Factor: 10^(-6)", true, 7, -6},  // 0x70
    {103, u" - Moltiplicative Correction Factor: 10^(-5)", true, 7, -6},  // 0x71
    {103, u" - Moltiplicative Correction Factor: 10^(-4)", true, 7, -6},  // 0x72
    {103, u" - Moltiplicative Correction Factor: 10^(-3)", true, 7, -6},  // 0x73
    {103, u" - Moltiplicative Correction Factor: 10^(-2)", true, 7, -6},  // 0x74
    {103, u" - Moltiplicative Correction Factor: 10^(-1)", true, 7, -6},  // 0x75
    {103, u" - Moltiplicative Correction Factor: 10^(0)", true, 7, -6},  // 0x76
    {103, u" - Moltiplicative Correction Factor: 10^(1)", true, 7, -6},  // 0x77
    {104, u" - Additive Correction Constant: 10^(-3) * Unit of VIF", true, 3, -3},  // 0x78
    {104, u" - Additive Correction Constant: 10^(-2) * Unit of VIF", true, 3, -3},  // 0x79
    {104, u" - Additive Correction Constant: 10^(-1) * Unit of VIF", true, 3, -3},  // 0x7A
    {104, u" - Additive Correction Constant: 10^(0) * Unit of VIF", true, 3, -3},  // 0x7B
    {-1, u"", false, 0, 0},  // 0x7C
    {105, u" - Multiplicative Cerrection Factor: 10^(3)", true, 0, 3},  // 0x7D
    {106, u" - Future Value", false, 0, 0},  // 0x7E
    {107, u" - Next VIFEs and Data of This Block Are Manufacturer Specific", false, 0, 0},  // 0x7F
};

}  // namespace vif_tables
