#include "UNewIDNode.h"

TFNewIDNode* FNewIDNode = nullptr;

TFNewIDNode::TFNewIDNode(plat::TComponent* owner) : TDialogForm(owner, u"New ID Node", {1200, 1200}, 331, 162)
{
    FNewIDNode = this;
    Set_Lang();
}

TFNewIDNode::~TFNewIDNode()
{
    if (FNewIDNode == this) FNewIDNode = nullptr;
}
