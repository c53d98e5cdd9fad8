#include "installer/installer_look.h"

#include <QApplication>
#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace trawlex::installer {

void MakeFixedDialog(QWidget* window, const QString& caption, int width, int height) {
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window->setWindowTitle(caption);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kLightBlue);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setFixedSize(width, height);
}

void MapDesignFonts() {
    if (!QFont::substitutes("MS Mincho").isEmpty()) return;
    QFont::insertSubstitutions("MS Mincho", {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP",
                                             "IPAGothic", "Noto Sans CJK JP"});
    QFont::insertSubstitutions(
        "MS Serif", {"DejaVu Serif", "Liberation Serif", "Nimbus Roman", "Noto Serif", "serif"});
}

QFont DesignFont(const QString& family, int pointSize, bool bold) {
    QFont font(family, pointSize, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::Serif);
    return font;
}

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

int TwipsToPixels(const QWidget* widget, int twips) {
    return twips * widget->logicalDpiX() / 1440;
}

}  // namespace trawlex::installer
