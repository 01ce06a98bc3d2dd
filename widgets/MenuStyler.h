#pragma once

#include "CustomMenuStyler.h"

namespace tarvane {

// The styler placed on windows; everything lives in TCustomMenuStyler.
class TMenuStyler : public TCustomMenuStyler {
    Q_OBJECT
public:
    explicit TMenuStyler(QObject* parent = nullptr)
        : TCustomMenuStyler(parent)
    {
    }
};

} // namespace tarvane
