#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;

namespace kdx {

class CaptionLabel;
class OptionGroup;
class TickTimer;
class TraceSurface;

// The controls of one parameter row, P0..P7.
struct ParamRow {
    QLabel *label;
    QLineEdit *current;  // current value, as the controller reported it
    QLineEdit *newValue; // the value to send
    QScrollBar *scroll;  // dials the new value
    QPushButton *read;   // hidden single read
    QPushButton *test;
    QPushButton *save;
};

// The terminal's one window. It owns every control, shown or hidden, under
// the names the operations use; the operations keep their state in these
// controls. Places and sizes are laid out in twips, 15 to a pixel.
class Form1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kClientWidthTwips = 14730;
    static constexpr int kClientHeightTwips = 9315;

    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    ParamRow row(int n) const;

    enum class Pointer { Default, Hourglass };
    void setMousePointer(Pointer pointer);
    Pointer mousePointer() const;

    // The help panel and the port panel of the status bar.
    QLabel *helpPanel() const { return StatusPanel2; }
    QLabel *portPanel() const { return StatusPanel1; }

    static int twips(int value) { return (value + kTwipsPerPixel / 2) / kTwipsPerPixel; }

    // clang-format off
    // Frames
    QGroupBox *Frame1, *Frame2, *Frame3, *Frame4;

    // Parameter rows
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5, *Text6, *Text7, *Text8;
    QLineEdit *Text10, *Text11, *Text12, *Text13, *Text14, *Text15, *Text16, *Text17;
    QScrollBar *HScroll3, *HScroll4, *HScroll5, *HScroll6, *HScroll7, *HScroll8, *HScroll9, *HScroll10;
    QPushButton *Command4, *Command5, *Command6, *Command7, *Command8, *Command9, *Command10, *Command11;
    QPushButton *Command1, *Command13, *Command14, *Command15, *Command16, *Command17, *Command18, *Command19;
    QPushButton *Command12, *Command2, *Command21, *Command22, *Command23, *Command24, *Command25, *Command26;

    // The rest of the parameter frame
    QLabel *Label15, *Label27, *Label16;
    QPushButton *Command3, *Command27, *Command20, *AutoTuning, *cmdIdotAd, *Command35;
    QCheckBox *Check1;
    QScrollBar *HScroll12, *HScroll1;
    QLabel *Label23, *Label10;
    CaptionLabel *Label22;
    QLineEdit *txtelkuld, *Text18, *Text19, *Text21, *Text22, *Text23;

    // Motor test
    QPushButton *Command31, *Command32, *Command33, *Command34;
    QLabel *Label9, *Label14, *Label26, *Label11, *Label24, *Label28;
    CaptionLabel *Label13;
    QScrollBar *HScroll2, *HScroll11;
    QRadioButton *Option1, *Option2, *Option3;
    QCheckBox *Check3;
    QLineEdit *Text9, *txtEncoder;

    // Position-error monitor
    TraceSurface *Picture1;
    QFrame *Line1;
    QLabel *Label17, *Label18, *Label19, *Label20, *Label21, *Label25;
    QComboBox *Combo1, *Combo2;
    QCheckBox *Check2;
    QLineEdit *Text20, *Text24;
    QPushButton *Command28, *Command41, *Command42, *Command39;
    QScrollBar *HScrollsebesseg;
    QProgressBar *Hibajel;

    // Stored parameter sets
    QListWidget *List1;
    QPushButton *Command36, *Command30, *Command29, *Command40, *Command37, *Command38;

    // Status bar
    QStatusBar *StatusBar1;
    QLabel *StatusPanel1, *StatusPanel2, *StatusPicture;

    // Non-visual parts
    TickTimer *Timer1, *Timer2;
    OptionGroup *Options; // Option1, Option2 and Option3
    // clang-format on

    static const char *const kCaption;
    static const char *const kGeneralHint;
    static const char *const kPortPanelFormat;

signals:
    // The window has been shown for the first time (after it is painted).
    void firstShown();
    // The operator asked to close the window.
    void closeRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildParameterFrame();
    void buildMotorFrame();
    void buildMonitorFrame();
    void buildFileFrame();
    void buildStatusBar();

    bool m_shown = false;
};

} // namespace kdx
