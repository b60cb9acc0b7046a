#pragma once

#include "skins/SkinnedWindow.h"

// The mixer window: channel faders, crossfader and automatic transitions.
class TMixer : public skins::SkinnedWindow {
    Q_OBJECT
public:
    TMixer();
};
