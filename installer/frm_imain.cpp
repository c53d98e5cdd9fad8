#include "installer/frm_imain.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include "installer/installer_flow.h"
#include "installer/installer_look.h"
#include "installer/installer_texts.h"
#include "installer/title_picture.h"

namespace trawlex::installer {

namespace {

constexpr int kShadowTwips = 60;
const QColor kNameColour{0x10, 0x40, 0xA0};
const QColor kPlusColour{0xD0, 0x30, 0x20};
const QColor kTaglineColour{0x20, 0x70, 0x70};

}  // namespace

FrmIMain::FrmIMain(InstallerFlow& flow) : flow_(flow), Timer1(new QTimer(this)) {
    setObjectName("frmIMain");
    auto* imgTitle = new QLabel(this);
    imgTitle->setObjectName("imgTitle");
    imgTitle->setPixmap(DrawTitlePicture(112));
    imgTitle->setGeometry(24, 28, 112, 112);

    QLabel* title = AddShadowedText("lblTitle", "Trawlex", DesignFont("MS Mincho", 40, true),
                                    kNameColour, {150, 30});
    // "Plus" follows the name, on its base line.
    const QFont plusFont = DesignFont("MS Mincho", 24, true);
    const int plusHeight = QFontMetrics(plusFont).height();
    lblPlus = AddShadowedText(
        "lblPlus", "Plus", plusFont, kPlusColour,
        {title->geometry().right() + 10, title->geometry().bottom() - plusHeight - 4});
    lblPlusShadow = findChild<QLabel*>("lblPlusShadow");
    lblPlus->hide();
    lblPlusShadow->hide();
    QFont tagline = DesignFont("MS Serif", 18, true);
    tagline.setItalic(true);
    AddShadowedText("lblTagline", "Increase Your efficiency", tagline, kTaglineColour, {156, 106});

    MakeFixedDialog(this, QString::fromUtf8(kSplashCaption), 500, 180);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(flow_.settings().splashTickMs);
    connect(Timer1, &QTimer::timeout, this, &FrmIMain::Timer1_Timer);
}

QLabel* FrmIMain::AddShadowedText(const QString& name, const QString& text, const QFont& font,
                                  const QColor& colour, const QPoint& at) {
    const int offset = TwipsToPixels(this, kShadowTwips);
    auto* shadow = new QLabel(text, this);
    shadow->setObjectName(name + "Shadow");
    shadow->setFont(font);
    shadow->setStyleSheet("color: black; background: transparent;");
    shadow->adjustSize();
    shadow->move(at + QPoint(offset, offset));
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setFont(font);
    label->setStyleSheet(QString("color: %1; background: transparent;").arg(colour.name()));
    label->adjustSize();
    label->move(at);
    return label;
}

void FrmIMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    if (!Timer1->isActive()) Timer1->start();
}

void FrmIMain::Timer1_Timer() {
    switch (TickCount) {
        case 0:
            lblPlusShadow->show();
            lblPlus->show();
            TickCount = 1;
            break;
        case 1:
            TickCount = 2;
            break;
        default:
            Timer1->stop();
            flow_.LeaveSplash();
            break;
    }
}

// Closing the splash before its decision ends the program, as nothing would follow it.
void FrmIMain::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    event->accept();
    flow_.EndProgram();
}

}  // namespace trawlex::installer
