#pragma once

#include "TColor.h"

#include <QWidget>

namespace tarvane {

// A control without a window of its own that paints itself over its parent. It is born
// loading: property writes made while its window is built store their values and paint
// nothing until Loaded() is called.
class TBaseGraphicControl : public QWidget {
    Q_OBJECT
public:
    explicit TBaseGraphicControl(QWidget* parent = nullptr);

    QString Version() const;

    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    // Called once all properties are set; from then on changes repaint.
    virtual void Loaded();
    bool IsLoading() const { return m_loading; }

protected:
    // Repaints immediately, unless the control is still loading.
    virtual void RepaintNow();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void FontChanged();
    // The desktop colours changed: system colours resolve differently now.
    virtual void SysColorChanged();

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool m_loading = true;
    TColor m_color = clBtnFace;
};

} // namespace tarvane
