#include "window/control_layout.h"

#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "window/twips.h"

namespace trawlex::window {

namespace {

// A push button's caption with its frame and margins; the style's size hint would also
// add a minimum button width that has nothing to do with the caption.
int ButtonCaptionWidth(const QPushButton& button) {
    const QFontMetrics metrics(button.font());
    int text = 0;
    for (QString line : button.text().split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char('&'));
        text = std::max(text, metrics.horizontalAdvance(line));
    }
    const QStyle* style = button.style();
    return text + 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) +
           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
}

// The width the control's caption or items need.
int NeededWidth(const QWidget& control) {
    if (auto* button = qobject_cast<const QPushButton*>(&control)) {
        return ButtonCaptionWidth(*button);
    }
    return std::max(control.sizeHint().width(), control.minimumSizeHint().width());
}

// Our substitutes come first; any the platform had stay after them.
void Substitute(const char* family, const QStringList& substitutes) {
    const QString name = QString::fromLatin1(family);
    const QStringList present = QFont::substitutes(name);
    const auto lower = [](QStringList names) {
        for (QString& n : names) n = n.toLower();
        return names;
    };
    if (lower(present.mid(0, substitutes.size())) == lower(substitutes)) return;
    QFont::removeSubstitutions(name);
    QFont::insertSubstitutions(name, substitutes);
    QFont::insertSubstitutions(name, present);
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
