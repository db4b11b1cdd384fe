#include "UTopicTemplate.h"

TFTopicTemplate* FTopicTemplate = nullptr;

TFTopicTemplate::TFTopicTemplate(plat::TComponent* owner)
    : TDialogForm(owner, u"Set Topic", {1700, 1702, 1707, 1708}, 635, 396)
{
    FTopicTemplate = this;
    Set_Lang();
}

TFTopicTemplate::~TFTopicTemplate()
{
    if (FTopicTemplate == this) FTopicTemplate = nullptr;
}
