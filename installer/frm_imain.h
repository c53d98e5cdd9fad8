#pragma once
// frmIMain: the splash. The product name, the tagline and "Plus" are each drawn twice, in
// colour and in black 60 twips to the right and down as a shadow; "Plus" shows at the first
// tick of Timer1 (1.5 s), the decision falls at the third (4.5 s).

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdint>

namespace trawlex::installer {

class InstallerFlow;

class FrmIMain : public QWidget {
    Q_OBJECT

  public:
    explicit FrmIMain(InstallerFlow& flow);

    int tickCount() const { return TickCount; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Timer1_Timer();
    // A coloured label over its black shadow; returns the coloured one.
    QLabel* AddShadowedText(const QString& name, const QString& text, const QFont& font,
                            const QColor& colour, const QPoint& at);

    InstallerFlow& flow_;
    QTimer* Timer1;
    QLabel* lblPlus = nullptr;
    QLabel* lblPlusShadow = nullptr;
    std::int16_t TickCount = 0;
};

}  // namespace trawlex::installer
