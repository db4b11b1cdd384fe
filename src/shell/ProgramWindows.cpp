#include "ProgramWindows.h"

#include "UAbout.h"
#include "UBACnetAccess.h"
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_Eng_Unit.h"
#include "UBoot.h"
#include "UDALI_Access.h"
#include "UDMXDefVal.h"
#include "UDNet.h"
#include "UDefOffset.h"
#include "UImportEDEFile.h"
#include "UInsertKeyWireless.h"
#include "UKNXAccess.h"
#include "UMQTT_SetAccess_Eth.h"
#include "UMQTT_Set_Access.h"
#include "UMQTT_Set_Topic.h"
#include "UMeter_Bus.h"
#include "UModbusStartAdd_SD.h"
#include "UModbus_TCP_Master_Set_Access.h"
#include "UNewIDNode.h"
#include "UNew_Project.h"
#include "UOpenConf.h"
#include "UParGen.h"
#include "UProfinetFileName.h"
#include "UReceiveCAN.h"
#include "UReceiveJ1939.h"
#include "UReceiveNMEA.h"
#include "USNMPManagerAccess.h"
#include "USNMP_Trap_Access.h"
#include "UScanDecode.h"
#include "UScanModbusStart.h"
#include "USetAccess.h"
#include "USet_PDO_Access.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"
#include "USoftOptions.h"
#include "UTopicTemplate.h"
#include "UTralvexeFirmWare.h"
#include "UTransmitCAN.h"
#include "UTransmitJ1939.h"
#include "UTransmitNMEA.h"
#include "plat/Forms.h"

using plat::Application;

void Create_Program_Windows()
{
    Application->CreateForm(ZEVorezudaReruDure);
    Application->CreateForm(FParGen);
    Application->CreateForm(FNew_Project);
    Application->CreateForm(FOpenConf);
    Application->CreateForm(FAbout);
    Application->CreateForm(FSoftOptions);
    Application->CreateForm(FMQTT_Set_Topic);
    Application->CreateForm(FMeter_Bus);
    Application->CreateForm(FNewIDNode);
    Application->CreateForm(FBoot);
    Application->CreateForm(FSetAccess);
    Application->CreateForm(FMQTT_Set_Access);
    Application->CreateForm(FMQTT_SetAccess_Eth);
    Application->CreateForm(FTopicTemplate);
    Application->CreateForm(FModbus_TCP_Master_Set_Access);
    Application->CreateForm(FReceiveCAN);
    Application->CreateForm(FTransmitCAN);
    Application->CreateForm(FSet_PDO_Access);
    Application->CreateForm(FSet_SDO_Client_Access);
    Application->CreateForm(FSet_SDO_Server_Access);
    Application->CreateForm(FReceiveJ1939);
    Application->CreateForm(FTransmitJ1939);
    Application->CreateForm(FDNet);
    Application->CreateForm(FDefOffset);
    Application->CreateForm(FScanDecode);
    Application->CreateForm(FInsertKeyWireless);
    Application->CreateForm(FScanModbusStart);
    Application->CreateForm(FModbusStartAdd_SD);
    Application->CreateForm(FProfinetFileName);
    Application->CreateForm(FReceiveNMEA);
    Application->CreateForm(FTransmitNMEA);
    Application->CreateForm(FDMXDefVal);
    Application->CreateForm(FKNXAccess);
    Application->CreateForm(FSNMP_Trap_Access);
    Application->CreateForm(FSNMPManagerAccess);
    Application->CreateForm(FBACnetSlaveSetAccess);
    Application->CreateForm(FBACnet_Eng_Unit);
    Application->CreateForm(FDALI_Access);
    Application->CreateForm(FBACnetAccess);
    Application->CreateForm(FImportEDEFile);
}

void Free_Program_Windows()
{
    // Each window clears its own pointer as it goes.
    for (int i = Application->FormCount() - 1; i >= 0; --i) delete Application->Forms(i);
}
