#pragma once

#include "CustomTabStrip.h"

namespace tarvane {

// The tab strip placed on windows; everything lives in TCustomTabStrip.
class TTabStrip : public TCustomTabStrip {
    Q_OBJECT
public:
    explicit TTabStrip(QWidget* parent = nullptr)
        : TCustomTabStrip(parent)
    {
    }
};

} // namespace tarvane
