// The track bar: a hosted toolkit slider whose value is the control's Position.
#include <algorithm>

#include <QObject>
#include <QSlider>

#include "plat/ComCtrls.h"
#include "ui/UiNative.h"

namespace plat {

struct HostedSlider : QObject {
    QSlider* slider = nullptr;
    bool updating = false;
};

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner), host_(std::make_unique<HostedSlider>())
{
    SetTabStop(true);
    QWidget* parent = Native() ? Native()->widget : nullptr;
    host_->slider = new QSlider(Qt::Horizontal, parent);
    host_->slider->setFocusPolicy(Qt::NoFocus);
    host_->slider->setTickPosition(QSlider::TicksBelow);
    QObject::connect(host_->slider, &QSlider::valueChanged, host_.get(), [this](int v) {
        if (!host_->updating) SetPosition(v);
    });
    host_->slider->show();
    ApplyRange();
    SetBounds(0, 0, 150, 45);
}

TTrackBar::~TTrackBar()
{
    if (host_ && host_->slider) {
        QObject::disconnect(host_->slider, nullptr, host_.get(), nullptr);
        if (Native() && Native()->widget) delete host_->slider;
    }
}

void TTrackBar::ApplyRange()
{
    QSlider* s = host_->slider;
    if (!s) return;
    host_->updating = true;
    s->setRange(min_, max_);
    s->setPageStep(pageSize_);
    s->setSingleStep(lineSize_);
    s->setTickInterval(frequency_);
    s->setTickPosition(frequency_ > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
    s->setValue(position_);
    host_->updating = false;
}

void TTrackBar::SetMin(int Value)
{
    if (Value == min_) return;
    min_ = Value;
    if (max_ < min_) max_ = min_;
    ApplyRange();
    SetPosition(position_);
}

void TTrackBar::SetMax(int Value)
{
    if (Value == max_) return;
    max_ = Value;
    if (min_ > max_) min_ = max_;
    ApplyRange();
    SetPosition(position_);
}

void TTrackBar::SetPosition(int Value)
{
    Value = std::clamp(Value, min_, max_);
    if (Value == position_) {
        if (host_->slider && host_->slider->value() != Value) ApplyRange();
        return;
    }
    position_ = Value;
    ApplyRange();
    Changed();
}

void TTrackBar::SetPageSize(int Value)
{
    pageSize_ = Value;
    ApplyRange();
}

void TTrackBar::SetFrequency(int Value)
{
    frequency_ = Value;
    ApplyRange();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value)
{
    orientation_ = Value;
    if (host_->slider) host_->slider->setOrientation(Value == trHorizontal ? Qt::Horizontal : Qt::Vertical);
}

void TTrackBar::Changed()
{
    if (OnChange) OnChange(this);
}

void TTrackBar::BoundsChanged()
{
    TWinControl::BoundsChanged();
    if (!host_->slider) return;
    const TRect r = ClientAreaInWindow();
    host_->slider->setGeometry(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
}

void TTrackBar::DefaultHandler(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    if (Message.Msg == WM_KEYDOWN) {
        switch (Message.WParam) {
        case VK_LEFT:
        case VK_UP: SetPosition(position_ - lineSize_); return;
        case VK_RIGHT:
        case VK_DOWN: SetPosition(position_ + lineSize_); return;
        case VK_PRIOR: SetPosition(position_ - pageSize_); return;
        case VK_NEXT: SetPosition(position_ + pageSize_); return;
        case VK_HOME: SetPosition(min_); return;
        case VK_END: SetPosition(max_); return;
        default: break;
        }
    }
    TWinControl::DefaultHandler(Message);
}

} // namespace plat
