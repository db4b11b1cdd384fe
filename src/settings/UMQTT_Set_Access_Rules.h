#pragma once
// The MQTT access rules of MQTT_Set_Access.xml apart from their window: the file columns
// (the same for both tables), the topic links and the validation.
//
// Tables are TCellRows by real column (URuleFiles.h): 8 columns, 1024 rows each. A rule
// names its topic by its index in the publish or subscribe table of MQTT_Set_Topic.xml.
#include <vector>

#include "URuleFiles.h"

namespace mqttaccess {

constexpr int Rows = 1024;
constexpr int Cols = 8;
constexpr int Col_Topic = 2;
constexpr int Data_Size = 1440;  // bytes of the data array a rule may reach

extern const TTable_Layout Pub_Layout;  // MQTT_Publish
extern const TTable_Layout Sub_Layout;  // MQTT_Subscribe
extern const std::vector<int> Check_Cols;

// Index of the first entry equal to the text (exact, case-sensitive), -1 when none.
int Topic_from_String_to_Index(const std::vector<plat::String>& topics, const plat::String& text);
// The entry at the index; empty when there is none.
plat::String Topic_from_Index_to_String(const std::vector<plat::String>& topics, int index);

// Validation, publish table then subscribe table. A row counts as enabled when its Enable
// cell upper-cased is "Y". An enabled row with an empty Topic ends its table when nothing
// else is filled in; with other cells filled (a rule whose topic no longer resolves) it fails.
// Empty when the rules may be saved, else the message of the first failing check.
plat::String Check_Rules(const TCellRows& pub, const TCellRows& sub);

} // namespace mqttaccess
