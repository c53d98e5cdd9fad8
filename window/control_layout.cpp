#include "window/control_layout.h"

#include <QComboBox>
#include <QFont>
#include <algorithm>

#include "window/twips.h"

namespace trawlex::window {

namespace {

// The width the control's caption or items need.
int NeededWidth(const QWidget& control) {
    return std::max(control.sizeHint().width(), control.minimumSizeHint().width());
}

void Substitute(const char* family, const QStringList& substitutes) {
    const QString name = QString::fromLatin1(family);
    if (QFont::substitutes(name).isEmpty()) QFont::insertSubstitutions(name, substitutes);
}

}  // namespace

void Place(QWidget& control, const QWidget& window, const TwipsBox& box) {
    control.setGeometry(TwipsRect(window, box.left, box.top, box.width, box.height));
}

void PlaceCaptioned(QWidget& control, const QWidget& window, const TwipsBox& box) {
    Place(control, window, box);
    if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
    const int needed = NeededWidth(control);
    if (needed > control.width()) control.resize(needed, control.height());
}

bool CaptionFits(const QWidget& control) {
    return control.width() >= NeededWidth(control);
}

void InstallDesignFontSubstitutes() {
    Substitute("MS UI Gothic", {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP")});
    Substitute("MS PGothic", {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                              QStringLiteral("Noto Sans CJK JP")});
    Substitute("MS Mincho", {QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho"),
                             QStringLiteral("Noto Serif CJK JP")});
}

QFont DesignFont() {
    InstallDesignFontSubstitutes();
    return QFont(QStringLiteral("MS UI Gothic"), 9);
}

}  // namespace trawlex::window
