#include "addin/frm_about.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "addin/product_info.h"
#include "addin/product_picture.h"
#include "platform/shell.h"
#include "window/twips.h"

namespace trawlex::addin {

namespace {

constexpr int kClientWidthTwips = 5775;
constexpr int kClientHeightTwips = 1320;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename Control>
Control* Placed(Control* control, const char* objectName, int left, int top, int width,
                int height) {
    control->setObjectName(QString::fromLatin1(objectName));
    control->setGeometry(window::TwipsRect(*control->parentWidget(), left, top, width, height));
    return control;
}

QPixmap PictureOf(const host::Bitmap& bitmap) {
    const QImage image(bitmap.rgb.data(), bitmap.width, bitmap.height, bitmap.width * 3,
                       QImage::Format_RGB888);
    return QPixmap::fromImage(image.copy());
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(Text("ﾊﾞｰｼﾞｮﾝ情報"));

    picIcon = Placed(new QLabel(this), "picIcon", 0, 0, 1650, 1260);
    picIcon->setPixmap(PictureOf(ProductPicture()));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTitle = Placed(new QLabel(Text("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"), this), "lblTitle", 1800, 0, 3885, 360);
    lblVersion = Placed(new QLabel(Text("ﾊﾞｰｼﾞｮﾝ"), this), "lblVersion", 1800, 360, 3885, 345);
    cmdGoHP = Placed(new QPushButton(Text("Trawlex Plus のﾎｰﾑﾍﾟｰｼﾞ"), this), "cmdGoHP", 1680, 840,
                     2505, 345);
    cmdOK = Placed(new QPushButton(Text("OK"), this), "cmdOK", 4320, 840, 1335, 345);
    cmdGoHP->setDefault(true);
    connect(cmdGoHP, &QPushButton::clicked, this, &frmAbout::cmdGoHP_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    setFixedSize(window::TwipsToPixelsX(*this, kClientWidthTwips),
                 window::TwipsToPixelsY(*this, kClientHeightTwips));
    Form_Load();
    cmdGoHP->setFocus();
}

void frmAbout::Form_Load() {
    setWindowTitle(QString::fromUtf8(kTitle) + Text("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(Text("ﾊﾞｰｼﾞｮﾝ ") + QString::fromStdString(DisplayVersion()));
    lblTitle->setText(QString::fromUtf8(kTitle));
}

void frmAbout::cmdGoHP_Click() {
    // A browser that does not start is not reported; the dialog stays open.
    (void)platform::ShellExecuteOpen(kSupportPageUrl);
}

void frmAbout::cmdOK_Click() {
    close();
}

}  // namespace trawlex::addin
