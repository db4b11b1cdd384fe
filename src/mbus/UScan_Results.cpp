#include "UScan_Results.h"

#include <mutex>

TVariable_MBus::TVariable_MBus() = default;

namespace {

void Free_Vars(plat::TList& list)
{
    for (int i = list.Count() - 1; i >= 0; --i) {
        delete static_cast<TVariable_MBus*>(list.Items(i));
        list.Delete(i);
    }
}

std::recursive_mutex& Results_Lock()
{
    static std::recursive_mutex lock;
    return lock;
}

} // namespace

TSlave_MBus::~TSlave_MBus() { Free_Vars(List_Var); }

TSlave_wMBus::~TSlave_wMBus() { Cancel_Var(); }

void TSlave_wMBus::Cancel_Var() { Free_Vars(List_Var); }

void Clear_List_Slave_MBus(plat::TList& List)
{
    for (int i = List.Count() - 1; i >= 0; --i) {
        delete static_cast<TSlave_MBus*>(List.Items(i));
        List.Delete(i);
    }
}

void Clear_List_Slave_wMBus(plat::TList& List)
{
    for (int i = List.Count() - 1; i >= 0; --i) {
        delete static_cast<TSlave_wMBus*>(List.Items(i));
        List.Delete(i);
    }
}

TSlave_wMBus* Find_Slave_wMBus(const plat::TList& List, std::uint16_t Manufacturer, std::int32_t Address,
                               std::uint8_t Version, std::uint8_t DeviceType)
{
    for (int i = 0; i < List.Count(); ++i) {
        auto* s = static_cast<TSlave_wMBus*>(List.Items(i));
        if (s->ALA_Manufacturer == Manufacturer && s->ALA_Address == Address && s->ALA_Version == Version &&
            s->ALA_DeviceType == DeviceType)
            return s;
    }
    return nullptr;
}

TScanResultsGuard::TScanResultsGuard() { Results_Lock().lock(); }

TScanResultsGuard::~TScanResultsGuard() { Results_Lock().unlock(); }
