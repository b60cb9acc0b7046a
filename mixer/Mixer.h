#pragma once

#include "app/api/MixerApi.h"
#include "skins/SkinnedWindow.h"

// The mixer window: channel faders, crossfader and automatic transitions.
class TMixer : public skins::SkinnedWindow, public MixerApi {
    Q_OBJECT
public:
    TMixer();
    void AutoFadeToA() override {}
    void AutoFadeToB() override {}
};
