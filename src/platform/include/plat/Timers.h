#pragma once
// TTimer on the layer's scheduler (the same one as window timers). Enabling or changing the
// interval restarts the count; enabling an enabled timer changes nothing. The test clock
// drives the scheduler, so tests advance time instead of waiting.
#include <cstdint>

#include "plat/Classes.h"

namespace plat {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    String ClassName() const override { return u"TTimer"; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return interval_; }  // milliseconds; 0 never fires
    void SetInterval(unsigned Value);
    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    friend struct TimerAccess;
    void Restart();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    std::uint64_t slot_ = 0;  // scheduler entry, 0 = none
};

} // namespace plat
