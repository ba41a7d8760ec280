#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <map>

#include "res/DialogTemplate.h"

class QWidget;

namespace framework {

// Converts dialog units to pixels from a font's average character width
// and height, as dialog layouts always have, so proportions hold with any
// font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    QRect ToPixels(int x, int y, int cx, int cy) const;
    QSize ToPixels(int cx, int cy) const;

private:
    int baseX_;
    int baseY_;
};

// The widgets built from one template on a parent, found by control id.
class TemplateWidgets {
public:
    // Builds every control of the template on the parent and sizes the
    // parent to the template.
    void Build(QWidget* parent, const res::DialogTemplate& dialogTemplate);
    QWidget* Item(int id) const;
    bool Built() const { return built_; }

private:
    std::map<int, QWidget*> items_;
    bool built_ = false;
};

// The font a template names, at its point size.
QFont TemplateFont(const res::DialogTemplate& dialogTemplate);

}  // namespace framework
